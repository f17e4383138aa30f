#include "questions.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QFileDialog>
#include <QKeyEvent>
#include <QMap>
#include <QMessageBox>
#include <QPushButton>

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

// Qt takes Escape and the title-bar close for the No button of a box that
// has one; here they answer only a box that offers Cancel or a lone OK, and
// otherwise leave it up until one of its own answers is chosen.
class AnswerBox : public QMessageBox {
 public:
  AnswerBox(const quillon::Question& question, QWidget* parent)
      : QMessageBox(IconOf(question.kind), QString::fromLatin1(kApplicationTitle), question.text,
                    QMessageBox::NoButton, parent),
        escapable_(question.answers.contains(Answer::Cancel) ||
                   question.answers == QList<Answer>{Answer::Ok}) {}

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    if (!escapable_ && event->matches(QKeySequence::Cancel)) return;
    QMessageBox::keyPressEvent(event);
  }
  void closeEvent(QCloseEvent* event) override {
    if (!escapable_) {
      event->ignore();
      return;
    }
    QMessageBox::closeEvent(event);
  }

 private:
  const bool escapable_;
};

}  // namespace

QString QtFileFilter(const QString& filter) {
  const QStringList parts = filter.split(QLatin1Char('|'));
  QStringList entries;
  for (qsizetype i = 0; i < parts.size(); i += 2) {
    const QString& description = parts[i];
    const QString patterns = parts.value(i + 1).replace(QLatin1Char(';'), QLatin1Char(' '));
    if (description.isEmpty() && patterns.isEmpty()) continue;
    // Qt takes the patterns from the parentheses of the entry.
    const QString listed = QStringLiteral("(%1)").arg(patterns);
    entries << (description.contains(listed) ? description
                                             : description + QLatin1Char(' ') + listed);
  }
  return entries.join(QStringLiteral(";;"));
}

Answer AskUntilAnswered(Questions& questions, const Question& question) {
  for (;;) {
    const Answer answer = questions.Ask(question);
    if (question.answers.contains(answer)) return answer;
  }
}

Answer MessageBoxQuestions::Ask(const Question& question) {
  AnswerBox box(question, parent_);
  // Modal to the window it stands over only, so that windows of their own,
  // such as the manual its Help opened, stay usable while it waits.
  if (parent_) box.setWindowModality(Qt::WindowModal);
  QMap<QAbstractButton*, Answer> answers;
  for (Answer answer : question.answers) {
    const ButtonText text = ButtonFor(answer);
    QAbstractButton* button = box.addButton(QString::fromLatin1(text.caption), text.role);
    answers.insert(button, answer);
  }
  box.exec();
  return answers.value(box.clickedButton(), Answer::None);
}

QString MessageBoxQuestions::AskFileName(const FileQuestion& question) {
  QFileDialog dialog(parent_, question.title, QString(), QtFileFilter(question.filter));
  const bool save = question.kind == FileDialogKind::Save;
  // A save dialog confirms before replacing a file unless told otherwise.
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  dialog.setDefaultSuffix(question.defaultExtension);
  if (dialog.exec() != QDialog::Accepted) return {};
  return dialog.selectedFiles().value(0);
}

}  // namespace quillon
