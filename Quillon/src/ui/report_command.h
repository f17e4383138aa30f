// The set-up report without the window, for production scripts: find the
// electronics (or use the port given), read their status and alignment for a
// while, write the report and its text twin, and say in one line why not
// when that fails.
#pragma once

#include <QString>

namespace quillon {

struct ReportRequest {
  QString pdf;
  int port = 0;  // 0: search COM1 to COM16
  double seconds = 5;
};

// The process's exit status: 0 written, 1 no electronics or a failure on the
// line, 2 the report could not be written.
int RunReportCommand(const ReportRequest& request);

}  // namespace quillon
