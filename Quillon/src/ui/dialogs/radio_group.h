// A titled group of radio buttons addressed by item index, as the dialogs and
// the plot pages use it: the owner replaces the items and reads or sets the
// selected index; -1 means nothing is selected.
#pragma once

#include <QGroupBox>
#include <QStringList>

class QButtonGroup;
class QVBoxLayout;

namespace quillon {

class RadioGroup : public QGroupBox {
  Q_OBJECT

 public:
  explicit RadioGroup(const QString& title = {}, QWidget* parent = nullptr);

  // Replaces the items; afterwards nothing is selected.
  void SetItems(const QStringList& items);
  QStringList Items() const;
  void SetItemIndex(int index);
  int ItemIndex() const;
  // Gives the keyboard focus to the selected item, or to the first one.
  void FocusChoice();

 signals:
  // The user clicked item `index`.
  void Clicked(int index);

 private:
  QButtonGroup* buttons_;
  QVBoxLayout* layout_;
};

}  // namespace quillon
