#include "questions.h"

#include <QAbstractButton>
#include <QPushButton>
#include <QApplication>
#include <QMap>
#include <QMessageBox>

namespace quillon {
namespace {

QMessageBox::Icon IconOf(QuestionKind kind) {
  switch (kind) {
    case QuestionKind::Warning: return QMessageBox::Warning;
    case QuestionKind::Confirmation: return QMessageBox::Question;
    case QuestionKind::Error: return QMessageBox::Critical;
    case QuestionKind::Information: break;
  }
  return QMessageBox::Information;
}

struct ButtonText {
  const char* caption;
  QMessageBox::ButtonRole role;
};

ButtonText ButtonFor(Answer answer) {
  switch (answer) {
    case Answer::Ok: return {"OK", QMessageBox::AcceptRole};
    case Answer::Cancel: return {"Cancel", QMessageBox::RejectRole};
    case Answer::Yes: return {"&Yes", QMessageBox::YesRole};
    case Answer::No: return {"&No", QMessageBox::NoRole};
    case Answer::All: return {"&All", QMessageBox::AcceptRole};
    case Answer::Retry: return {"&Retry", QMessageBox::AcceptRole};
    case Answer::Ignore: return {"&Ignore", QMessageBox::AcceptRole};
    case Answer::Help: return {"&Help", QMessageBox::ActionRole};
    case Answer::None: break;
  }
  return {"", QMessageBox::InvalidRole};
}

}  // namespace

Answer AskUntilAnswered(Questions& questions, const Question& question) {
  for (;;) {
    const Answer answer = questions.Ask(question);
    if (question.answers.contains(answer)) return answer;
  }
}

Answer MessageBoxQuestions::Ask(const Question& question) {
  QMessageBox box(IconOf(question.kind), QApplication::applicationDisplayName(), question.text,
                  QMessageBox::NoButton, parent_);
  QMap<QAbstractButton*, Answer> answers;
  for (Answer answer : question.answers) {
    const ButtonText text = ButtonFor(answer);
    QAbstractButton* button = box.addButton(QString::fromLatin1(text.caption), text.role);
    answers.insert(button, answer);
  }
  box.exec();
  return answers.value(box.clickedButton(), Answer::None);
}

}  // namespace quillon
