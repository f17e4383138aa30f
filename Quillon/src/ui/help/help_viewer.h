// Help comes from a help file of the installation directory where one is
// installed, else from the user manual at the chapter that matches: the
// desktop's browser shows it, or the program's own viewer where the desktop
// cannot.
#pragma once

#include <QString>
#include <QUrl>
#include <functional>

namespace quillon {

class Questions;
class TManualViewer;

// Hands a page to the desktop; false when the desktop cannot show it.
using UrlOpener = std::function<bool(const QUrl&)>;

// The desktop's own viewer; a platform without a desktop (offscreen,
// minimal) has none to hand a page to.
bool OpenOnDesktop(const QUrl& url);

// The manual's page: in the installed program's data folder, or, for a
// program run from its build tree, in the sources; empty when neither holds
// it.
QString FindManual();

// The manual's chapters that help opens, by their anchors.
namespace chapter {
inline constexpr char kStatusPage[] = "status-page";
inline constexpr char kEncoderSignal[] = "encoder-signal";
inline constexpr char kSignalStrength[] = "signal-strength";
inline constexpr char kEncoderPosition[] = "encoder-position";
inline constexpr char kEngineering[] = "engineering-display";
inline constexpr char kInstallation[] = "installation";
inline constexpr char kNothingFound[] = "nothing-found";
inline constexpr char kCommunicationFailure[] = "communication-failure";
}  // namespace chapter

struct HelpTopic {
  QString fileName;  // the help file looked for in the installation directory
  QString chapter;   // the manual's anchor that stands in for it
};

// The program's own manual window, made when first needed.
using ViewerSource = std::function<TManualViewer&()>;

// Makes `installDir` the current directory (as the settings files do) and
// opens the topic's help file from it through `open`; without the file, the
// manual at the topic's chapter, through `open` or else in the viewer of
// `viewer`; without either, says which help file is missing.
void ShowHelp(const QString& installDir, const HelpTopic& topic, Questions& questions,
              const UrlOpener& open, const ViewerSource& viewer);

}  // namespace quillon
