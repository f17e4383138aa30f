// The controls, menus and timers of the main window, at the design
// coordinates of the medium layout; the other layouts move them region by
// region (main_form_layouts.cpp).
#include <QAction>
#include <QFrame>
#include <QLabel>
#include <QMenuBar>
#include <QTimer>

#include "canvas_widgets.h"
#include "main_form.h"
#include "pictures.h"
#include "radio_group.h"
#include "ui_font.h"

namespace quillon {
namespace {

const QColor kRed(255, 0, 0);

void SetTextColour(QWidget* widget, const QColor& colour) {
  QPalette palette = widget->palette();
  palette.setColor(QPalette::WindowText, colour);
  widget->setPalette(palette);
}

}  // namespace

void TMainForm::Place(QWidget* widget, const char* name, QRect design, Region region,
                      FontRole role) {
  widget->setObjectName(QString::fromLatin1(name));
  widget->setGeometry(design);
  placed_.push_back({widget, design, region, role});
}

QLabel* TMainForm::AddLabel(const char* name, const QString& text, QRect design, Region region,
                            FontRole role) {
  auto* label = new QLabel(text, surface);
  Place(label, name, design, region, role);
  return label;
}

SpeedButton* TMainForm::AddButton(const char* name, const QString& caption, QRect design,
                                  Region region) {
  auto* button = new SpeedButton(caption, surface);
  Place(button, name, design, region, FontRole::Button);
  return button;
}

// A sunken text box.
QLabel* TMainForm::AddBox(const char* name, QRect design, Region region) {
  QLabel* box = AddLabel(name, QString(), design, region, FontRole::Normal);
  box->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  box->setLineWidth(2);
  return box;
}

Shape* TMainForm::AddShape(const char* name, QRect design, Region region) {
  auto* shape = new Shape(surface);
  Place(shape, name, design, region, FontRole::Normal);
  return shape;
}

QLabel* TMainForm::AddImage(const char* name, const char* picture, QRect design, Region region) {
  QLabel* image = AddLabel(name, QString(), design, region, FontRole::Normal);
  image->setScaledContents(true);
  image->setPixmap(QPixmap::fromImage(Picture(QString::fromLatin1(picture))));
  return image;
}

QFrame* TMainForm::AddPanel(const char* name, QRect design, Region region) {
  auto* panel = new QFrame(surface);
  panel->setAutoFillBackground(true);
  Place(panel, name, design, region, FontRole::Normal);
  panel->hide();
  return panel;
}

void TMainForm::CreateControls() {
  using R = Region;
  using F = FontRole;
  surface = new Surface(this, [this](QPainter& painter) { FormPaint(painter); });
  setCentralWidget(surface);
  QPalette black = palette();
  black.setColor(QPalette::Window, Qt::black);
  black.setColor(QPalette::WindowText, Qt::white);
  black.setColor(QPalette::Base, Qt::black);
  black.setColor(QPalette::Text, Qt::white);
  black.setColor(QPalette::Button, Qt::black);
  black.setColor(QPalette::ButtonText, Qt::white);
  surface->setPalette(black);

  // Title block.
  Logo = AddImage("Logo", "Logo", {848, 16, 160, 64}, R::Title);
  Logo800 = AddImage("Logo800", "Logo800", {928, 16, 80, 32}, R::Title);
  Logo800->hide();
  LogoText1 = AddLabel("LogoText1", "Veritrak", {828, 84, 80, 24}, R::Title, F::LogoBig);
  LogoText2 = AddLabel("LogoText2", "TM", {906, 85, 16, 11}, R::Title, F::LogoSmall);
  LogoText3 = AddLabel("LogoText3", "II Software", {921, 84, 100, 24}, R::Title, F::LogoBig);
  LogoText4 = AddLabel("LogoText4", "for Heron II", {818, 110, 190, 20}, R::Title, F::LogoModel);
  LogoText4->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  for (QLabel* text : {LogoText1, LogoText2, LogoText3, LogoText4}) SetTextColour(text, kRed);

  // Position display.
  PositionText = AddLabel("PositionText", "Encoder Position", {366, 106, 223, 30}, R::Position,
                          F::PositionHeading);
  PositionText->setAlignment(Qt::AlignCenter);
  EncoderPositionText =
      AddLabel("EncoderPositionText", "0", {226, 142, 321, 41}, R::Position, F::PositionValue);
  EncoderPositionText->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  UnitsBox = AddLabel("UnitsBox", "Counts", {556, 152, 84, 24}, R::Position, F::Normal);
  ResetPositionButton = AddButton("ResetPositionButton", "Reset", {645, 145, 72, 32}, R::Position);

  // Data processing bar (hidden in this design).
  DataAcqCoverPanel = AddPanel("DataAcqCoverPanel", {10, 4, 440, 56}, R::DataBar);
  DataAcquisitionText =
      AddLabel("DataAcquisitionText", "Data Processing", {16, 6, 150, 20}, R::DataBar, F::Normal);
  AcquireButton = AddButton("AcquireButton", "Acquire", {16, 30, 70, 24}, R::DataBar);
  StopButton = AddButton("StopButton", "Stop", {90, 30, 70, 24}, R::DataBar);
  ReviewButton = AddButton("ReviewButton", "Back", {164, 30, 70, 24}, R::DataBar);
  FastButton = AddButton("FastButton", "View", {238, 30, 70, 24}, R::DataBar);
  TimeText = AddLabel("TimeText", "Time", {318, 32, 40, 20}, R::DataBar, F::Normal);
  TimeText2 = AddBox("TimeText2", {360, 30, 84, 24}, R::DataBar);
  TimeText2->setText(QStringLiteral("0:0"));
  for (QWidget* control : std::initializer_list<QWidget*>{
           DataAcquisitionText, AcquireButton, StopButton, ReviewButton, FastButton, TimeText,
           TimeText2})
    control->hide();

  // Navigation column.
  SetupText = AddLabel("SetupText", "Data Plots", {112, 228, 150, 30}, R::Navigation, F::BigHeading);
  CenterIndexButton =
      AddButton("CenterIndexButton", "Encoder Signal", {78, 269, 133, 29}, R::Navigation);
  SetFrequencyButton =
      AddButton("SetFrequencyButton", "Signal Strength", {78, 316, 133, 29}, R::Navigation);
  SetInterpolationButton =
      AddButton("SetInterpolationButton", "Set Interpolation", {78, 363, 133, 29}, R::Navigation);
  EncoderSignalButton = AddButton("EncoderSignalButton", "", {78, 410, 133, 29}, R::Navigation);
  SignalStrengthButton = AddButton("SignalStrengthButton", "", {78, 457, 133, 29}, R::Navigation);
  PositionButton =
      AddButton("PositionButton", "Encoder Position", {78, 504, 133, 29}, R::Navigation);
  DataPlotsText =
      AddLabel("DataPlotsText", "Data Plots", {112, 396, 150, 30}, R::Navigation, F::BigHeading);
  DataPlotCoverPanel = AddPanel("DataPlotCoverPanel", {30, 390, 250, 150}, R::Navigation);
  PlotTypeGroup = new RadioGroup(QStringLiteral("Signals To Display"), surface);
  Place(PlotTypeGroup, "PlotTypeGroup", {40, 400, 230, 110}, R::Navigation, F::Normal);
  PlotTypeGroup->SetItems({"pre-processed sin/cos", "processed sin/cos", "both"});
  for (QWidget* control : std::initializer_list<QWidget*>{
           SetInterpolationButton, EncoderSignalButton, SignalStrengthButton, DataPlotsText,
           PlotTypeGroup})
    control->hide();

  // Status panel.
  StatusText = AddLabel("StatusText", "Status", {436, 236, 71, 28}, R::Status, F::Heading);
  StatusText->setAlignment(Qt::AlignCenter);
  IndexText = AddLabel("IndexText", "Index", {376, 278, 64, 22}, R::Status, F::Normal);
  IndexShape = AddShape("IndexShape", {442, 280, 25, 17}, R::Status);
  IndexBox = AddBox("IndexBox", {474, 276, 126, 24}, R::Status);
  ResolutionText =
      AddLabel("ResolutionText", "Resolution", {376, 330, 88, 22}, R::Status, F::Normal);
  ResolutionBox = AddBox("ResolutionBox", {466, 326, 134, 24}, R::Status);
  InterpolationText =
      AddLabel("InterpolationText", "Interpolation", {376, 368, 88, 22}, R::Status, F::Normal);
  InterpolationBox = AddBox("InterpolationBox", {466, 364, 134, 24}, R::Status);
  FrequencyText = AddLabel("FrequencyText", "Frequency", {376, 404, 88, 22}, R::Status, F::Normal);
  FrequencyBox = AddBox("FrequencyBox", {466, 400, 134, 24}, R::Status);
  for (QWidget* control : {InterpolationText, InterpolationBox, FrequencyText, FrequencyBox})
    control->hide();

  // Alarm panel.
  AlarmsText = AddLabel("AlarmsText", "Alarms", {446, 496, 70, 28}, R::Alarms, F::Heading);
  AlarmsText->setAlignment(Qt::AlignCenter);
  ResetAlarmsButton = AddButton("ResetAlarmsButton", "Reset", {377, 540, 80, 21}, R::Alarms);
  ArlarmHistoryCoverPanel = AddPanel("ArlarmHistoryCoverPanel", {370, 574, 96, 34}, R::Alarms);
  AlarmHistoryButton = AddButton("AlarmHistoryButton", "History", {377, 580, 80, 21}, R::Alarms);
  AlarmHistoryButton->hide();
  YellowAlarmText =
      AddLabel("YellowAlarmText", "Yellow Alarm", {472, 524, 100, 20}, R::Alarms, F::Normal);
  YellowShape = AddShape("YellowShape", {576, 526, 25, 17}, R::Alarms);
  RedAlarmText = AddLabel("RedAlarmText", "Red Alarm", {472, 552, 100, 20}, R::Alarms, F::Normal);
  RedShape = AddShape("RedShape", {576, 554, 25, 17}, R::Alarms);
  OverSignalText =
      AddLabel("OverSignalText", "Over Signal", {472, 580, 100, 20}, R::Alarms, F::Normal);
  OverSignalShape = AddShape("OverSignalShape", {576, 582, 25, 17}, R::Alarms);

  // Signal level panel.
  SignalLevelText = AddLabel("SignalLevelText", "Signal Level", {762, 252, 150, 30},
                             R::SignalLevel, F::SignalHeading);
  SignalLevelText->setAlignment(Qt::AlignCenter);
  SignalBar = AddImage("SignalBar", "SignalBar", {818, 293, 38, 304}, R::SignalLevel);
  struct Band {
    QLabel** left;
    QLabel** right;
    const char* leftName;
    const char* rightName;
    const char* picture;
    int top, height;
  };
  const Band bands[] = {
      {&greenleft, &greenright, "greenleft", "greenright", "GreenBand", 293, 186},
      {&darkgreenleft, &darkgreenright, "darkgreenleft", "darkgreenright", "DarkGreenBand", 397,
       45},
      {&yellowleft, &yellowright, "yellowleft", "yellowright", "YellowBand", 473, 52},
      {&redleft, &redright, "redleft", "redright", "RedBand", 524, 73}};
  for (const Band& band : bands) {
    *band.left =
        AddImage(band.leftName, band.picture, {800, band.top, 18, band.height}, R::SignalLevel);
    *band.right =
        AddImage(band.rightName, band.picture, {856, band.top, 18, band.height}, R::SignalLevel);
    (*band.left)->hide();
    (*band.right)->hide();
  }
  OptimalText = AddLabel("OptimalText", "Optimal", {880, 300, 70, 18}, R::SignalLevel, F::BandLabel);
  GoodText = AddLabel("GoodText", "Good", {880, 400, 70, 18}, R::SignalLevel, F::BandLabel);
  MarginalText =
      AddLabel("MarginalText", "Marginal", {880, 480, 70, 18}, R::SignalLevel, F::BandLabel);
  PoorText = AddLabel("PoorText", "Poor", {880, 560, 70, 18}, R::SignalLevel, F::BandLabel);
  StrengthPointer = AddImage("StrengthPointer", "StrengthPointer", {876, 430, 24, 16}, R::SignalLevel);
  for (QWidget* control : {OptimalText, GoodText, MarginalText, PoorText, StrengthPointer})
    control->hide();

  // Plot area.
  GraphBox = new PaintBox(surface);
  Place(GraphBox, "GraphBox", {456, 208, 400, 400}, R::Plot, F::Normal);
  GraphBox->Resize(400, 400);
  GraphBox->hide();
  LeftPanel = AddPanel("LeftPanel", {436, 208, 20, 400}, R::Plot);
  RightPanel = AddPanel("RightPanel", {856, 208, 20, 400}, R::Plot);
  TopPanel = AddPanel("TopPanel", {436, 188, 440, 20}, R::Plot);
  BottomPanel = AddPanel("BottomPanel", {436, 608, 440, 20}, R::Plot);
  PlotNameText =
      AddLabel("PlotNameText", "Plot Type", {406, 136, 500, 30}, R::Plot, F::PlotTitle);
  PlotDescriptionText =
      AddLabel("PlotDescriptionText", "sin/cos", {406, 166, 500, 22}, R::Plot, F::Description);
  for (QLabel* text : {PlotNameText, PlotDescriptionText}) {
    text->setAlignment(Qt::AlignCenter);
    text->hide();
  }
  const char* percent[] = {"100%", "75%", "50%", "25%", "0%"};
  for (int i = 0; i < 10; ++i) {
    const QByteArray name = "YValue" + QByteArray::number(i + 1);
    YValues[i] = AddLabel(name.constData(), percent[i % 5], {340, 197 + 100 * (i % 5), 90, 22},
                          R::Plot, F::AxisLabel);
    YValues[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    YValues[i]->hide();
  }
  for (int i = 0; i < 5; ++i) {
    const QByteArray name = "XValue" + QByteArray::number(i + 1);
    XValues[i] = AddLabel(name.constData(), percent[i], {825 - 100 * i, 630, 62, 22}, R::Plot,
                          F::AxisLabel);
    XValues[i]->setAlignment(Qt::AlignCenter);
    XValues[i]->hide();
  }
  YAxisTextTop = AddLabel("YAxisTextTop", "", {236, 160, 144, 20}, R::Plot, F::AxisTitle);
  YAxisTextBottom = AddLabel("YAxisTextBottom", "", {236, 640, 144, 20}, R::Plot, F::AxisTitle);
  XAxisText = AddLabel("XAxisText", "", {406, 656, 500, 22}, R::Plot, F::AxisTitle);
  SetTextColour(YAxisTextTop, QColor(0, 255, 0));
  SetTextColour(YAxisTextBottom, kRed);
  XAxisText->setAlignment(Qt::AlignCenter);
  for (QLabel* title : {YAxisTextTop, YAxisTextBottom, XAxisText}) {
    title->setAlignment(title->alignment() | Qt::AlignVCenter);
    title->hide();
  }

  // Holders of the speed buttons' normal and highlight fonts, which the
  // layout modes scale with the buttons.
  BitBtn1 = new QPushButton(QStringLiteral("Show Standard Display"), surface);
  Place(BitBtn1, "BitBtn1", {78, 551, 133, 29}, R::Navigation, F::Button);
  BitBtn2 = new QPushButton(surface);
  Place(BitBtn2, "BitBtn2", {78, 551, 133, 29}, R::Navigation, F::HighlightButton);
  BitBtn1->hide();
  BitBtn2->hide();
}

QAction* TMainForm::AddItem(QMenu* menu, const char* name, const QString& caption,
                            const QKeySequence& shortcut) {
  QAction* item = menu->addAction(caption);
  item->setObjectName(QString::fromLatin1(name));
  item->setShortcut(shortcut);
  return item;
}

void TMainForm::CreateMenus() {
  QMenuBar* bar = menuBar();
  bar->setObjectName(QStringLiteral("MainMenu1"));

  QMenu* file = bar->addMenu(QStringLiteral("&File"));
  Loaddata1 = AddItem(file, "Loaddata1", "&Load...");
  QMenu* save = file->addMenu(QStringLiteral("&Save"));
  Savedata1 = save->menuAction();
  Savedata1->setObjectName(QStringLiteral("Savedata1"));
  StatusandSetup1 = AddItem(save, "StatusandSetup1", "&Status and Setup Data");
  EncoderSignal1 = AddItem(save, "EncoderSignal1", "&Encoder Signal Data");
  SignalStrengthData1 = AddItem(save, "SignalStrengthData1", "Signal S&trength Data");
  PositionandVelocityData1 = AddItem(save, "PositionandVelocityData1", "&Position and Velocity Data");
  ExportCsv1 = AddItem(file, "ExportCsv1", "&Export CSV...");
  SaveSetupReport1 = AddItem(file, "SaveSetupReport1", "Save Set-up &Report...");
  Exit1 = AddItem(file, "Exit1", "E&xit");

  QMenu* view = bar->addMenu(QStringLiteral("&View"));
  Mainwindow1 = AddItem(view, "Mainwindow1", "&Status and Setup", Qt::Key_F2);
  Lissajous1 = AddItem(view, "Lissajous1", "&Encoder Signal Plot", Qt::Key_F3);
  SignalMonitor1 = AddItem(view, "SignalMonitor1", "Signal Strength &Plot", Qt::Key_F4);
  EncoderPositionPlot1 = AddItem(view, "EncoderPositionPlot1", "Encoder Position Plot");
  Engineering1 = AddItem(view, "Engineering1", "Engineering &Display", Qt::Key_F6);
  Resetalarms1 = AddItem(view, "Resetalarms1", "&Alarm History Log...");
  Veritrakversion1 = AddItem(view, "Veritrakversion1", "Veritrak II Electronics &Info...");

  QMenu* settings = bar->addMenu(QStringLiteral("&Settings"));
  Interpolation1 = AddItem(settings, "Interpolation1", "&Interpolation...");
  Bandwidth1 = AddItem(settings, "Bandwidth1", "Output &Frequency...");
  Encoder1 = AddItem(settings, "Encoder1", "&Units...", Qt::Key_F11);
  EngineeringDisplay1 = AddItem(settings, "EngineeringDisplay1", "&Engineering Display Setup...");
  DataProcessingForSetupandStatus1 = AddItem(settings, "DataProcessingForSetupandStatus1",
                                             "&Data Processing For Setup and Status...");
  DataProcessingForSetupandStatus1->setEnabled(false);

  QMenu* tools = bar->addMenu(QStringLiteral("&Tools"));
  QMenu* clear = tools->addMenu(QStringLiteral("Clear Data Buffers"));
  ResetDataBuffers1 = clear->menuAction();
  ResetDataBuffers1->setObjectName(QStringLiteral("ResetDataBuffers1"));
  SetupandStatus1 = AddItem(clear, "SetupandStatus1", "&Setup and Status");
  EncoderSignal2 = AddItem(clear, "EncoderSignal2", "&Encoder Signal");
  SignalStrength1 = AddItem(clear, "SignalStrength1", "&Signal Strength");
  EncoderPositionandVelocity1 =
      AddItem(clear, "EncoderPositionandVelocity1", "Encoder &Position and Velocity");
  All1 = AddItem(clear, "All1", "&All Buffers");
  LocateIndex1 = AddItem(tools, "LocateIndex1", "&Center Index");
  ResetPosition1 = AddItem(tools, "ResetPosition1", "&Reset Position", Qt::Key_F12);
  Zeroposition1 = AddItem(tools, "Zeroposition1", "&Zero Hardware Position Counter");
  SoftwareSystemReset1 =
      AddItem(tools, "SoftwareSystemReset1", "Software System &Reset - Active Com Port");
  HardwareReset1 = AddItem(tools, "HardwareReset1", "&Hardware System Reset - All Com Ports");
  SearchForElectronics1 =
      AddItem(tools, "SearchForElectronics1", "&Search For Veritrak Electronics");

  File1 = file->menuAction();
  View1 = view->menuAction();
  Settings1 = settings->menuAction();
  Tools1 = tools->menuAction();

  QMenu* help = bar->addMenu(QStringLiteral("&Help"));
  Encoderinstallationwizard1 =
      AddItem(help, "Encoderinstallationwizard1", "Encoder &Installation Wizard", Qt::Key_F8);
  Veritraksoftwarehelp1 =
      AddItem(help, "Veritraksoftwarehelp1", "&Veritrak Software Help", Qt::Key_F1);
  AboutVeritrakSoftware1 =
      AddItem(help, "AboutVeritrakSoftware1", "&About Veritrak Software...");

  // Hidden items move to a menu that is never shown: Qt disables an
  // invisible action, but these keep the enabled state the modes give them.
  // Qt fires a shortcut only through a visible widget that holds the action,
  // so the window itself holds them too: F8 and F11 work from the keyboard.
  // Each item's place is kept for showing it on request.
  auto* hiddenItems = new QMenu(this);
  for (QAction* hidden :
       {Loaddata1, Savedata1, EncoderPositionPlot1, Resetalarms1, Interpolation1, Bandwidth1,
        Encoder1, DataProcessingForSetupandStatus1, ResetDataBuffers1, LocateIndex1,
        Zeroposition1, HardwareReset1, SearchForElectronics1, Encoderinstallationwizard1}) {
    for (QObject* holder : hidden->associatedObjects()) {
      auto* menu = qobject_cast<QMenu*>(holder);
      if (!menu) continue;
      const QList<QAction*> items = menu->actions();
      hiddenPlaces_.push_back({hidden, menu, items.value(items.indexOf(hidden) + 1)});
      menu->removeAction(hidden);
    }
    hiddenItems->addAction(hidden);
    addAction(hidden);
  }
}

void TMainForm::CreateTimers() {
  const auto timer = [this](const char* name, int intervalMs, void (TMainForm::*tick)()) {
    auto* t = new QTimer(this);
    t->setObjectName(QString::fromLatin1(name));
    t->setInterval(intervalMs);
    connect(t, &QTimer::timeout, this, tick);
    return t;
  };
  GenTimer = timer("GenTimer", 1400, &TMainForm::GenTimerTimer);
  RestartTimer = timer("RestartTimer", 300, &TMainForm::RestartTimerTimer);
  ReadWriteTimer = timer("ReadWriteTimer", 100, &TMainForm::ReadWriteTimerTimer);
  ButtonTimer = timer("ButtonTimer", 200, &TMainForm::ButtonTimerTimer);
}

void TMainForm::ConnectControls() {
  const auto click = [this](QAbstractButton* button, void (TMainForm::*handler)()) {
    connect(button, &QAbstractButton::clicked, this, handler);
  };
  click(CenterIndexButton, &TMainForm::EncoderSignalButtonClick);
  click(EncoderSignalButton, &TMainForm::EncoderSignalButtonClick);
  click(SetFrequencyButton, &TMainForm::SignalStrengthButtonClick);
  click(SignalStrengthButton, &TMainForm::SignalStrengthButtonClick);
  click(PositionButton, &TMainForm::PositionButtonClick);
  click(AcquireButton, &TMainForm::AcquireButtonClick);
  click(StopButton, &TMainForm::StopButtonClick);
  click(ReviewButton, &TMainForm::ReviewButtonClick);
  click(FastButton, &TMainForm::FastButtonClick);
  click(ResetAlarmsButton, &TMainForm::ResetAlarmsButtonClick);
  click(ResetPositionButton, &TMainForm::ResetPositionButtonClick);
  click(SetInterpolationButton, &TMainForm::SetInterpolationButtonClick);
  connect(PlotTypeGroup, &RadioGroup::Clicked, this, &TMainForm::PlotTypeGroupClick);
  TrackHover();

  const auto item = [this](QAction* action, auto handler) {
    connect(action, &QAction::triggered, this, handler);
  };
  item(Exit1, [this] { close(); });
  item(SaveSetupReport1, &TMainForm::SaveSetupReportClick);
  item(Mainwindow1, &TMainForm::Mainwindow1Click);
  item(Lissajous1, &TMainForm::Lissajous1Click);
  item(SignalMonitor1, &TMainForm::SignalMonitor1Click);
  item(EncoderPositionPlot1, &TMainForm::EncoderPositionPlot1Click);
  item(Engineering1, &TMainForm::Engineering1Click);
  item(Veritrakversion1, &TMainForm::Veritrakversion1Click);
  item(ResetPosition1, &TMainForm::ResetPositionButtonClick);
  item(Zeroposition1, &TMainForm::Zeroposition1Click);
  item(SoftwareSystemReset1, &TMainForm::SoftwareSystemReset1Click);
  item(SearchForElectronics1, &TMainForm::SearchForElectronics1Click);
  item(Interpolation1, &TMainForm::SetInterpolationButtonClick);
  item(Bandwidth1, &TMainForm::SetFrequencyButtonClick);
  item(LocateIndex1, &TMainForm::CenterIndexButtonClick);
  item(HardwareReset1, &TMainForm::HardwareReset1Click);
  item(EngineeringDisplay1, &TMainForm::EngineeringDisplay1Click);
  item(DataProcessingForSetupandStatus1, &TMainForm::DataProcessingForSetupandStatus1Click);
  item(SetupandStatus1, [this] { ClearBuffersClick(StatusView); });
  item(EncoderSignal2, [this] { ClearBuffersClick(SignalView); });
  item(SignalStrength1, [this] { ClearBuffersClick(StrengthView); });
  item(EncoderPositionandVelocity1, [this] { ClearBuffersClick(PositionView); });
  item(All1, [this] { ClearBuffersClick(4); });
  item(Veritraksoftwarehelp1, &TMainForm::Veritraksoftwarehelp1Click);
  item(Encoderinstallationwizard1, &TMainForm::Encoderinstallationwizard1Click);
  item(AboutVeritrakSoftware1, &TMainForm::AboutVeritrakSoftware1Click);
}

}  // namespace quillon
