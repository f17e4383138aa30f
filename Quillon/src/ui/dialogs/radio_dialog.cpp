#include "radio_dialog.h"

#include <QLabel>
#include <QPushButton>

#include "dialog_frame.h"
#include "radio_group.h"

namespace quillon {

TRadioDialog::TRadioDialog(QWidget* parent)
    : QDialog(parent),
      RadioGroup1(new RadioGroup({}, this)),
      warning(new QLabel(this)),
      OKBtn(new QPushButton("OK", this)),
      CancelBtn(new QPushButton("Cancel", this)) {
  setObjectName("RadioDialog");
  ApplyDialogFrame(*this, {.clientSize = QSize(408, 283), .stayOnTop = true, .closeButton = false});

  RadioGroup1->setObjectName("RadioGroup1");
  RadioGroup1->setGeometry(8, 8, 392, 172);
  warning->setObjectName("warning");
  warning->setGeometry(8, 186, 392, 50);
  warning->setAlignment(Qt::AlignCenter);
  warning->setWordWrap(true);

  OKBtn->setObjectName("OKBtn");
  OKBtn->setGeometry(118, 246, 80, 27);
  OKBtn->setDefault(true);
  connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
  CancelBtn->setObjectName("CancelBtn");
  CancelBtn->setGeometry(210, 246, 80, 27);
  connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

void TRadioDialog::Prepare(const RadioQuestion& question) {
  setWindowTitle(question.caption);
  RadioGroup1->SetItems(question.items);
  RadioGroup1->SetItemIndex(question.selected);
  warning->setText(question.warning);
}

std::optional<int> TRadioDialog::Ask(const RadioQuestion& question) {
  Prepare(question);
  if (exec() != QDialog::Accepted) return std::nullopt;
  return RadioGroup1->ItemIndex();
}

void TRadioDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  CentreOnScreen(*this);
  RadioGroup1->FocusChoice();
}

}  // namespace quillon
