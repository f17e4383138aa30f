// The set-up report without the window, for production scripts: find the
// electronics (or use the port given), read their status, alignment and
// signal strength for a while, write the report and its text twin, and say
// in one line why not when that fails.
#pragma once

#include <QList>
#include <QMap>
#include <QPair>
#include <QString>

namespace quillon {

struct ReportRequest {
  QString pdf;
  int port = 0;  // 0: search COM1 to COM16
  double seconds = 5;
  QList<QPair<QString, QString>> fields;  // the user's: serial, operator, machine, axis...
  QMap<QString, double> baseline;         // an earlier report's figures, by name
};

// How `Quillon --report` ends; the same numbers as probelink-cli's where the
// meaning is the same.
enum ReportExit {
  kReportWithinTolerance = 0,
  kReportNoFigures = 1,  // no electronics, a failed line, or no figures to judge
  kReportUsage = 2,
  kReportNotWritten = 3,
  kReportOutOfTolerance = 4,
  kReportInterrupted = 130,  // Ctrl-C or SIGTERM: nothing written
};

int RunReportCommand(const ReportRequest& request);

}  // namespace quillon
