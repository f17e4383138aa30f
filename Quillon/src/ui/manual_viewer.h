// The program's own window for the user manual, for desktops that cannot
// show a page themselves. It stays open beside the main window.
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
