// The general radio-choice dialog: the caller gives the caption, the items,
// the preselected item and a warning, and gets the chosen item back on OK.
#pragma once

#include <QDialog>
#include <QStringList>
#include <optional>

class QLabel;
class QPushButton;

namespace quillon {

class RadioGroup;

struct RadioQuestion {
  QString caption{};
  QStringList items{};
  int selected = -1;
  QString warning{};
};

class TRadioDialog : public QDialog {
  Q_OBJECT

 public:
  explicit TRadioDialog(QWidget* parent = nullptr);

  // Fills the dialog from `question`, undoing whatever the last use left.
  void Prepare(const RadioQuestion& question);
  // Prepares and shows the dialog modally: the selected item (-1 for none)
  // on OK, nothing on Cancel.
  std::optional<int> Ask(const RadioQuestion& question);

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  RadioGroup* RadioGroup1;
  QLabel* warning;
  QPushButton* OKBtn;
  QPushButton* CancelBtn;
};

}  // namespace quillon
