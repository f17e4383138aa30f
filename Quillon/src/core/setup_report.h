// A set-up record to hand over: what the electronics are, how they are set,
// what they read, how well the head is aligned, and the alarm history. The
// window and the command line fill it; the PDF and its text twin are
// written from it.
#pragma once

#include <QDateTime>
#include <QString>
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
  bool connected = false;
  QString port, device;  // "COM1" and what it maps to
  std::vector<ReportField> identification, setup, status;
  measure::AlignmentFit alignment = measure::FitRefusal::TooFewSamples;
  measure::AlignmentTolerances tolerances;
  QStringList alarmHistory;  // newest first, as the window keeps it
  QString loaded;            // in demo mode: what data is loaded
};

// One "name = value unit" line per figure, for scripts.
QString ReportText(const SetupReport& report);

// The electronics as they identified themselves.
std::vector<ReportField> IdentificationFields(const DeviceInfo& info);
// How they are set: the interpolation and the output frequency.
std::vector<ReportField> SetupFields(int32_t interpolationCode, uint32_t statusSetup);
// The output frequency of a setting (0 to 6) as the status page shows it,
// with its leading blank; empty for a setting without one.
QString OutputFrequencyText(uint32_t setting);

}  // namespace quillon
