#include "alarm_history_form.h"

#include <QDir>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

#include "dialog_frame.h"
#include "file_replace.h"
#include "questions.h"
#include "text_scan.h"

namespace quillon {

TAlarmHistoryForm::TAlarmHistoryForm(Questions& questions, AlarmHistoryLinks links, QWidget* parent)
    : QDialog(parent),
      questions_(questions),
      links_(std::move(links)),
      Label1(new QLabel("            Alarm Type                                     Location      "
                        "                                                  Time    ",
                        this)),
      AlarmHistoryMemo(new QPlainTextEdit(this)),
      RefreshButton(new QPushButton("Refresh", this)),
      ClearHistoryButton(new QPushButton("Clear History ", this)),
      SaveButton(new QPushButton("Save to File", this)),
      Close(new QPushButton("Close", this)) {
  setObjectName("TAlarmHistoryForm");
  setWindowTitle("Alarm History Log");
  ApplyDialogFrame(*this, {.clientSize = QSize(590, 439), .stayOnTop = true, .closeButton = false});

  Label1->setObjectName("Label1");
  Label1->setGeometry(8, 8, 574, 18);
  AlarmHistoryMemo->setObjectName("AlarmHistoryMemo");
  AlarmHistoryMemo->setGeometry(8, 30, 574, 350);
  AlarmHistoryMemo->setReadOnly(true);
  AlarmHistoryMemo->setLineWrapMode(QPlainTextEdit::NoWrap);
  AlarmHistoryMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  int left = 40;
  for (auto [button, name] : {std::pair{RefreshButton, "RefreshButton"},
                              std::pair{ClearHistoryButton, "ClearHistoryButton"},
                              std::pair{SaveButton, "SaveButton"}, std::pair{Close, "Close"}}) {
    button->setObjectName(name);
    button->setGeometry(left, 396, 110, 30);
    button->setAutoDefault(false);
    left += 135;
  }

  connect(RefreshButton, &QPushButton::clicked, this, &TAlarmHistoryForm::RefreshButtonClick);
  connect(ClearHistoryButton, &QPushButton::clicked, this,
          &TAlarmHistoryForm::ClearHistoryButtonClick);
  connect(SaveButton, &QPushButton::clicked, this, &TAlarmHistoryForm::SaveButtonClick);
  // Escape reaches QDialog::reject, which hides the dialog as Close does.
  connect(Close, &QPushButton::clicked, this, &QDialog::reject);
}

void TAlarmHistoryForm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  CentreOnScreen(*this);
  RefreshButtonClick();
  AlarmHistoryMemo->setFocus(Qt::OtherFocusReason);
}

void TAlarmHistoryForm::RefreshButtonClick() { ShowLines(links_.history()); }

void TAlarmHistoryForm::ClearHistoryButtonClick() {
  ShowLines({});
  links_.clearHistory();
}

void TAlarmHistoryForm::ShowLines(const QStringList& lines) {
  shown_ = lines;
  AlarmHistoryMemo->setPlainText(lines.join('\n'));
}

void TAlarmHistoryForm::SaveButtonClick() {
  // A title of its own: a data save's title would name the wrong contents.
  const QString path = questions_.AskFileName(
      {FileDialogKind::Save, "Save Alarm History as:",
       "Veritrak Alarm History (*.alm)|*.alm|All Files (*.*)|*.*", "alm"});
  if (path.isEmpty()) return;
  if (!ReplaceFile(path, JoinLines(shown_))) {
    AskUntilAnswered(questions_,
                     {QuestionKind::Error,
                      QString("Cannot create file \"%1\".").arg(QDir::toNativeSeparators(path)),
                      {Answer::Ok}});
  }
}

}  // namespace quillon
