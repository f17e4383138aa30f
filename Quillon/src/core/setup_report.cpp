#include "setup_report.h"

#include <iterator>

#include "alignment_rows.h"

namespace quillon {
namespace {

QString Line(const QString& name, const QString& value, const QString& unit = {}) {
  return name + QStringLiteral(" = ") + value + (unit.isEmpty() ? QString() : ' ' + unit) + '\n';
}

const char* VerdictName(Verdict verdict) {
  switch (verdict) {
    case Verdict::Good: return "good";
    case Verdict::Marginal: return "marginal";
    case Verdict::Poor: break;
  }
  return "poor";
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
  if (const auto* refusal = std::get_if<FitRefusal>(&r.alignment)) {
    text += Line(QStringLiteral("alignment"), QString::fromLatin1(RefusalText(*refusal)));
  } else {
    for (const FigureRow& row : FigureRows(std::get<AlignmentFigures>(r.alignment), r.tolerances)) {
      text += Line(QString::fromLatin1(row.name), QString::number(row.value, 'f', 4),
                   QString::fromLatin1(row.unit));
      if (row.verdict)
        text += Line(QString::fromLatin1(row.name) + "_verdict",
                     QString::fromLatin1(VerdictName(*row.verdict)));
    }
  }
  text += Line(QStringLiteral("alarm_history_entries"), QString::number(r.alarmHistory.size()));
  return text;
}

}  // namespace quillon
