// The about box: the program's name and version, its maker, and the version
// of the command library actually loaded.
#pragma once

#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;

namespace quillon {

class TAboutBoxForm : public QDialog {
  Q_OBJECT

 public:
  explicit TAboutBoxForm(QWidget* parent = nullptr);

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  QLabel* AddText(const char* name, const QString& text, QRect geometry);

  QFrame* Panel1;
  QLabel* TheDllVersion;
  QPushButton* OKButton;
};

}  // namespace quillon
