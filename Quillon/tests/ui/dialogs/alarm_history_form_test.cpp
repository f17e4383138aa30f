// The alarm history dialog with a history owned by the test: what is shown
// and when, what clearing asks of the owner, and the bytes of a saved file.
#include "alarm_history_form.h"

#include <QFile>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <optional>

#include "recording_questions.h"

namespace quillon {
namespace {

// History lines with their tabs, the position padding shortened.
const QString kRed = "\tRed Alarm   \t    1234\tcounts\t\t   December 6, 2026  at 19:00:02";
const QString kGreen = "\tGreen Level \t     -17\tmicrons\t\t   December 6, 2026  at 19:00:01";

class AlarmHistoryTest : public ::testing::Test {
 protected:
  // The saved bytes, or nothing when no file was written.
  std::optional<QByteArray> SaveAs(const QString& name) {
    questions.fileName = name.isEmpty() ? name : dir.filePath(name);
    ClickButton(form, "SaveButton");
    QFile file(questions.fileName);
    if (name.isEmpty() || !file.open(QIODevice::ReadOnly)) return std::nullopt;
    return file.readAll();
  }

  QTemporaryDir dir;
  QStringList history{kRed, kGreen};
  RecordingQuestions questions;
  TAlarmHistoryForm form{questions, {[this] { return history; }, [this] { history.clear(); }}};
  QPlainTextEdit* memo = Child<QPlainTextEdit>(form, "AlarmHistoryMemo");
};

// A copy of the history, renewed by Refresh and emptied with the owner's by
// Clear; saved as the lines shown, each ended by CR LF, and never written on
// a cancelled save; a file that cannot be written is named in the message.
// Close, Escape and the close box only hide the dialog.
TEST_F(AlarmHistoryTest, ShowsRefreshesClearsSavesAndHides) {
  form.show();
  EXPECT_EQ(form.focusWidget(), memo);
  history.prepend(kGreen);
  EXPECT_EQ(memo->toPlainText(), kRed + "\n" + kGreen);
  EXPECT_EQ(SaveAs("log.alm"), (kRed + "\r\n" + kGreen + "\r\n").toUtf8());
  ClickButton(form, "RefreshButton");
  EXPECT_EQ(memo->toPlainText(), kGreen + "\n" + kRed + "\n" + kGreen);
  ClickButton(form, "ClearHistoryButton");
  EXPECT_EQ(memo->toPlainText(), "");
  EXPECT_TRUE(history.isEmpty());
  EXPECT_EQ(SaveAs("log.alm"), QByteArray()) << "an empty history replaces the file";
  EXPECT_EQ(SaveAs(""), std::nullopt);
  EXPECT_EQ(SaveAs("missing/log.alm"), std::nullopt);
  EXPECT_TRUE(questions.FirstText().contains(dir.filePath("missing/log.alm")));
  EXPECT_EQ(questions.fileQuestions.value(0).defaultExtension, "alm");
  history = {kRed};
  for (Dismissal how : kDismissals) {
    Dismiss(form, how, "Close");
    EXPECT_FALSE(form.isVisible());
    form.show();
  }
  EXPECT_EQ(history, QStringList{kRed}) << "leaving does not clear";
}

}  // namespace
}  // namespace quillon
