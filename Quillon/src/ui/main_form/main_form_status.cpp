// The status panel fed by the status acquisition, the resolution, the
// window titles and the hand-over of a view's display state to the
// connection.
#include <QAction>
#include <QDateTime>
#include <QLabel>
#include <QLocale>
#include <cmath>
#include <utility>

#include "canvas_widgets.h"
#include "main_form.h"
#include "measure/signal_level.h"
#include "number_format.h"
#include "setup_report.h"
#include "status_bits.h"

namespace quillon {
namespace {

const QColor kRed(255, 0, 0);
const QColor kYellow(255, 255, 0);
const QColor kLime(0, 255, 0);
const QColor kGrey(128, 128, 128);

constexpr int kIndexGiveUp = 16;

// Thousands separators in the integer part of a fixed text.
QString Grouped(const QString& fixed) {
  const qsizetype point = fixed.indexOf(QLatin1Char('.'));
  qsizetype end = point < 0 ? fixed.size() : point;
  const qsizetype start = fixed.startsWith(QLatin1Char('-')) ? 1 : 0;
  QString text = fixed;
  for (qsizetype i = end - 3; i > start; i -= 3) text.insert(i, QLatin1Char(','));
  return text;
}

struct Resolution {
  double countLength;
  int digits, precision, decimals;
};

}  // namespace

void TMainForm::UpdateStatusDisplay(int32_t count, float signalLevel, int32_t status, float time,
                                    bool replaying, bool levelValid) {
  ShowPosition(count);
  TimeText2->setText(FormatFixed(time, 6, 1));
  ShowAlarmLamps(status);
  ShowIndex(status);
  std::optional<bool> overSignal;
  if (levelValid) overSignal = ShowSignalLevel(signalLevel);
  if (!replaying) LogAlarmHistory(status, overSignal);
}

void TMainForm::ShowPosition(int32_t count) {
  const float scaled = std::floor(static_cast<float>(count) * PositionScale);
  const double value = static_cast<double>(scaled) * CountLength;
  EncoderPositionText->setText(Grouped(FormatFixed(value, 20, Persisted.PositionDigits)));
}

// The lamps latch: only the alarm Reset button turns them grey again.
void TMainForm::ShowAlarmLamps(int32_t status) {
  if (status & bit::kRedAlarm) {
    RedShape->SetBrush(kRed);
    ++RedAlarmCount;
    YellowAlarmCount = 0;
    GreenCount = 0;
  } else if (status & bit::kYellowAlarm) {
    YellowShape->SetBrush(kYellow);
    ++YellowAlarmCount;
    RedAlarmCount = 0;
    GreenCount = 0;
  } else {
    YellowAlarmCount = 0;
    RedAlarmCount = 0;
    ++GreenCount;
  }
}

void TMainForm::CountIndexMiss() {
  if (++IndexMissCount != kIndexGiveUp) return;
  IndexCentering = false;
  IndexIdle = true;
  IndexMissCount = 0;
}

void TMainForm::ShowIndex(int32_t status) {
  const auto centred = [this] {
    IndexShape->SetBrush(kLime);
    IndexCentering = false;
    IndexBox->setText(QStringLiteral(" index centered"));
    IndexMissCount = 0;
  };
  if (status & bit::kCentring) {
    IndexCentering = true;
    IndexIdle = false;
    IndexBox->setText(QStringLiteral(" centering index..."));
    ++IndexMissCount;
    // Blinks with a period of three updates.
    if (IndexMissCount < 2) {
      IndexShape->SetBrush(kLime);
    } else if (IndexMissCount > 2) {
      IndexShape->SetBrush(kGrey);
      IndexMissCount = 0;
    }
  } else if (status & bit::kAtIndex) {
    AtIndex = true;
    if (!IndexCentering) {
      IndexBox->setText(QStringLiteral(" at index"));
      IndexShape->SetBrush(kLime);
      if (status & bit::kCentred) AtIndex = false;
    } else if (status & bit::kCentred) {
      AtIndex = false;
      centred();
    }
  } else if (status & bit::kCentred) {
    AtIndex = false;
    if (IndexCentering)
      centred();
    else if (!IndexIdle)
      CountIndexMiss();
  } else if (IndexIdle) {
    IndexBox->setText(AtIndex ? QStringLiteral(" at index") : QStringLiteral(" not at index"));
    IndexShape->SetBrush(AtIndex ? kLime : kGrey);
  } else {
    CountIndexMiss();
  }
}

bool TMainForm::ShowSignalLevel(float signalLevel) {
  const measure::LevelBand band = measure::BandOfBarLevel(measure::BarLevel(signalLevel));
  if (band == measure::LevelBand::OverSignal) {
    ++OverSignalCount;
    YellowAlarmCount = 0;
    RedAlarmCount = 0;
    GreenCount = 0;
    OverSignalShape->SetBrush(kRed);
    ShowBand(nullptr, nullptr);
    return true;
  }
  OverSignalCount = 0;
  if (band == measure::LevelBand::Good)
    ShowBand(greenleft, greenright);
  else if (band == measure::LevelBand::Marginal)
    ShowBand(yellowleft, yellowright);
  else
    ShowBand(redleft, redright);
  return false;
}

// Shows the one pair given (none for nullptr) and hides the others.
void TMainForm::ShowBand(QLabel* left, QLabel* right) {
  for (QLabel* band : {greenleft, greenright, darkgreenleft, darkgreenright, yellowleft,
                       yellowright, redleft, redright})
    band->setVisible(band == left || band == right);
}

// One entry for each change of the alarm situation, naming what came: an
// over-signal (even within a lasting alarm, as its sample restarts the alarm
// counts), else a new alarm, else what is left once one has gone. The level
// comes with every fourth sample only, so the over-signal holds between two
// levels; and only live levels count, so that a replay stopped within an
// over-signal leaves the live history as it was.
void TMainForm::LogAlarmHistory(int32_t status, std::optional<bool> overSignal) {
  if (overSignal) liveOverSignal_ = *overSignal;
  const AlarmSituation now{status & bit::kRedAlarm      ? AlarmEvent::Red
                           : status & bit::kYellowAlarm ? AlarmEvent::Yellow
                                                        : AlarmEvent::None,
                           liveOverSignal_};
  const std::optional<AlarmSituation> before = std::exchange(loggedSituation_, now);
  if (before == now) return;
  const bool overCame = now.overSignal && !(before && before->overSignal);
  const bool alarmCame = now.alarm != AlarmEvent::None && !(before && before->alarm == now.alarm);
  AlarmEvent event = now.overSignal ? AlarmEvent::OverSignal : now.alarm;
  if (!overCame && alarmCame) event = now.alarm;
  if (event == AlarmEvent::None) event = AlarmEvent::Green;
  static constexpr const char* kEvents[] = {"", "\tRed Alarm   \t", "\tYellow Alarm\t",
                                            "\tOver Signal \t", "\tGreen Level \t"};
  AlarmHistory.prepend(AlarmHistoryEntry(QString::fromLatin1(kEvents[static_cast<int>(event)])));
}

QString TMainForm::AlarmHistoryEntry(const QString& event) const {
  const QString units = UnitsBox->text();
  QString entry = event + EncoderPositionText->text().rightJustified(18, QLatin1Char(' ')) +
                  QLatin1Char('\t') + units;
  if (units.size() < 7 || units == QLatin1String("microns")) entry += QLatin1Char('\t');
  const QDateTime now = QDateTime::currentDateTime();
  return entry + QStringLiteral("\t   ") +
         QLocale::c().toString(now, QStringLiteral("MMMM d, yyyy ' at ' hh:mm:ss"));
}

void TMainForm::ShowResolution(int32_t interpolationCode) {
  if (modelCode_ > 2) interpolationCode = 0;
  const double n = interpolationCode + 1;
  const double p = GratingPitch;
  Resolution r{CountLength, Persisted.PositionDigits, resolutionPrecision_, resolutionDecimals_};
  if (Persisted.EncoderUnitType == 0) {
    switch (Persisted.DisplayUnitType) {
      case 0: r = {p * 1000 / n, 2, 9, 2}; break;
      case 1: r = {p / n, 5, 6, 5}; break;
      case 2: r = {p / (n * 1000), 8, 9, 8}; break;
      case 3: r = {p * 1000000 / (n * 25400), 4, 8, 4}; break;
      case 4: r = {p * 1000 / (n * 25400), 7, 9, 7}; break;
      case 5: r = {p / (n * 25400), 10, 11, 10}; break;
      default: break;
    }
  } else if (Persisted.EncoderUnitType == 1) {
    r = {1, 0, 2, 1};
  }
  CountLength = static_cast<float>(r.countLength);
  Persisted.PositionDigits = r.digits;
  resolutionPrecision_ = r.precision;
  resolutionDecimals_ = r.decimals;
  PositionScale = 1.0f;
  ResolutionBox->setText(QLatin1Char(' ') + FormatFixed(CountLength, r.precision, r.decimals) +
                         QLatin1Char(' ') + Persisted.DisplayUnits);
}

void TMainForm::ShowInterpolationAndFrequency(int32_t interpolationCode,
                                              uint32_t frequencyRegister) {
  InterpolationBox->setText(QString::number(interpolationCode + 1));
  const QString frequency = OutputFrequencyText(frequencyRegister & 7);
  if (!frequency.isEmpty()) FrequencyBox->setText(frequency);
}

void TMainForm::UpdateTitle() {
  static const char* const status[] = {
      "Norvale Systems II Veritrak Software - Data Display Stopped",
      "Norvale Systems Veritrak II Software - Displaying Live Data",
      "Norvale Systems Veritrak II Software - Data Display Stopped",
      "Norvale Systems Veritrak II Software - Viewing Buffered Data"};
  static const char* const plots[] = {
      "Norvale Systems Veritrak II Software - Display Stopped",
      "Norvale Systems Veritrak II Software  - Displaying Live Data",
      "Norvale Systems Veritrak II Software- Data Display Stopped",
      "Norvale Systems Veritrak II Software - Viewing Buffered Data"};
  static const char* const position[] = {
      "Norvale Systems Veritrak II Software - Display Stopped",
      "Norvale Systems Veritrak II Software  - Displaying Live Data",
      "Norvale Systems Veritrak II Software - Data Display Stopped",
      "Norvale Systems Veritrak II Software - Viewing Buffered Data"};
  if (CurrentView < StatusView || CurrentView > PositionView) return;
  const int state = ViewState[CurrentView];
  if (state < 0 || state > 3) return;
  const char* const* titles = CurrentView == StatusView     ? status
                              : CurrentView == PositionView ? position
                                                            : plots;
  setWindowTitle(QString::fromLatin1(titles[state]));
}

void TMainForm::ApplyViewState() {
  if (!Connection) return;
  if (CurrentView == EngineeringView) {
    if (!DemoMode) Connection->StartReadAll();
    return;
  }
  const int state = ViewState[CurrentView];
  // Without electronics the port is closed: a live start would only fail.
  if (!(DemoMode && state == ActionLive)) {
    switch (CurrentView) {
      case StatusView: Connection->StartStatus(state); break;
      case SignalView: Connection->StartSignal(state); break;
      case StrengthView: Connection->StartStrength(state); break;
      case PositionView: Connection->StartPosition(state); break;
      default: return;
    }
  }
  if (DemoMode) return;
  if (state == ActionView) {
    ResetDataBuffers1->setEnabled(false);
    commandBusy_ = false;
  } else {
    ResetDataBuffers1->setEnabled(true);
  }
}

void TMainForm::ShowModel(uint16_t modelRegister) {
  static const char* const models[] = {"for Kestrel", "for Kestrel", "for Heron II",
                                       "for Osprey II", "for Plover"};
  modelCode_ = (modelRegister >> 5) & 7;
  LogoText4->setVisible(modelCode_ <= 4);
  if (modelCode_ <= 4) LogoText4->setText(QString::fromLatin1(models[modelCode_]));
}

}  // namespace quillon
