// A set-up record to hand over: what the electronics are, how they are set,
// what they read, how well the head is aligned, and the alarm history. The
// window and the command line fill it; the PDF and its text twin are
// written from it.
#pragma once

#include <QDateTime>
#include <QString>
#include <QList>
#include <QMap>
#include <QPair>
#include <QStringList>
#include <vector>

#include "com_data.h"
#include "measure/alignment_fit.h"
#include "measure/tolerances.h"

namespace quillon {

struct ReportField {
  QString name;   // stable, for scripts: "firmware"
  QString label;  // for people
  QString value;
  QString unit;
};

struct SetupReport {
  QDateTime taken;
  QString software;  // "Quillon 1.0"
  bool connected = false;
  QString port, device;  // "COM1" and what it maps to
  QList<QPair<QString, QString>> fields;  // the user's: serial, operator, machine, axis...
  std::vector<ReportField> identification, setup, status;
  measure::AlignmentFit alignment = measure::FitRefusal::TooFewSamples;
  measure::AlignmentTolerances tolerances;
  double measuredSeconds = 0;  // over which the figures' samples came
  QStringList alarmsSeen;      // "Red Alarm", "Yellow Alarm", "Over Signal" met while measuring
  QStringList alarmHistory;    // newest first, as the window keeps it
  QMap<QString, double> baseline;  // an earlier report's figures, by name
  QString loaded;                  // in demo mode: what data is loaded
};

// The verdict over every judged figure: "PASS", "MARGINAL", "FAIL", or "NO
// FIGURES" when there are none to judge.
QString OverallVerdict(const SetupReport& report);

// ISO 8601 with the time zone's offset: 2026-12-07T10:45:12+01:00.
QString IsoDate(const QDateTime& taken);

// One "name = value unit" line per quantity, for scripts.
QString ReportText(const SetupReport& report);

// The figures of an earlier report's text twin, by name; empty when the
// file cannot be read.
QMap<QString, double> ReadBaseline(const QString& path);

// The electronics as they identified themselves.
std::vector<ReportField> IdentificationFields(const DeviceInfo& info);
// How they are set: the interpolation and the output frequency.
std::vector<ReportField> SetupFields(int32_t interpolationCode, uint32_t statusSetup);
// The output frequency of a setting (0 to 6) as the status page shows it,
// with its leading blank; empty for a setting without one.
QString OutputFrequencyText(uint32_t setting);

}  // namespace quillon
