// The program's own window for the user manual, for desktops that cannot
// show a page themselves. It stays open beside the main window, and made
// without a parent it is no part of the main window's family, which a box
// blocks while it waits: the troubleshooting chapter a box's Help opens can
// be read and closed before the box is answered.
#pragma once

#include <QDialog>
#include <QUrl>

class QTextBrowser;

namespace quillon {

class TManualViewer : public QDialog {
  Q_OBJECT
 public:
  explicit TManualViewer(QWidget* parent = nullptr);
  // Shows `page` at its fragment's anchor.
  void Show(const QUrl& page);
  QUrl Source() const;

 private:
  QTextBrowser* browser_;
};

}  // namespace quillon
