// The alarm history: shows a copy of the main window's history lines (newest
// first), clears them and saves the shown lines as an ".alm" text file. The
// history itself stays with its owner, reached through the links below.
#pragma once

#include <QDialog>
#include <QStringList>
#include <functional>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace quillon {

class Questions;

struct AlarmHistoryLinks {
  // The history as it is now, newest first.
  std::function<QStringList()> history;
  // Empties the history, greys the alarm lamps and restarts the alarm
  // counters, so that a lasting alarm is logged again.
  std::function<void()> clearHistory;
};

class TAlarmHistoryForm : public QDialog {
  Q_OBJECT

 public:
  TAlarmHistoryForm(Questions& questions, AlarmHistoryLinks links, QWidget* parent = nullptr);

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void RefreshButtonClick();
  void ClearHistoryButtonClick();
  void SaveButtonClick();
  void ShowLines(const QStringList& lines);

  Questions& questions_;
  AlarmHistoryLinks links_;
  QStringList shown_;

  QLabel* Label1;
  QPlainTextEdit* AlarmHistoryMemo;
  QPushButton* RefreshButton;
  QPushButton* ClearHistoryButton;
  QPushButton* SaveButton;
  QPushButton* Close;
};

}  // namespace quillon
