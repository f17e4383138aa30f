// The general text-entry dialog: the caller gives the caption, the value to
// edit, a prompt and two warning lines, and gets the edited text back on OK.
#pragma once

#include <QDialog>
#include <QString>
#include <optional>

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

namespace quillon {

// Empty texts stay hidden.
struct TextQuestion {
  QString caption{};
  QString value{};
  QString information{};
  QString warning1{};
  QString warning2{};
};

class TEditDialogForm : public QDialog {
  Q_OBJECT

 public:
  explicit TEditDialogForm(QWidget* parent = nullptr);

  // Fills the dialog from `question`, undoing whatever the last use left.
  void Prepare(const TextQuestion& question);
  // Prepares and shows the dialog modally: the text of the edit box on OK,
  // nothing on Cancel.
  std::optional<QString> Ask(const TextQuestion& question);

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  QLabel* AddCentredText(const char* name, int top);

  QFrame* Bevel1;
  QLabel* Information;
  QLineEdit* EditBox;
  QLabel* StaticText1;
  QLabel* StaticText2;
  QPushButton* OKBtn;
  QPushButton* CancelBtn;
};

}  // namespace quillon
