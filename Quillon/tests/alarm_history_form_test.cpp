// The alarm history dialog with a history owned by the test: what is shown
// and when, what clearing asks of the owner, and the bytes of a saved file.
#include "alarm_history_form.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "recording_questions.h"

namespace quillon {
namespace {

const QString kRed =
    "\tRed Alarm   \t              1234\tcounts\t\t\t   December 6, 2026  at 19:00:02";
const QString kGreen =
    "\tGreen Level \t               -17\tmicrons\t\t\t   December 6, 2026  at 19:00:01";

class AlarmHistoryTest : public ::testing::Test {
 protected:
  AlarmHistoryTest()
      : form(questions, {.history = [this] { return history; },
                         .clearHistory =
                             [this] {
                               ++clears;
                               history.clear();
                             },
                         .askSaveName =
                             [this](const SaveFileRequest& request) {
                               requests.append(request);
                               return saveName;
                             }}) {}

  void Show() {
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
  }
  void Click(const char* name) {
    QTest::mouseClick(Child<QPushButton>(form, name), Qt::LeftButton);
  }
  QString Memo() { return Child<QPlainTextEdit>(form, "AlarmHistoryMemo")->toPlainText(); }
  QByteArray Saved() {
    QFile file(saveName);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << saveName.toStdString();
    return file.readAll();
  }

  QTemporaryDir dir;
  QStringList history{kRed, kGreen};
  int clears = 0;
  QString saveName;
  QList<SaveFileRequest> requests;
  RecordingQuestions questions;
  TAlarmHistoryForm form;
};

TEST_F(AlarmHistoryTest, ShowsTheHistoryAndTakesTheFocus) {
  Show();
  EXPECT_EQ(form.windowTitle(), "Alarm History Log");
  EXPECT_EQ(Memo(), kRed + "\n" + kGreen);
  EXPECT_TRUE(Child<QPlainTextEdit>(form, "AlarmHistoryMemo")->hasFocus());
}

TEST_F(AlarmHistoryTest, LinesLoggedWhileOpenAppearOnRefresh) {
  Show();
  history.prepend(kGreen);
  EXPECT_EQ(Memo(), kRed + "\n" + kGreen);
  Click("RefreshButton");
  EXPECT_EQ(Memo(), kGreen + "\n" + kRed + "\n" + kGreen);
}

TEST_F(AlarmHistoryTest, ClearEmptiesTheMemoAndTheOwnersHistory) {
  Show();
  Click("ClearHistoryButton");
  EXPECT_EQ(Memo(), "");
  EXPECT_EQ(clears, 1);
  EXPECT_TRUE(history.isEmpty());
}

TEST_F(AlarmHistoryTest, SavesTheShownLinesWithCrLf) {
  ASSERT_TRUE(dir.isValid());
  saveName = dir.filePath("log.alm");
  Show();
  history.prepend("not refreshed");
  Click("SaveButton");
  EXPECT_EQ(Saved(), (kRed + "\r\n" + kGreen + "\r\n").toUtf8());
  ASSERT_EQ(requests.size(), 1);
  EXPECT_EQ(requests[0].defaultSuffix, "alm");
  EXPECT_EQ(requests[0].filter, "Veritrak Alarm History (*.alm);;All Files (*.*)");
  EXPECT_TRUE(questions.asked.isEmpty());
}

TEST_F(AlarmHistoryTest, AnEmptyHistoryReplacesAFileWithNothing) {
  ASSERT_TRUE(dir.isValid());
  saveName = dir.filePath("log.alm");
  QFile old(saveName);
  ASSERT_TRUE(old.open(QIODevice::WriteOnly));
  old.write("older lines\r\n");
  old.close();
  history.clear();
  Show();
  Click("SaveButton");
  EXPECT_EQ(Saved(), QByteArray());
}

TEST_F(AlarmHistoryTest, ACancelledSaveWritesNothing) {
  ASSERT_TRUE(dir.isValid());
  Show();
  Click("SaveButton");
  EXPECT_EQ(requests.size(), 1);
  EXPECT_TRUE(QDir(dir.path()).isEmpty());
  EXPECT_TRUE(questions.asked.isEmpty());
}

TEST_F(AlarmHistoryTest, AFileThatCannotBeWrittenIsNamedInTheMessage) {
  ASSERT_TRUE(dir.isValid());
  saveName = dir.filePath("missing/log.alm");
  Show();
  Click("SaveButton");
  ASSERT_EQ(questions.asked.size(), 1);
  EXPECT_EQ(questions.asked[0].kind, QuestionKind::Error);
  EXPECT_TRUE(questions.asked[0].text.contains(saveName)) << questions.asked[0].text.toStdString();
  EXPECT_EQ(questions.asked[0].answers, QList<Answer>{Answer::Ok});
  EXPECT_EQ(Memo(), kRed + "\n" + kGreen) << "nothing else changes";
  EXPECT_TRUE(form.isVisible());
}

TEST_F(AlarmHistoryTest, CloseHidesTheDialog) {
  Show();
  Click("Close");
  EXPECT_FALSE(form.isVisible());
}

TEST_F(AlarmHistoryTest, EscapeInTheMemoHidesTheDialog) {
  Show();
  QTest::keyClick(Child<QPlainTextEdit>(form, "AlarmHistoryMemo"), Qt::Key_Escape);
  EXPECT_FALSE(form.isVisible());
  EXPECT_EQ(clears, 0);
}

}  // namespace
}  // namespace quillon
