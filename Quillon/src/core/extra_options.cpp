#include "extra_options.h"

#include <QDir>
#include <QSettings>
#include <cmath>

namespace quillon {
namespace {

void Read(const QSettings& file, const char* key, double& value) {
  bool ok = false;
  const double read = file.value(QString::fromLatin1(key)).toDouble(&ok);
  if (ok && std::isfinite(read) && read >= 0) value = read;
}

}  // namespace

ExtraOptions ReadExtraOptions(const QString& dir) {
  const QSettings file(QDir(dir).filePath(QString::fromLatin1(kExtraOptionsFile)),
                       QSettings::IniFormat);
  ExtraOptions o;
  o.allControls = file.value(QStringLiteral("allcontrols"), false).toBool();
  AlignmentTolerances& t = o.tolerances;
  for (const auto& [key, value] : {std::pair{"tolerances/offset_good", &t.offsetGood},
                                   {"tolerances/offset_marginal", &t.offsetMarginal},
                                   {"tolerances/ratio_good", &t.ratioGood},
                                   {"tolerances/ratio_marginal", &t.ratioMarginal},
                                   {"tolerances/phase_good", &t.phaseGood},
                                   {"tolerances/phase_marginal", &t.phaseMarginal},
                                   {"tolerances/level_good_low", &t.levelGoodLow},
                                   {"tolerances/level_good_high", &t.levelGoodHigh},
                                   {"tolerances/level_marginal_low", &t.levelMarginalLow},
                                   {"tolerances/level_marginal_high", &t.levelMarginalHigh}})
    Read(file, key, *value);
  return o;
}

Verdict Judge(double distance, double good, double marginal) {
  const double d = std::fabs(distance);
  if (d <= good) return Verdict::Good;
  return d <= marginal ? Verdict::Marginal : Verdict::Poor;
}

Verdict JudgeLevel(double level, const AlignmentTolerances& t) {
  if (level >= t.levelGoodLow && level <= t.levelGoodHigh) return Verdict::Good;
  if (level >= t.levelMarginalLow && level <= t.levelMarginalHigh) return Verdict::Marginal;
  return Verdict::Poor;
}

}  // namespace quillon
