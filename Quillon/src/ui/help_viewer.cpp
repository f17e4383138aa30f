#include "help_viewer.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

#include "questions.h"

namespace quillon {

void ShowHelp(const QString& installDir, const QString& fileName, Questions& questions) {
  QDir::setCurrent(installDir);
  const QFileInfo file(fileName);
  QString problem;
  if (!file.isFile())
    problem = QStringLiteral("The help file \"%1\" is not installed.");
  else if (!QDesktopServices::openUrl(QUrl::fromLocalFile(file.absoluteFilePath())))
    problem = QStringLiteral("No program of this desktop can show the help file \"%1\".");
  if (problem.isEmpty()) return;
  AskUntilAnswered(questions, {QuestionKind::Information, problem.arg(file.absoluteFilePath()),
                               {Answer::Ok}});
}

}  // namespace quillon
