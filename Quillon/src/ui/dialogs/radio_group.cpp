#include "radio_group.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QRadioButton>
#include <QVBoxLayout>

namespace quillon {

RadioGroup::RadioGroup(const QString& title, QWidget* parent)
    : QGroupBox(title, parent), buttons_(new QButtonGroup(this)), layout_(new QVBoxLayout(this)) {
  connect(buttons_, &QButtonGroup::idClicked, this, &RadioGroup::Clicked);
}

void RadioGroup::SetItems(const QStringList& items) {
  for (QAbstractButton* button : buttons_->buttons()) {
    buttons_->removeButton(button);
    delete button;
  }
  for (int i = 0; i < items.size(); ++i) {
    auto* button = new QRadioButton(items[i], this);
    buttons_->addButton(button, i);
    layout_->addWidget(button);
  }
}

QStringList RadioGroup::Items() const {
  QStringList items;
  for (const QAbstractButton* button : buttons_->buttons()) items << button->text();
  return items;
}

void RadioGroup::SetItemIndex(int index) {
  if (QAbstractButton* chosen = buttons_->button(index)) {
    chosen->setChecked(true);
    return;
  }
  // An exclusive group never lets its last checked button go.
  buttons_->setExclusive(false);
  for (QAbstractButton* button : buttons_->buttons()) button->setChecked(false);
  buttons_->setExclusive(true);
}

int RadioGroup::ItemIndex() const { return buttons_->checkedId(); }

void RadioGroup::FocusChoice() {
  QAbstractButton* target = buttons_->checkedButton();
  if (!target && !buttons_->buttons().isEmpty()) target = buttons_->buttons().first();
  if (target) target->setFocus(Qt::OtherFocusReason);
}

}  // namespace quillon
