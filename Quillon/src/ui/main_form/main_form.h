// The program's one main window. Its implementation is split by concern:
//   main_form_design.cpp    the controls, menus and timers as designed
//   main_form_startup.cpp   construction, layout mode, activation, shutdown
//   main_form_search.cpp    the search, the failure dialogs, demo and connected mode
//   main_form_status.cpp    the status panel, the titles and the view state
//   main_form_views.cpp     the view layouts, the plot grids and the window frames
//   main_form_layouts.cpp   the geometry and fonts of the three layout modes
//   main_form_cycle.cpp     the read/write cycle and its timers
//   main_form_commands.cpp  the device commands of the menus
//   main_form_buttons.cpp   the view, display-state and help buttons and menus
//   main_form_plots.cpp     what the acquisition threads draw on the plot
//   main_form_engineering.cpp  the engineering display as view 4
//   main_form_hover.cpp     the buttons' highlight under the mouse
//   main_form_dialogs.cpp   the plot settings, units and alarm history dialogs
//   main_form_files.cpp     saving and loading the data buffers
//   main_form_all_controls.cpp  the hidden controls, shown on request
#pragma once

#include <QFont>
#include <QMainWindow>
#include <QPushButton>
#include <QSize>
#include <QStringList>
#include <array>
#include <deque>
#include <memory>
#include <optional>
#include <vector>

#include "com_data.h"
#include "help_viewer.h"
#include "manual_viewer.h"
#include "pixel_stamp.h"
#include "plot_settings_form.h"
#include "port_problems.h"
#include "settings_files.h"
#include "setup_report.h"
#include "window_link.h"

class QAction;
class QFrame;
class QLabel;
class QMenu;
class QPainter;
class QTimer;

namespace quillon {

class AlignmentReadout;
class TReportFieldsForm;
struct ReportPictures;
class PaintBox;
class Questions;
class RadioGroup;
class Shape;
class SpeedButton;
class Surface;
class TAboutBoxForm;
class TAlarmHistoryForm;
class TEncoderSetupForm;
class TEditDialogForm;
class TEngineeringDisplay;
class TInfoForm;
class TRadioDialog;
class TStartup;


class TMainForm : public QMainWindow, public WindowLink {
  Q_OBJECT
 public:
  struct ScreenInfo {
    QSize size;
    double dotsPerInch = 96;
  };
  static ScreenInfo PrimaryScreen();

  explicit TMainForm(Questions& questions, const ScreenInfo& screen = PrimaryScreen());
  ~TMainForm() override;

  void AttachSplash(TStartup* splash) { Startup = splash; }
  // For --all-controls and allcontrols=1 of the options file.
  void ShowAllControls();
  // The small dialogs, created once after the search as the start-up asks.
  void CreateDialogs();

  // ---- start-up, search, failure ----
  void SearchForElectronics();
  void EnterDemoMode();
  void EnterConnectedMode();
  void CommunicationFailure() override;
  void FormActivate();
  // The confirmed close: the threads are asked to stop and GenTimer ends
  // the program.
  void ShutDown();
  void ReadSettings();
  void WriteSettings();

  // ---- status panel ----
  void UpdateStatusDisplay(int32_t count, float signalLevel, int32_t status, float time,
                           bool replaying, bool levelValid) override;
  void ShowResolution(int32_t interpolationCode);
  void ShowInterpolationAndFrequency(int32_t interpolationCode,
                                     uint32_t frequencyRegister) override;
  void UpdateTitle();
  void ApplyViewState();

  // ---- views ----
  void ShowCurrentView();
  void ShowStatusView();
  void ShowEncoderSignalView();
  void ShowSignalStrengthView();
  void ShowPositionView();
  void ShowEncoderPlotDescription();
  void ShowPositionAxisTitles();
  void ClearGraph();
  void DrawPlotGrid();

  // ---- the read/write cycle ----
  void PostRequest(int code, int intervalMs);
  void LockControls();
  void UnlockControls();
  void ReadWriteTimerTimer();
  void ButtonTimerTimer();
  void RestartTimerTimer();
  void GenTimerTimer();
  // Entry points of the dialogs.
  void ApplyPlotSettings(PlotView view, const PlotSettings& settings);
  void LeaveEngineeringDisplay();
  void QueueRegisterWrite(uint32_t word);

  // ---- buttons and menus ----
  void EncoderSignalButtonClick();
  void SignalStrengthButtonClick();
  void PositionButtonClick();
  void AcquireButtonClick();
  void StopButtonClick();
  void ReviewButtonClick();
  void FastButtonClick();
  void ResetAlarmsButtonClick();
  void ResetPositionButtonClick();
  void Mainwindow1Click();
  void Lissajous1Click();
  void SignalMonitor1Click();
  void EncoderPositionPlot1Click();
  void Engineering1Click();
  void Veritrakversion1Click();
  void Zeroposition1Click();
  void SetInterpolationButtonClick();
  void SetFrequencyButtonClick();
  void CenterIndexButtonClick();
  void HardwareReset1Click();
  void EngineeringDisplay1Click();
  void DataProcessingForSetupandStatus1Click();
  void PlotTypeGroupClick(int item);
  void SoftwareSystemReset1Click();
  void SearchForElectronics1Click();
  void ClearBuffersClick(int target);
  void Veritraksoftwarehelp1Click();
  void Encoderinstallationwizard1Click();
  void AboutVeritrakSoftware1Click();

  // ---- dialogs and data files ----
  // On a plot page: the plot settings of that page.
  void ShowPlotSettings();
  void Encoder1Click();
  void AlarmHistoryButtonClick();
  void Loaddata1Click();
  // The four Save items: the buffer of `view`; Export CSV: as a spreadsheet.
  void SaveDataClick(int view, bool asCsv = false);
  // File > Save Set-up Report...: the PDF to hand over, and its text twin.
  void SaveSetupReportClick();
  SetupReport CollectSetupReport() const;
  ReportPictures ReportPicturesOf(const SetupReport& report) const;

  // ---- what the threads ask of the window ----
  bool CommandBusy() const override { return commandBusy_; }
  void SetCommandBusy(bool busy) { commandBusy_ = busy; }
  int ModelCode() const override { return modelCode_; }
  void StopAction() override { StopButtonClick(); }
  void ClearLissajous() override;
  void DrawLissajousPoint(bool erase, const SignalSample& sample, float time) override;
  void DrawLissajousBatch(bool erase, const SignalBatch& fresh, const SignalBatch& old,
                          float time) override;
  int32_t DrawStrengthPoint(int32_t position, int32_t x, int32_t y, float time, int32_t maximum,
                            int32_t minimum) override;
  void ReplotStrength(const int32_t* positions, const int32_t* heights, int32_t maximum,
                      int32_t minimum, int32_t n) override;
  void WriteStrengthLabels(int32_t minimum, int32_t maximum) override;
  void WriteTimeLabels(float start, float end) override;
  void WriteValueLabels(const AxisLimits& limits) override;
  void DrawTraceSegment(const TraceSegment& segment) override;
  void ReplotTrace(const int32_t* positions, const float* velocities, const float* times,
                   int32_t n, float windowStart, float windowSpan,
                   const AxisLimits& limits) override;
  void ClearTimePlot() override;
  void ShowTime(float seconds) override;
  void ShowRegisterPass(const QStringList& texts) override;

  // ---- controls, by region ----
  Surface* surface = nullptr;
  QLabel *Logo, *Logo800, *LogoText1, *LogoText2, *LogoText3, *LogoText4;
  QLabel *PositionText, *EncoderPositionText, *UnitsBox;
  SpeedButton* ResetPositionButton;
  SpeedButton *AcquireButton, *StopButton, *ReviewButton, *FastButton;
  QLabel *TimeText, *TimeText2, *DataAcquisitionText;
  QFrame* DataAcqCoverPanel;
  QLabel* SetupText;
  SpeedButton *CenterIndexButton, *SetFrequencyButton, *SetInterpolationButton,
      *EncoderSignalButton, *SignalStrengthButton, *PositionButton;
  QLabel* DataPlotsText;
  RadioGroup* PlotTypeGroup;
  QFrame* DataPlotCoverPanel;
  QLabel *StatusText, *IndexText, *IndexBox;
  Shape* IndexShape;
  QLabel *ResolutionText, *ResolutionBox, *InterpolationText, *InterpolationBox, *FrequencyText,
      *FrequencyBox;
  QLabel *AlarmsText, *YellowAlarmText, *RedAlarmText, *OverSignalText;
  Shape *YellowShape, *RedShape, *OverSignalShape;
  SpeedButton *ResetAlarmsButton, *AlarmHistoryButton;
  QFrame* ArlarmHistoryCoverPanel;
  QLabel *SignalLevelText, *SignalBar;
  QLabel *greenleft, *greenright, *darkgreenleft, *darkgreenright, *yellowleft, *yellowright,
      *redleft, *redright;
  QLabel *OptimalText, *GoodText, *MarginalText, *PoorText, *StrengthPointer;
  PaintBox* GraphBox;
  QFrame *LeftPanel, *RightPanel, *TopPanel, *BottomPanel;
  QLabel *PlotNameText, *PlotDescriptionText;
  std::array<QLabel*, 10> YValues;  // YValue1 .. YValue10
  std::array<QLabel*, 5> XValues;   // XValue1 .. XValue5
  QLabel *YAxisTextTop, *YAxisTextBottom, *XAxisText;
  QPushButton *BitBtn1, *BitBtn2;
  QTimer *GenTimer, *RestartTimer, *ReadWriteTimer, *ButtonTimer;
  TStartup* Startup = nullptr;
  TAboutBoxForm* AboutBoxForm = nullptr;
  TRadioDialog* RadioDialog = nullptr;
  TEditDialogForm* EditDialogForm = nullptr;
  TInfoForm* InfoForm = nullptr;
  TEngineeringDisplay* EngineeringDisplay = nullptr;
  TEncoderSetupForm* EncoderSetupForm = nullptr;
  TAlarmHistoryForm* AlarmHistoryForm = nullptr;
  TPlotSettingsForm* PlotSettingsForm = nullptr;

  // ---- main menu ----
  QAction *File1, *View1, *Settings1, *Tools1;
  QAction *Loaddata1, *Savedata1, *StatusandSetup1, *EncoderSignal1, *SignalStrengthData1,
      *PositionandVelocityData1, *ExportCsv1, *SaveSetupReport1, *Exit1;
  QAction *Mainwindow1, *Lissajous1, *SignalMonitor1, *EncoderPositionPlot1, *Engineering1,
      *Resetalarms1, *Veritrakversion1;
  QAction *Interpolation1, *Bandwidth1, *Encoder1, *EngineeringDisplay1,
      *DataProcessingForSetupandStatus1;
  QAction *ResetDataBuffers1, *SetupandStatus1, *EncoderSignal2, *SignalStrength1,
      *EncoderPositionandVelocity1, *All1, *LocateIndex1, *ResetPosition1, *Zeroposition1,
      *SoftwareSystemReset1, *HardwareReset1, *SearchForElectronics1;
  QAction *Encoderinstallationwizard1, *Veritraksoftwarehelp1, *AboutVeritrakSoftware1;

  // ---- state ----
  int LayoutMode = 1;
  int CurrentView = StatusView;
  int PreviousView = StatusView;
  int PendingCommand = 0;
  std::unique_ptr<ComData> Connection;
  bool DemoMode = false;
  std::array<int, 5> ViewState{1, 1, 1, 1, 1};
  QString InstallDir;
  QString PositionUnits, VelocityUnits, TimeUnits;
  Settings Persisted;  // the fields kept in the settings files
  QStringList AlarmHistory;
  // Ten seconds until the plot settings give another span: with none, every
  // sample would open a new window and the position plot would stay empty.
  float PositionPlotSeconds = 10;
  float GratingPitch = 0, CountLength = 0, PositionScale = 0;
  int32_t ElectronicsType = 0;
  int YellowAlarmCount = 0, RedAlarmCount = 0, GreenCount = 0, OverSignalCount = 0,
      IndexMissCount = 0;
  bool IndexCentering = false, IndexIdle = true, AtIndex = false;
  int GraphWidth = 0, GraphHeight = 0;
  QFont AxisFont;
  int ClearTarget = 0;
  int32_t NewInterpolation = 0;
  int FrequencyItem = 0;  // the chosen output-frequency item; the setting is one more
  // What the plot settings dialog handed over for request 12.
  PlotView PlotScaleView = PlotView::EncoderSignal;
  PlotSettings PlotScaleSettings;
  uint32_t WriteWord = 0;
  bool Closing = false;
  // Asked for by a hidden, disabled item; nothing reads it.
  bool StatusDataProcessing = false;
  // Where help pages go first; tests put their own in.
  UrlOpener OpenUrl = OpenOnDesktop;
  // The program's own manual window, once help has needed it. It is a
  // window of its own, so that a box waiting for an answer leaves it usable.
  std::unique_ptr<TManualViewer> ManualViewer;

 signals:
  // After each request of the read/write cycle has been carried out.
  void RequestDone(int code);
  // Each text the splash window shows.
  void SplashTextShown(const QString& text);

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool event(QEvent* event) override;
  void changeEvent(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // The controls of one region move together between the layout modes.
  enum class Region { Title, Position, DataBar, Navigation, Status, Alarms, SignalLevel, Plot };
  enum class FontRole {
    Normal, Button, Heading, BigHeading, SignalHeading, PositionHeading, PositionValue,
    LogoBig, LogoSmall, LogoModel, PlotTitle, Description, AxisTitle, AxisLabel, BandLabel,
    HighlightButton
  };
  struct Placed {
    QWidget* widget;
    QRect design;
    Region region;
    FontRole role;
  };

  // Construction of the design (main_form_design.cpp).
  void CreateControls();
  void CreateMenus();
  void CreateTimers();
  QLabel* AddLabel(const char* name, const QString& text, QRect design, Region region,
                   FontRole role);
  SpeedButton* AddButton(const char* name, const QString& caption, QRect design, Region region);
  QLabel* AddBox(const char* name, QRect design, Region region);
  Shape* AddShape(const char* name, QRect design, Region region);
  QLabel* AddImage(const char* name, const char* picture, QRect design, Region region);
  QFrame* AddPanel(const char* name, QRect design, Region region);
  void Place(QWidget* widget, const char* name, QRect design, Region region, FontRole role);
  QAction* AddItem(QMenu* menu, const char* name, const QString& caption,
                   const QKeySequence& shortcut = {});
  void ConnectControls();

  // Layout modes (main_form_layouts.cpp).
  void ChooseLayoutMode();
  void ApplyLayout();
  QRect RegionFrame(Region region, int mode) const;
  QFont FontFor(FontRole role) const;
  void PlaceTitleBlock();
  void PlaceFramedButtons();
  void FitText(QLabel* label);
  void BuildAxisFont();

  // Status panel helpers (main_form_status.cpp).
  void ShowPosition(int32_t count);
  void ShowAlarmLamps(int32_t status);
  void ShowIndex(int32_t status);
  void CountIndexMiss();
  // True when the level is over the signal limit.
  bool ShowSignalLevel(float signalLevel);
  void ShowBand(QLabel* left, QLabel* right);
  void LogAlarmHistory(int32_t status, std::optional<bool> overSignal);
  QString AlarmHistoryEntry(const QString& event) const;
  void ShowModel(uint16_t modelRegister);

  // View helpers (main_form_views.cpp).
  void ShowPlotViewCommon();
  void PlaceAlignmentReadout();
  void PlacePlotTypeGroup(bool positionView);
  void SizeGraphBox();
  void SetStatusMenuItems(bool enabled);
  void PlaceAxisLabels(int yLeft, int yWidth, const std::array<int, 5>& xLefts);
  void FormPaint(QPainter& painter);
  void DrawStatusFrames(QPainter& painter);
  void DrawNavigationFrames(QPainter& painter);
  void DrawEncoderSignalGrid(QPainter& painter);
  void DrawTimePlotGrid(QPainter& painter);

  // Search and failure helpers (main_form_search.cpp).
  bool TryPort(int port);
  void FinishConnection();
  void CannotDetect();
  void SetDeviceControls(bool enabled);
  void ShowSplash(const QString& caption, const QString& text);
  void SplashText(const QString& text);
  void HideSplash();

  // The read/write cycle's requests (main_form_cycle.cpp).
  void NormalCursor();
  void FinishRequest();
  bool Succeeded(bool ok);
  void SetFrequencyRequest();
  void SetInterpolationRequest();
  void CenterIndexRequest();
  void ElectronicsInfoRequest();
  void SoftwareResetRequest();
  void ZeroPositionRequest();
  void ShowPlotViewRequest(void (TMainForm::*show)());
  void ReturnToStatusRequest();
  void PlotSettingsRequest();
  void ShowEngineeringRequest();
  void LeaveEngineeringRequest();
  void WriteRegisterRequest();
  void SaveBufferRequest();
  void StepBackRequest();
  void ViewBufferRequest();
  void LoadDataRequest();
  void StopDisplayRequest();
  void ClearBuffersRequest();

  // Dialogs (main_form_dialogs.cpp).
  void CreateSettingsDialogs();
  PlotSettings CurrentPlotSettings() const;
  void TakePlotSettings(PlotView view, const PlotSettings& settings);
  void EncoderSetupApplied(const Settings& settings, float gratingPitch);
  void GratingsReset(const Settings& settings);
  void ClearAlarmHistory();

  // Data files (main_form_files.cpp).
  void ConnectFileMenu();
  void SaveCurrentBuffer();
  bool WriteBuffer(int view, const QString& fileName) const;
  void LoadDataFile();
  void TakeFileUnits(const LoadResult& loaded);
  void ShowLoadedView(int kind);
  Settings SettingsToStore() const;

  // All controls on request (main_form_all_controls.cpp).
  void ShowStatusPageExtras();

  // Buttons and commands (main_form_buttons.cpp, main_form_commands.cpp).
  void PageButton(int code, int view, bool recordLeft);
  void ViewMenuItem(int code, int view);
  bool Confirmed(const char* warning);
  void ShowHelpTopic(const char* fileName, const char* chapter);

  // The engineering display (main_form_engineering.cpp).
  void CreateEngineeringDisplay();
  void SetMainMenusEnabled(bool enabled);

  // Hover highlighting (main_form_hover.cpp).
  void TrackHover();
  // `hot` gets the highlight font, every other button the normal one.
  void HighlightButton(const QWidget* hot);

  Questions& questions_;
  const ScreenInfo screen_;
  bool commandBusy_ = false;
  bool searching_ = false;
  bool failureOpen_ = false;
  PortProblems portProblems_;
  AlignmentReadout* alignmentReadout_;  // beside the encoder-signal plot
  TReportFieldsForm* reportFieldsForm_;  // asked before a set-up report is saved
  DeviceInfo deviceInfo_;                // as read at connection
  QString settingsDir_;  // where the settings files are read and written
  bool settingsFailureTold_ = false;
  int modelCode_ = 0;
  // The grid, laid again over the plot after each batch of points.
  PixelStamp gridStamp_;
  int resolutionPrecision_ = 2, resolutionDecimals_ = 1;
  // Requests posted while another waited for the line, in their order.
  struct Request {
    int code, intervalMs;
  };
  std::deque<Request> queuedRequests_;
  void StartRequest(const Request& request);
  void StartQueuedRequest();
  // The alarm situation of the newest history entry: the status word's
  // alarm and the over-signal; none: log the next.
  enum class AlarmEvent { None, Red, Yellow, OverSignal, Green };
  struct AlarmSituation {
    AlarmEvent alarm;  // None, Red or Yellow
    bool overSignal;
    bool operator==(const AlarmSituation&) const = default;
  };
  std::optional<AlarmSituation> loggedSituation_;
  // The over-signal as the newest live level said; replayed levels leave it.
  bool liveOverSignal_ = false;
  std::vector<Placed> placed_;
  // The units of the settings while a loaded file's units are shown.
  struct OwnUnits {
    QString displayUnits;
    int32_t positionDigits;
  };
  std::optional<OwnUnits> ownUnits_;
  bool saveAsCsv_ = false;  // what the posted save writes
  // Where each hidden menu item was designed, for showing it on request.
  struct MenuPlace {
    QAction* item;
    QMenu* menu;
    QAction* before;
  };
  std::vector<MenuPlace> hiddenPlaces_;
  bool allControls_ = false;
};

}  // namespace quillon
