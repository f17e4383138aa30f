#include "setup_report.h"

#include <QFile>
#include <cstdlib>
#include <iterator>

#include "measure/figure_rows.h"

namespace quillon {
namespace {

QString Line(const QString& name, const QString& value, const QString& unit = {}) {
  return name + QStringLiteral(" = ") + value + (unit.isEmpty() ? QString() : ' ' + unit) + '\n';
}

QString Latin(const char* text) { return QString::fromLatin1(text); }

// Each figure with its spread along the travel, its verdict and bounds, and
// its change since the baseline.
QString AlignmentLines(const SetupReport& r) {
  if (const auto* refusal = std::get_if<measure::FitRefusal>(&r.alignment))
    return Line(QStringLiteral("alignment"), QString::fromUtf8(measure::RefusalText(*refusal)));
  const auto& figures = std::get<measure::AlignmentFigures>(r.alignment);
  QString text;
  for (const measure::FigureRow& row : measure::FigureRows(figures, r.tolerances)) {
    const QString name = Latin(row.name);
    const auto value = [&](double v) {
      return QString::fromStdString(measure::FormatValue(v, row.decimals));
    };
    text += Line(name, value(row.figure.value), Latin(row.unit));
    text += Line(name + "_min", value(row.figure.min), Latin(row.unit));
    text += Line(name + "_max", value(row.figure.max), Latin(row.unit));
    if (row.band) text += Line(name + "_band", Latin(row.band));
    if (row.verdict) {
      text += Line(name + "_verdict", Latin(measure::VerdictName(*row.verdict)));
      text += Line(name + "_tolerance", QString::fromStdString(row.tolerance));
    }
    if (r.baseline.contains(name))
      text += Line(name + "_change", value(row.figure.value - r.baseline.value(name)),
                   Latin(row.unit));
  }
  text += Line(QStringLiteral("alignment_samples"), QString::number(figures.samples));
  text += Line(QStringLiteral("alignment_periods"), QString::number(figures.periods, 'f', 1));
  return text;
}

QString FrequencyMHz(uint32_t setting) {
  static const char* const mhz[] = {"14.4", "7.2", "3.6", "1.8", "0.9", "0.45", "0.225"};
  return setting < std::size(mhz) ? QString::fromLatin1(mhz[setting]) : QStringLiteral("-");
}

const char* const kModelNames[] = {"Kestrel", "Kestrel", "Heron", "Osprey", "Plover"};

}  // namespace

QString OutputFrequencyText(uint32_t setting) {
  static const char* const frequencies[] = {" 14.4 MHz", " 7.2 MHz", " 3.6 MHz", " 1.8 MHz",
                                            " 900 kHz",  " 450 kHz", " 225 kHz"};
  return setting < std::size(frequencies) ? QString::fromLatin1(frequencies[setting]) : QString();
}

std::vector<ReportField> IdentificationFields(const DeviceInfo& info) {
  const int model = (info.modelRegister >> 5) & 0xF;
  const QString name = model < int(std::size(kModelNames)) ? QString::fromLatin1(kModelNames[model])
                                                             : QStringLiteral("unknown");
  const QString firmware =
      QStringLiteral("%1").arg(info.mspVersion & 0xFFFF, 4, 16, QLatin1Char('0')).toUpper();
  return {{"model", "Model", name, {}},
          {"model_code", "Model code", QString::number(model), {}},
          {"firmware", "Firmware", QStringLiteral("0x") + firmware, {}},
          {"power_on_hours", "Power-on time", QString::number(info.powerOnHours), "h"},
          {"power_on_cycles", "Power-on cycles", QString::number(info.powerOnCycles), {}}};
}

std::vector<ReportField> SetupFields(int32_t interpolationCode, uint32_t statusSetup) {
  return {{"interpolation", "Interpolation", QString::number(interpolationCode + 1), {}},
          {"output_frequency", "Output frequency", FrequencyMHz(statusSetup & 7), "MHz"}};
}

QString IsoDate(const QDateTime& taken) {
  const int offset = taken.offsetFromUtc() / 60;
  return taken.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")) + (offset < 0 ? '-' : '+') +
         QStringLiteral("%1:%2")
             .arg(std::abs(offset) / 60, 2, 10, QLatin1Char('0'))
             .arg(std::abs(offset) % 60, 2, 10, QLatin1Char('0'));
}

QString OverallVerdict(const SetupReport& r) {
  const auto* figures = std::get_if<measure::AlignmentFigures>(&r.alignment);
  if (!figures) return QStringLiteral("NO FIGURES");
  switch (measure::OverallVerdict(measure::FigureRows(*figures, r.tolerances))) {
    case measure::Verdict::Good: return QStringLiteral("PASS");
    case measure::Verdict::Marginal: return QStringLiteral("MARGINAL");
    case measure::Verdict::Poor: break;
  }
  return QStringLiteral("FAIL");
}

QString ReportText(const SetupReport& r) {
  QString text = Line(QStringLiteral("verdict"), OverallVerdict(r));
  text += Line(QStringLiteral("software"), r.software);
  text += Line(QStringLiteral("date"), IsoDate(r.taken));
  text += Line(QStringLiteral("connected"), r.connected ? QStringLiteral("yes") : QStringLiteral("no"));
  if (!r.port.isEmpty()) text += Line(QStringLiteral("port"), r.port);
  if (!r.device.isEmpty()) text += Line(QStringLiteral("device"), r.device);
  for (const auto& [name, value] : r.fields) text += Line(QStringLiteral("field_") + name, value);
  if (!r.loaded.isEmpty()) text += Line(QStringLiteral("loaded"), r.loaded);
  for (const auto* fields : {&r.identification, &r.setup, &r.status})
    for (const ReportField& f : *fields) text += Line(f.name, f.value, f.unit);
  text += AlignmentLines(r);
  if (r.measuredSeconds > 0)
    text += Line(QStringLiteral("measured_seconds"), QString::number(r.measuredSeconds, 'f', 1),
                 QStringLiteral("s"));
  text += Line(QStringLiteral("alarms_seen"),
               r.alarmsSeen.isEmpty() ? QStringLiteral("none") : r.alarmsSeen.join(QStringLiteral(", ")));
  text += Line(QStringLiteral("alarm_history_entries"), QString::number(r.alarmHistory.size()));
  return text;
}

QMap<QString, double> ReadBaseline(const QString& path) {
  QFile file(path);
  QMap<QString, double> figures;
  if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return figures;
  while (!file.atEnd()) {
    const QString line = QString::fromUtf8(file.readLine()).trimmed();
    const qsizetype equals = line.indexOf(QStringLiteral(" = "));
    bool number = false;
    const double value = line.mid(equals + 3).section(' ', 0, 0).toDouble(&number);
    if (equals > 0 && number) figures.insert(line.left(equals), value);
  }
  return figures;
}

}  // namespace quillon
