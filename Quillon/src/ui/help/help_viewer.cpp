#include "help_viewer.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>

#include "install_dir.h"
#include "manual_viewer.h"
#include "questions.h"

namespace quillon {
namespace {

const QString kManualPage = QStringLiteral("manual/index.html");

// The sources' manual serves only a program that runs inside its own build
// tree: an installed program keeps to what was installed with it.
QString SourceManual() {
#if defined(QUILLON_SOURCE_DIR) && defined(QUILLON_BUILD_DIR)
  const QString build = QDir(QStringLiteral(QUILLON_BUILD_DIR)).canonicalPath();
  const QString program = QDir(QCoreApplication::applicationDirPath()).canonicalPath();
  if (!build.isEmpty() && (program == build || program.startsWith(build + QLatin1Char('/'))))
    return QDir(QStringLiteral(QUILLON_SOURCE_DIR))
        .filePath(QStringLiteral("Quillon/") + kManualPage);
#endif
  return {};
}

}  // namespace

bool OpenOnDesktop(const QUrl& url) {
  const QString platform = QGuiApplication::platformName();
  if (platform == QLatin1String("offscreen") || platform == QLatin1String("minimal")) return false;
  return QDesktopServices::openUrl(url);
}

QString FindManual() {
  const QString data = InstalledDataDir();
  for (const QString& page :
       {data.isEmpty() ? QString() : QDir(data).filePath(kManualPage), SourceManual()}) {
    if (!page.isEmpty() && QFileInfo(page).isFile()) return QFileInfo(page).absoluteFilePath();
  }
  return {};
}

void ShowHelp(const QString& installDir, const HelpTopic& topic, Questions& questions,
              const UrlOpener& open, const ViewerSource& viewer) {
  QDir::setCurrent(installDir);
  const QFileInfo file(topic.fileName);
  QString problem;
  if (file.isFile()) {
    if (!open(QUrl::fromLocalFile(file.absoluteFilePath())))
      problem = QStringLiteral("No program of this desktop can show the help file \"%1\".");
  } else if (const QString manual = FindManual(); !manual.isEmpty()) {
    QUrl page = QUrl::fromLocalFile(manual);
    page.setFragment(topic.chapter);
    if (open(page)) return;
    viewer().Show(page);
  } else {
    problem = QStringLiteral("The help file \"%1\" is not installed.");
  }
  if (problem.isEmpty()) return;
  AskUntilAnswered(questions,
                   {QuestionKind::Information, problem.arg(file.absoluteFilePath()), {Answer::Ok}});
}

}  // namespace quillon
