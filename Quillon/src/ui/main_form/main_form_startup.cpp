// Construction, activation and shutdown of the main window.
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QLabel>
#include <QLocale>
#include <QScreen>
#include <QTimer>

#include "about_box.h"
#include "alignment_readout.h"
#include "canvas_widgets.h"
#include "edit_dialog.h"
#include "extra_options.h"
#include "info_form.h"
#include "install_dir.h"
#include "main_form.h"
#include "questions.h"
#include "radio_dialog.h"
#include "report_fields_form.h"
#include "startup.h"
#include "ui_font.h"

namespace quillon {

TMainForm::ScreenInfo TMainForm::PrimaryScreen() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  return {screen->size(), screen->logicalDotsPerInch()};
}

TMainForm::TMainForm(Questions& questions, const ScreenInfo& screen)
    : questions_(questions), screen_(screen) {
  setObjectName(QStringLiteral("MainForm"));
  setFont(SansFont(12, true));
  CreateControls();
  CreateMenus();
  CreateTimers();
  ConnectControls();
  // Every number the program shows or reads uses "." whatever the user's locale.
  QLocale::setDefault(QLocale::c());
  connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState s) {
    if (s == Qt::ApplicationActive) FormActivate();
  });
  InstallDir = ReadInstallDir();
  settingsDir_ = SettingsDir(InstallDir);
  alignmentReadout_ = new AlignmentReadout(surface);
  reportFieldsForm_ = new TReportFieldsForm(this);
  alignmentReadout_->SetTolerances(ReadExtraOptions(settingsDir_).tolerances);
  alignmentReadout_->hide();
  PositionUnits = QStringLiteral("counts");
  VelocityUnits = QStringLiteral("counts/sec");
  TimeUnits = QStringLiteral("seconds");
  ReadSettings();
  ViewState.fill(1);
  ChooseLayoutMode();
  CurrentView = StatusView;
  ShowStatusView();
  IndexMissCount = 0;
  AtIndex = false;
  IndexCentering = false;
  IndexIdle = true;
  OverSignalCount = 0;
  AlarmHistory.clear();
  DemoMode = false;
  UpdateTitle();
  BuildAxisFont();
  if (ReadExtraOptions(settingsDir_).allControls) ShowAllControls();
}

TMainForm::~TMainForm() {
  // The connection waits for its thread, which may still call into the window.
  Connection.reset();
}

void TMainForm::CreateDialogs() {
  AboutBoxForm = new TAboutBoxForm(this);
  RadioDialog = new TRadioDialog(this);
  EditDialogForm = new TEditDialogForm(this);
  InfoForm = new TInfoForm(this);
  CreateEngineeringDisplay();
  CreateSettingsDialogs();
  ConnectFileMenu();
}

void TMainForm::ReadSettings() {
  Persisted = quillon::ReadSettings(settingsDir_);
  ownUnits_.reset();
  UnitsBox->setText(Persisted.DisplayUnits);
}

// Told once: the settings are saved again at every change and at exit.
void TMainForm::WriteSettings() {
  if (quillon::WriteSettings(settingsDir_, SettingsToStore()) || settingsFailureTold_) return;
  settingsFailureTold_ = true;
  AskUntilAnswered(questions_, {QuestionKind::Warning,
                                QStringLiteral("The settings could not be saved in \"%1\". Check "
                                               "that the folder exists and may be written to.")
                                    .arg(QDir::toNativeSeparators(settingsDir_)),
                                {Answer::Ok}});
}

void TMainForm::FormActivate() {
  surface->repaint();
  if (CurrentView >= SignalView && CurrentView <= PositionView) {
    ClearGraph();
    DrawPlotGrid();
  }
}

bool TMainForm::event(QEvent* event) {
  const bool handled = QMainWindow::event(event);
  if (event->type() == QEvent::WindowActivate) FormActivate();
  return handled;
}

void TMainForm::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (event->type() != QEvent::WindowStateChange) return;
  const auto* change = static_cast<QWindowStateChangeEvent*>(event);
  if ((change->oldState() & Qt::WindowMinimized) && !(windowState() & Qt::WindowMinimized))
    FormActivate();
}

// The program ends only through GenTimer, after the threads had time to stop.
void TMainForm::closeEvent(QCloseEvent* event) {
  event->ignore();
  if (Closing) return;
  const Answer answer = AskUntilAnswered(
      questions_, {QuestionKind::Confirmation, QStringLiteral("Close Veritrak II Software? "),
                   {Answer::Yes, Answer::No}});
  if (answer != Answer::Yes) {
    FormActivate();
    return;
  }
  ShutDown();
}

void TMainForm::ShutDown() {
  Closing = true;
  if (!DemoMode && Connection) Connection->RequestStop();
  QApplication::setOverrideCursor(Qt::WaitCursor);
  ShowSplash(QStringLiteral("Veritrak II Software"), QStringLiteral("Shutting Down Program..."));
  GenTimer->start();
}

void TMainForm::GenTimerTimer() {
  GenTimer->stop();
  if (!DemoMode) WriteSettings();
  QApplication::restoreOverrideCursor();
  Persisted.GratingNames.clear();
  AlarmHistory.clear();
  // In demo mode the connection's port is closed and no thread uses it, so
  // it goes too rather than being left behind.
  Connection.reset();
  QCoreApplication::exit(0);
}

}  // namespace quillon
