#include "edit_dialog.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "dialog_frame.h"

namespace quillon {

namespace {

void ShowText(QLabel& label, const QString& text) {
  label.setText(text);
  label.setVisible(!text.isEmpty());
}

}  // namespace

TEditDialogForm::TEditDialogForm(QWidget* parent)
    : QDialog(parent),
      Bevel1(new QFrame(this)),
      Information(AddCentredText("Information", 22)),
      EditBox(new QLineEdit(this)),
      StaticText1(AddCentredText("StaticText1", 100)),
      StaticText2(AddCentredText("StaticText2", 124)),
      OKBtn(new QPushButton("OK", this)),
      CancelBtn(new QPushButton("Cancel", this)) {
  setObjectName("EditDialogForm");
  ApplyDialogFrame(*this, {.clientSize = QSize(378, 214), .stayOnTop = true, .closeButton = false});

  Bevel1->setObjectName("Bevel1");
  Bevel1->setGeometry(8, 8, 362, 156);
  Bevel1->setFrameStyle(QFrame::Box | QFrame::Sunken);
  EditBox->setObjectName("EditBox");
  EditBox->setGeometry(114, 56, 150, 26);

  OKBtn->setObjectName("OKBtn");
  OKBtn->setGeometry(103, 176, 80, 27);
  OKBtn->setDefault(true);
  connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
  CancelBtn->setObjectName("CancelBtn");
  CancelBtn->setGeometry(195, 176, 80, 27);
  connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

QLabel* TEditDialogForm::AddCentredText(const char* name, int top) {
  auto* label = new QLabel(this);
  label->setObjectName(name);
  label->setGeometry(16, top, 346, 20);
  label->setAlignment(Qt::AlignCenter);
  label->hide();
  return label;
}

void TEditDialogForm::Prepare(const TextQuestion& question) {
  setWindowTitle(question.caption);
  EditBox->setText(question.value);
  ShowText(*Information, question.information);
  ShowText(*StaticText1, question.warning1);
  ShowText(*StaticText2, question.warning2);
}

std::optional<QString> TEditDialogForm::Ask(const TextQuestion& question) {
  Prepare(question);
  if (exec() != QDialog::Accepted) return std::nullopt;
  return EditBox->text();
}

void TEditDialogForm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  CentreOnScreen(*this);
  // The old value is selected, so typing replaces it.
  EditBox->setFocus(Qt::OtherFocusReason);
  EditBox->selectAll();
}

}  // namespace quillon
