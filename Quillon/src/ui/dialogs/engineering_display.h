// The service window of the register survey: the 30 register texts of each
// pass in read-only boxes, and one raw register write once writes are
// enabled. It never talks to the electronics; the owner carries out the
// write it asks for.
#pragma once

#include <QDialog>
#include <QList>
#include <QStringList>
#include <cstdint>

class QLineEdit;
class QPushButton;

namespace quillon {

class Questions;

class TEngineeringDisplay : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kEntryCount = 30;

  explicit TEngineeringDisplay(Questions& questions, QWidget* parent = nullptr);

  // One pass of the survey, in the order the survey delivers it; boxes
  // beyond a short list keep their texts.
  void ShowRegisterPass(const QStringList& texts);
  void SetWritesEnabled(bool enabled);
  bool WritesEnabled() const;
  uint32_t WriteWord() const { return writeWord_; }

 signals:
  // The main menus are to be locked while the window is up.
  void Opened();
  // Closed by the close box or Escape: the owner returns to the previous
  // view and unlocks the menus.
  void Closed();
  // A checked word: register number with its write bit, then 16 data bits.
  void WriteRequested(uint32_t word);

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void writedatabuttonClick();

  Questions& questions_;
  QList<QLineEdit*> boxes_;
  QLineEdit* writedatabox;
  QPushButton* writedatabutton;
  uint32_t writeWord_ = 0;
};

}  // namespace quillon
