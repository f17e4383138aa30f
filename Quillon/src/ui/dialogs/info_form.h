// The electronics information window, filled from what the electronics
// report about themselves and shown without blocking the main window.
#pragma once

#include <QDialog>
#include <cstdint>

#include "com_data.h"

class QLabel;
class QPushButton;

namespace quillon {

class TInfoForm : public QDialog {
  Q_OBJECT

 public:
  explicit TInfoForm(QWidget* parent = nullptr);

  // `typeKnown`: the electronics identified themselves as the expected type;
  // otherwise the type line keeps its previous text.
  void Fill(const DeviceInfo& info, int32_t port, uint32_t baud, bool typeKnown);

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  QLabel* AddLabel(const char* name, const QString& text, int top);
  QLabel* AddValueBox(const char* name, int top, bool silver);

  QLabel* ElectronicsTypeLabel;
  QLabel* ControllerVersionBox;
  QLabel* InterpVersionBox;
  QLabel* PowerOnTimeBox;
  QLabel* PowerOnCyclesBox;
  QLabel* ComPort;
  QLabel* BaudRate;
  QPushButton* OkButton;
};

}  // namespace quillon
