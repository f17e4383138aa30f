// The four views in the one set of controls, the grids drawn on the plot
// before the data, and the frames drawn on the window surface.
#include <QAction>
#include <QFrame>
#include <QLabel>
#include <QPainter>
#include <cmath>

#include "alignment_readout.h"
#include "canvas_widgets.h"
#include "main_form.h"
#include "radio_group.h"

namespace quillon {
namespace {

const QColor kOlive(128, 128, 0);
const QColor kGreen(0, 128, 0);
const QColor kGrey(128, 128, 128);
const QColor kLime(0, 255, 0);
const QColor kRed(255, 0, 0);

void SetTextColour(QLabel* label, const QColor& colour) {
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, colour);
  label->setPalette(palette);
}

void SetTexts(const std::initializer_list<QLabel*>& labels,
              const std::initializer_list<const char*>& texts, const QColor& colour) {
  auto text = texts.begin();
  for (QLabel* label : labels) {
    label->setText(QString::fromLatin1(*text++));
    SetTextColour(label, colour);
  }
}

void SetPointSize(QLabel* label, int points) {
  QFont font = label->font();
  font.setPointSize(points);
  label->setFont(font);
}

// An open frame: the top edge leaves a gap for the heading that sits in it.
void DrawOpenFrame(QPainter& painter, int left, int top, int right, int bottom, int gapFrom,
                   int gapTo) {
  painter.setPen(QPen(kGrey, 1));
  painter.drawLine(left, top, gapFrom, top);
  painter.drawLine(gapTo, top, right, top);
  painter.drawLine(right, top, right, bottom);
  painter.drawLine(right, bottom, left, bottom);
  painter.drawLine(left, bottom, left, top);
}

void DrawRaisedBox(QPainter& painter, int left, int top, int right, int bottom) {
  painter.setPen(QPen(Qt::white, 1));
  painter.drawLine(left, bottom, left, top);
  painter.drawLine(left, top, right, top);
  painter.setPen(QPen(kGrey, 1));
  painter.drawLine(right, top, right, bottom);
  painter.drawLine(right, bottom, left, bottom);
}

// Rotated a quarter turn counter-clockwise about the origin, which is the
// top left corner of the text before the turn.
void DrawRotatedText(QPainter& painter, const QFont& font, int x, int y, const QString& text) {
  painter.save();
  painter.setFont(font);
  painter.setPen(Qt::white);
  painter.translate(x, y);
  painter.rotate(-90);
  painter.drawText(0, QFontMetrics(font).ascent(), text);
  painter.restore();
}

void DrawGridLines(QPainter& painter, const QSize& size, const std::vector<int>& xs,
                   const std::vector<int>& ys) {
  painter.setPen(QPen(kOlive, 1, Qt::SolidLine));
  for (int x : xs) painter.drawLine(x, 0, x, size.height());
  for (int y : ys) painter.drawLine(0, y, size.width(), y);
}

std::vector<int> Steps(int from, int to, int step) {
  std::vector<int> values;
  for (int v = from; v <= to; v += step) values.push_back(v);
  return values;
}

// The frames drawn on the window surface, by layout (left, top, right,
// bottom; an open frame's gap runs along its top edge between the last two).
struct StatusFrames {
  int position[6], status[6], alarms[6];
  int alarmsBox[4], positionBox[4];
  QPoint optimal, poor;
};
const StatusFrames kStatusFrames[] = {
    {{127, 110, 610, 170, 304, 481}, {273, 205, 520, 353, 344, 407},
     {273, 383, 520, 480, 345, 426}, {280, 411, 361, 433}, {532, 120, 605, 153}, {605, 310},
     {605, 474}},
    {{216, 120, 725, 200, 376, 579}, {360, 250, 609, 440, 440, 503},
     {360, 510, 609, 616, 449, 513}, {376, 539, 457, 561}, {644, 144, 717, 177}, {775, 410},
     {775, 565}},
    {{232, 195, 980, 306, 508, 803}, {376, 360, 738, 640, 492, 588},
     {376, 726, 738, 880, 506, 607}, {396, 769, 518, 802}, {859, 230, 969, 280}, {975, 580},
     {975, 820}}};

// The raised boxes around the upper navigation buttons. The third holds
// the status page's way to the position plot, which would otherwise be
// reachable only through a hidden menu item.
struct NavigationBoxes {
  int left, right, top1, bottom1, top2, bottom2, top3, bottom3;
};
const NavigationBoxes kNavigationBoxes[] = {{61, 195, 212, 242, 251, 281, 290, 320},
                                            {77, 211, 268, 298, 315, 345, 362, 392},
                                            {60, 261, 394, 439, 465, 510, 536, 581}};

// A button inside its raised box.
QRect Inside(int left, int top, int right, int bottom) {
  return QRect(QPoint(left + 1, top + 1), QPoint(right - 1, bottom - 1));
}

}  // namespace

void TMainForm::ShowCurrentView() {
  switch (CurrentView) {
    case StatusView: ShowStatusView(); break;
    case SignalView: ShowEncoderSignalView(); break;
    case StrengthView: ShowSignalStrengthView(); break;
    case PositionView: ShowPositionView(); break;
    default: break;
  }
}

void TMainForm::SetStatusMenuItems(bool enabled) {
  for (QAction* item : {Resetalarms1, Veritrakversion1, Interpolation1, Bandwidth1, Encoder1,
                        LocateIndex1, ResetPosition1, Zeroposition1})
    item->setEnabled(enabled);
}

void TMainForm::ShowStatusView() {
  alignmentReadout_->hide();
  AtIndex = false;
  SetupText->setText(QStringLiteral("Data Plots"));
  SetupText->move(LayoutMode == 0 ? 99 : 112, SetupText->y());
  CenterIndexButton->setText(QStringLiteral("Encoder Signal"));
  SetInterpolationButton->setText(QStringLiteral("Set Interpolation"));
  SetFrequencyButton->setText(QStringLiteral("Signal Strength"));
  for (QWidget* control : std::initializer_list<QWidget*>{
           PositionText, EncoderPositionText, UnitsBox, ResetPositionButton, SignalLevelText,
           IndexBox, ResolutionBox, ResetAlarmsButton, AlarmsText, YellowAlarmText, RedAlarmText,
           OverSignalText, IndexText, ResolutionText, YellowShape, RedShape, OverSignalShape,
           IndexShape, SignalBar, StatusText, PositionButton})
    control->show();
  for (QWidget* control : std::initializer_list<QWidget*>{
           StrengthPointer, PoorText, MarginalText, GoodText, OptimalText, InterpolationBox,
           FrequencyBox, AlarmHistoryButton, InterpolationText, FrequencyText, DataPlotsText,
           EncoderSignalButton, SignalStrengthButton, LeftPanel, RightPanel, TopPanel,
           BottomPanel, GraphBox, PlotTypeGroup, PlotNameText, PlotDescriptionText, YAxisTextTop,
           YAxisTextBottom, XAxisText})
    control->hide();
  for (QLabel* label : YValues) label->hide();
  for (QLabel* label : XValues) label->hide();
  if (!DemoMode) SetStatusMenuItems(true);
  ShowStatusPageExtras();
  UpdateTitle();
}

void TMainForm::PlacePlotTypeGroup(bool positionView) {
  if (LayoutMode == 1) return;
  const int left = positionView ? (LayoutMode == 0 ? 64 : 40) : (LayoutMode == 0 ? 44 : 34);
  const int width = positionView ? (LayoutMode == 0 ? 137 : 242) : (LayoutMode == 0 ? 177 : 254);
  PlotTypeGroup->setGeometry(left, PlotTypeGroup->y(), width, PlotTypeGroup->height());
}

void TMainForm::ShowPlotViewCommon() {
  alignmentReadout_->hide();
  static const int setupLeft[] = {94, 106, 102};
  SetupText->setText(QStringLiteral("Options"));
  SetupText->move(setupLeft[LayoutMode], SetupText->y());
  SetFrequencyButton->setText(QStringLiteral("Back To Main"));
  CenterIndexButton->setText(QStringLiteral("Plot Options"));
  SetInterpolationButton->setText(QStringLiteral("Plot Settings 1"));
  PlacePlotTypeGroup(CurrentView == PositionView);
  SetStatusMenuItems(false);
  for (QWidget* control : std::initializer_list<QWidget*>{
           PositionText, EncoderPositionText, UnitsBox, ResetPositionButton, SignalLevelText,
           IndexBox, ResolutionBox, ResetAlarmsButton, AlarmsText, YellowAlarmText, RedAlarmText,
           OverSignalText, IndexText, ResolutionText, YellowShape, RedShape, OverSignalShape,
           IndexShape, SignalBar, StatusText, greenleft, greenright, darkgreenleft,
           darkgreenright, yellowleft, yellowright, redleft, redright, StrengthPointer,
           OptimalText, GoodText, MarginalText, PoorText, InterpolationBox, FrequencyBox,
           AlarmHistoryButton, InterpolationText, FrequencyText, DataPlotsText,
           EncoderSignalButton, SignalStrengthButton, PositionButton, PlotTypeGroup})
    control->hide();
  if (!DemoMode) {
    SetInterpolationButton->setEnabled(true);
    SetInterpolationButton->hide();
  }
  SizeGraphBox();
  for (QWidget* control : std::initializer_list<QWidget*>{
           GraphBox, LeftPanel, RightPanel, TopPanel, BottomPanel, PlotNameText,
           PlotDescriptionText})
    control->show();
  for (int i = 0; i < 5; ++i) {
    XValues[i]->show();
    YValues[i]->show();
  }
  for (int i = 5; i < 10; ++i) YValues[i]->hide();
}

void TMainForm::SizeGraphBox() {
  struct Box {
    int left, top, width, height;
  };
  // By layout; a top of 0 keeps the design top of that layout.
  static const Box signalBoxes[] = {{408, 148, 320, 320}, {456, 0, 400, 400}, {596, 0, 500, 500}};
  static const Box timeBoxes[] = {{368, 148, 400, 320}, {406, 0, 500, 400}, {526, 0, 640, 500}};
  static const int designTop[] = {148, 208, 324};
  const Box& box = (CurrentView == SignalView ? signalBoxes : timeBoxes)[LayoutMode];
  const int top = box.top ? box.top : designTop[LayoutMode];
  GraphWidth = box.width;
  GraphHeight = box.height;
  GraphBox->move(box.left, top);
  GraphBox->Resize(box.width, box.height);
  const int right = (LayoutMode == 0 || CurrentView == StrengthView) ? 10 : 20;
  LeftPanel->setGeometry(box.left - 20, top, 20, box.height);
  RightPanel->setGeometry(box.left + box.width, top, right, box.height);
  TopPanel->setGeometry(box.left - 20, top - 20, box.width + 40, 20);
  BottomPanel->setGeometry(box.left - 20, top + box.height, box.width + 40, 20);
}

// Y labels along the left edge of the plot, one every quarter of its
// height; X labels centred under the five grid positions.
void TMainForm::PlaceAxisLabels(int yLeft, int yWidth, const std::array<int, 5>& xLefts) {
  const int height = LayoutMode == 2 ? 26 : 22;
  const int top = GraphBox->y();
  for (int i = 0; i < 5; ++i) {
    YValues[i]->setGeometry(yLeft, top - height / 2 + i * GraphHeight / 4, yWidth, height);
    YValues[i + 5]->setGeometry(yLeft, YValues[i]->y() + height, yWidth, height);
  }
  const int xWidth = 2 * (GraphBox->x() - xLefts[0]);
  const int xTop = LayoutMode == 0 ? 490 : top + GraphHeight + height;
  for (int i = 0; i < 5; ++i) XValues[4 - i]->setGeometry(xLefts[i], xTop, xWidth, height);
  for (QLabel* title : {YAxisTextTop, YAxisTextBottom})
    title->setGeometry(yLeft, title->y(), yWidth, title->height());
  YAxisTextTop->move(yLeft, top - 2 * height - 4);
  YAxisTextBottom->move(yLeft, top - height - 2);
  XAxisText->setGeometry(GraphBox->x(), xTop + height + 4, GraphWidth, height);
}

void TMainForm::ShowEncoderSignalView() {
  ShowPlotViewCommon();
  PlotNameText->setText(QStringLiteral(" Encoder Signal Graph"));
  PlotTypeGroup->setTitle(QStringLiteral("Signals to Display"));
  PlotTypeGroup->SetItems({"sine/cosine", "sine/cosine", "both"});
  PlotTypeGroup->SetItemIndex(Persisted.EncoderPlotType);
  ShowEncoderPlotDescription();
  SetTexts({YValues[0], YValues[1], YValues[2], YValues[3], YValues[4]},
           {"0.8V", "0.4V", "0.0V", "-0.4V", "-0.8V"}, Qt::white);
  SetTexts({XValues[4], XValues[3], XValues[2], XValues[1], XValues[0]},
           {"-0.8V", "-0.4V", "0.0V", "0.4V", "0.8V"}, Qt::white);
  for (QLabel* title : {YAxisTextTop, YAxisTextBottom, XAxisText}) title->hide();
  static const std::array<int, 5> xLefts[] = {
      {369, 449, 529, 609, 689}, {425, 525, 625, 725, 825}, {550, 675, 800, 925, 1050}};
  static const int yLeft[] = {284, 340, 438};
  static const int yWidth[] = {90, 90, 135};
  PlaceAxisLabels(yLeft[LayoutMode], yWidth[LayoutMode], xLefts[LayoutMode]);
  if (LayoutMode != 1)
    for (QLabel* label : XValues) SetPointSize(label, LayoutMode == 0 ? 7 : 14);
  PlaceAlignmentReadout();
  UpdateTitle();
}

// Right of the plot's frame, where the two larger layouts leave room; the
// smallest has none.
void TMainForm::PlaceAlignmentReadout() {
  if (LayoutMode == 0) return;
  const int left = RightPanel->geometry().right() + 12;
  alignmentReadout_->setGeometry(left, GraphBox->y(), width() - left - 10, GraphHeight);
  alignmentReadout_->show();
}

// The group is hidden in this design; its choice comes from the settings.
void TMainForm::PlotTypeGroupClick(int item) {
  if (CurrentView == SignalView && item != Persisted.EncoderPlotType) {
    Persisted.EncoderPlotType = item;
    DrawPlotGrid();
    ShowEncoderPlotDescription();
  } else if (CurrentView == PositionView && item != Persisted.PositionPlotType) {
    Persisted.PositionPlotType = item;
    ShowPositionAxisTitles();
    if (Connection) Connection->MarkPositionAxisChanged();
  }
  WriteSettings();
}

void TMainForm::ShowEncoderPlotDescription() {
  PlotDescriptionText->setText(QStringLiteral("sine/cosine in volts"));
}

void TMainForm::ShowSignalStrengthView() {
  ShowPlotViewCommon();
  PlotNameText->setText(QStringLiteral(" Encoder Signal Strength Graph"));
  PlotDescriptionText->setText(QStringLiteral("encoder signal strength  vs.  position"));
  XAxisText->setText(QStringLiteral("Position in ") + Persisted.DisplayUnits);
  XAxisText->show();
  for (QLabel* title : {YAxisTextTop, YAxisTextBottom}) title->hide();
  const auto y = {YValues[0], YValues[1], YValues[2], YValues[3], YValues[4]};
  if (modelCode_ <= 2)
    SetTexts(y, {"0.8V", "0.6V", "0.4V", "0.2V", "0.0V"}, Qt::white);
  else
    SetTexts(y, {"1.6V", "1.2V", "0.8V", "0.4V", "0.0V"}, Qt::white);
  SetTexts({XValues[0], XValues[1], XValues[2], XValues[3], XValues[4]},
           {"1.6V", "1.2V", "0.8V", "0.4V", "0.0V"}, Qt::white);
  static const int yLeft[] = {244, 290, 368};
  static const int yWidth[] = {90, 90, 135};
  static const std::array<int, 5> xLefts[] = {
      {329, 429, 529, 629, 709}, {375, 500, 625, 750, 875}, {480, 640, 800, 960, 1120}};
  PlaceAxisLabels(yLeft[LayoutMode], yWidth[LayoutMode], xLefts[LayoutMode]);
  if (LayoutMode != 1 && screen_.dotsPerInch > 96)
    for (QLabel* label : XValues) SetPointSize(label, LayoutMode == 0 ? 6 : 11);
  UpdateTitle();
}

void TMainForm::ShowPositionView() {
  ShowPlotViewCommon();
  PlotNameText->setText(QStringLiteral(" Encoder Position Graph"));
  PlotDescriptionText->setText(QStringLiteral("Encoder Position vs. Time"));
  PlotTypeGroup->setTitle(QStringLiteral("Plots to Display"));
  PlotTypeGroup->SetItems({"position", "velocity", "both"});
  PlotTypeGroup->SetItemIndex(Persisted.PositionPlotType);
  SetTexts({YValues[0], YValues[1], YValues[2], YValues[3], YValues[4]},
           {"1.00", "0.75", "0.50", "0.25", "0"}, kLime);
  SetTexts({YValues[5], YValues[6], YValues[7], YValues[8], YValues[9]},
           {"1.00", "0.75", "0.50", "0.25", "0"}, kRed);
  if (ViewState[PositionView] != ActionLive)
    SetTexts({XValues[4], XValues[3], XValues[2], XValues[1], XValues[0]},
             {"0", "0.2", "0.5", "0.7", "1.0"}, Qt::white);
  static const int yLeft[] = {208, 236, 282};
  static const int yWidth[] = {140, 144, 221};
  static const std::array<int, 5> xLefts[] = {
      {329, 429, 529, 629, 709}, {375, 500, 625, 750, 875}, {480, 640, 800, 960, 1120}};
  PlaceAxisLabels(yLeft[LayoutMode], yWidth[LayoutMode], xLefts[LayoutMode]);
  if (LayoutMode != 1 && screen_.dotsPerInch > 96)
    for (QLabel* label : XValues) SetPointSize(label, LayoutMode == 0 ? 6 : 11);
  ShowPositionAxisTitles();
  UpdateTitle();
}

void TMainForm::ShowPositionAxisTitles() {
  static const char* const descriptions[] = {"position  vs.  time", "velocity  vs.  time",
                                             "position and velocity  vs.  time"};
  const int type = std::clamp(Persisted.PositionPlotType, 0, 2);
  const bool position = type != 1;
  const bool velocity = type != 0;
  PlotDescriptionText->setText(QString::fromLatin1(descriptions[type]));
  YAxisTextTop->setText(QStringLiteral("Pos in ") + Persisted.DisplayUnits);
  YAxisTextBottom->setText(QStringLiteral("Vel in ") + Persisted.DisplayUnits +
                           QStringLiteral("/sec"));
  YAxisTextTop->setVisible(position);
  YAxisTextBottom->setVisible(velocity);
  for (int i = 0; i < 5; ++i) {
    YValues[i]->setVisible(position);
    YValues[i + 5]->setVisible(velocity);
  }
  XAxisText->setText(QStringLiteral("Time in ") + TimeUnits);
  XAxisText->show();
}

void TMainForm::ClearGraph() {
  GraphBox->Image().fill(Qt::black);
  GraphBox->Changed();
}

void TMainForm::DrawPlotGrid() {
  if (CurrentView < SignalView || CurrentView > PositionView) return;
  const bool circles = CurrentView == SignalView;
  const PixelStamp::Key key{double(circles), double(LayoutMode), double(modelCode_),
                            Persisted.MinimumCircle, Persisted.MaximumCircle};
  gridStamp_.Apply(GraphBox->Image(), key, [&](QPainter& painter) {
    circles ? DrawEncoderSignalGrid(painter) : DrawTimePlotGrid(painter);
  });
  GraphBox->Changed();
}

void TMainForm::DrawEncoderSignalGrid(QPainter& painter) {
  static const std::vector<int> large{62, 125, 187, 250, 313, 375, 438};
  const std::vector<int> lines = LayoutMode == 2   ? large
                                 : LayoutMode == 1 ? Steps(50, 350, 50)
                                                   : Steps(40, 280, 40);
  DrawGridLines(painter, GraphBox->Image().size(), lines, lines);
  // Reference circles by their bounding squares.
  struct Circles {
    int outerFrom, outerTo, innerFrom, innerTo;  // models 0 to 2
    float centre, radius, offset;                // later models: |c - k r| to |k r + o|
  };
  static const Circles circles[] = {{10, 310, 112, 208, 150, 180, 172},
                                    {10, 390, 140, 260, 190, 240, 212},
                                    {16, 484, 178, 322, 240, 310, 262}};
  const Circles& c = circles[LayoutMode];
  painter.setPen(QPen(kGreen, 2));
  painter.setBrush(Qt::NoBrush);
  const auto square = [&](int from, int to) {
    painter.drawEllipse(QRect(QPoint(from, from), QPoint(to - 1, to - 1)));
  };
  if (modelCode_ <= 2) {
    square(c.outerFrom, c.outerTo);
    square(c.innerFrom, c.innerTo);
    return;
  }
  for (float r : {Persisted.MinimumCircle, Persisted.MaximumCircle})
    square(std::abs(static_cast<int>(c.centre - c.radius * r)),
           std::abs(static_cast<int>(c.radius * r + c.offset)));
}

void TMainForm::DrawTimePlotGrid(QPainter& painter) {
  const QSize size = GraphBox->Image().size();
  switch (LayoutMode) {
    case 2:
      DrawGridLines(painter, size, Steps(80, 560, 80), {63, 125, 187, 250, 313, 375, 438});
      return;
    case 1:
      DrawGridLines(painter, size, {63, 125, 188, 250, 313, 375, 438}, Steps(50, 350, 50));
      return;
    default: DrawGridLines(painter, size, Steps(50, 350, 50), Steps(40, 280, 40)); return;
  }
}

void TMainForm::FormPaint(QPainter& painter) {
  if (CurrentView == StatusView) DrawStatusFrames(painter);
  if (CurrentView >= StatusView && CurrentView <= PositionView) DrawNavigationFrames(painter);
}

void TMainForm::DrawStatusFrames(QPainter& painter) {
  const StatusFrames& f = kStatusFrames[LayoutMode];
  for (const int* open : {f.position, f.status, f.alarms})
    DrawOpenFrame(painter, open[0], open[1], open[2], open[3], open[4], open[5]);
  for (const int* box : {f.alarmsBox, f.positionBox})
    DrawRaisedBox(painter, box[0], box[1], box[2], box[3]);
  DrawRotatedText(painter, AxisFont, f.optimal.x(), f.optimal.y(), QStringLiteral("Optimal"));
  DrawRotatedText(painter, AxisFont, f.poor.x(), f.poor.y(), QStringLiteral("Poor"));
}

void TMainForm::DrawNavigationFrames(QPainter& painter) {
  const NavigationBoxes& b = kNavigationBoxes[LayoutMode];
  DrawRaisedBox(painter, b.left, b.top1, b.right, b.bottom1);
  DrawRaisedBox(painter, b.left, b.top2, b.right, b.bottom2);
  if (CurrentView == StatusView) DrawRaisedBox(painter, b.left, b.top3, b.right, b.bottom3);
}

// The four buttons drawn as raised fill their boxes in every layout.
void TMainForm::PlaceFramedButtons() {
  const StatusFrames& f = kStatusFrames[LayoutMode];
  const NavigationBoxes& b = kNavigationBoxes[LayoutMode];
  ResetAlarmsButton->setGeometry(
      Inside(f.alarmsBox[0], f.alarmsBox[1], f.alarmsBox[2], f.alarmsBox[3]));
  ResetPositionButton->setGeometry(
      Inside(f.positionBox[0], f.positionBox[1], f.positionBox[2], f.positionBox[3]));
  CenterIndexButton->setGeometry(Inside(b.left, b.top1, b.right, b.bottom1));
  SetFrequencyButton->setGeometry(Inside(b.left, b.top2, b.right, b.bottom2));
  PositionButton->setGeometry(Inside(b.left, b.top3, b.right, b.bottom3));
}

}  // namespace quillon
