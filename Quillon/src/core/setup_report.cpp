#include "setup_report.h"

#include <iterator>

#include "measure/figure_rows.h"

namespace quillon {
namespace {

QString Line(const QString& name, const QString& value, const QString& unit = {}) {
  return name + QStringLiteral(" = ") + value + (unit.isEmpty() ? QString() : ' ' + unit) + '\n';
}

QString Latin(const char* text) { return QString::fromLatin1(text); }

// Each figure with its spread along the travel and its verdict.
QString AlignmentLines(const measure::AlignmentFit& fit, const measure::AlignmentTolerances& t) {
  if (const auto* refusal = std::get_if<measure::FitRefusal>(&fit))
    return Line(QStringLiteral("alignment"), QString::fromUtf8(measure::RefusalText(*refusal)));
  const auto& figures = std::get<measure::AlignmentFigures>(fit);
  QString text;
  for (const measure::FigureRow& row : measure::FigureRows(figures, t)) {
    const QString name = Latin(row.name);
    const auto value = [&](double v) {
      return QString::fromStdString(measure::FormatValue(v, row.decimals));
    };
    text += Line(name, value(row.figure.value), Latin(row.unit));
    text += Line(name + "_min", value(row.figure.min), Latin(row.unit));
    text += Line(name + "_max", value(row.figure.max), Latin(row.unit));
    if (row.band) text += Line(name + "_band", Latin(row.band));
    if (row.verdict) text += Line(name + "_verdict", Latin(measure::VerdictName(*row.verdict)));
  }
  text += Line(QStringLiteral("alignment_samples"), QString::number(figures.samples));
  text += Line(QStringLiteral("alignment_stretches"), QString::number(figures.stretches));
  text += Line(QStringLiteral("alignment_periods"), QString::number(figures.periods, 'f', 1));
  return text;
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
  return {{"model", "Model", QStringLiteral("%1 (%2)").arg(name).arg(model), {}},
          {"firmware", "Firmware", QStringLiteral("%1").arg(info.mspVersion, 4, 16, QLatin1Char('0')).toUpper(), {}},
          {"power_on_hours", "Power-on time", QString::number(info.powerOnHours), "h"},
          {"power_on_cycles", "Power-on cycles", QString::number(info.powerOnCycles), {}}};
}

std::vector<ReportField> SetupFields(int32_t interpolationCode, uint32_t statusSetup) {
  return {{"interpolation", "Interpolation", QString::number(interpolationCode + 1), {}},
          {"output_frequency", "Output frequency", OutputFrequencyText(statusSetup & 7).trimmed(),
           {}}};
}

QString ReportText(const SetupReport& r) {
  QString text = Line(QStringLiteral("date"), r.taken.toString(Qt::ISODate));
  text += Line(QStringLiteral("connected"), r.connected ? QStringLiteral("yes") : QStringLiteral("no"));
  if (!r.port.isEmpty()) text += Line(QStringLiteral("port"), r.port);
  if (!r.device.isEmpty()) text += Line(QStringLiteral("device"), r.device);
  if (!r.loaded.isEmpty()) text += Line(QStringLiteral("loaded"), r.loaded);
  for (const auto* fields : {&r.identification, &r.setup, &r.status})
    for (const ReportField& f : *fields) text += Line(f.name, f.value, f.unit);
  text += AlignmentLines(r.alignment, r.tolerances);
  text += Line(QStringLiteral("alarm_history_entries"), QString::number(r.alarmHistory.size()));
  return text;
}

}  // namespace quillon
