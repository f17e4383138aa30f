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
                             }}) {}

  void Show() {
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
  }
  void Click(const char* name) {
    QTest::mouseClick(Child<QPushButton>(form, name), Qt::LeftButton);
  }
  QString Memo() { return Child<QPlainTextEdit>(form, "AlarmHistoryMemo")->toPlainText(); }
  void SaveAs(const QString& name) {
    questions.fileName = name;
    Click("SaveButton");
  }
  QByteArray Saved() {
    QFile file(questions.fileName);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << questions.fileName.toStdString();
    return file.readAll();
  }

  QTemporaryDir dir;
  QStringList history{kRed, kGreen};
  int clears = 0;
  RecordingQuestions questions;
  TAlarmHistoryForm form;
};

TEST_F(AlarmHistoryTest, ShowsTheHistoryAndTakesTheFocus) {
  Show();
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
  Show();
  history.prepend("not refreshed");
  SaveAs(dir.filePath("log.alm"));
  EXPECT_EQ(Saved(), (kRed + "\r\n" + kGreen + "\r\n").toUtf8());
  ASSERT_EQ(questions.fileQuestions.size(), 1);
  const FileQuestion& asked = questions.fileQuestions[0];
  EXPECT_EQ(asked.kind, FileDialogKind::Save);
  EXPECT_EQ(asked.defaultExtension, "alm");
  EXPECT_EQ(asked.filter, "Veritrak Alarm History (*.alm)|*.alm|All Files (*.*)|*.*");
  EXPECT_TRUE(questions.asked.isEmpty());
}

TEST_F(AlarmHistoryTest, AnEmptyHistoryReplacesAFileWithNothing) {
  ASSERT_TRUE(dir.isValid());
  QFile old(dir.filePath("log.alm"));
  ASSERT_TRUE(old.open(QIODevice::WriteOnly));
  old.write("older lines\r\n");
  old.close();
  history.clear();
  Show();
  SaveAs(old.fileName());
  EXPECT_EQ(Saved(), QByteArray());
}

TEST_F(AlarmHistoryTest, ACancelledSaveWritesNothing) {
  ASSERT_TRUE(dir.isValid());
  Show();
  SaveAs(QString());
  EXPECT_EQ(questions.fileQuestions.size(), 1);
  EXPECT_TRUE(QDir(dir.path()).isEmpty());
  EXPECT_TRUE(questions.asked.isEmpty());
}

TEST_F(AlarmHistoryTest, AFileThatCannotBeWrittenIsNamedInTheMessage) {
  ASSERT_TRUE(dir.isValid());
  const QString missing = dir.filePath("missing/log.alm");
  Show();
  SaveAs(missing);
  ASSERT_EQ(questions.asked.size(), 1);
  EXPECT_EQ(questions.asked[0].kind, QuestionKind::Error);
  EXPECT_TRUE(questions.asked[0].text.contains(missing)) << questions.asked[0].text.toStdString();
  EXPECT_EQ(questions.asked[0].answers, QList<Answer>{Answer::Ok});
  EXPECT_EQ(Memo(), kRed + "\n" + kGreen) << "nothing else changes";
  EXPECT_TRUE(form.isVisible());
}

TEST_F(AlarmHistoryTest, CloseAndEscapeHideWithoutClearing) {
  Show();
  Click("Close");
  EXPECT_FALSE(form.isVisible());
  Show();
  QTest::keyClick(Child<QPlainTextEdit>(form, "AlarmHistoryMemo"), Qt::Key_Escape);
  EXPECT_FALSE(form.isVisible());
  EXPECT_EQ(clears, 0);
}

}  // namespace
}  // namespace quillon
