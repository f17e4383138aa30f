// The set-up report as a PDF of one or two A4 pages, drawn with Qt's own
// PDF writer, and its text twin beside it.
#pragma once

#include <QImage>
#include <QString>

#include "setup_report.h"

namespace quillon {

struct ReportPictures {
  QImage lissajous, strength;  // null when there is none
};

// Writes `pdfPath` and the same name with ".txt"; false when either fails.
bool WriteSetupReport(const SetupReport& report, const ReportPictures& pictures,
                      const QString& pdfPath);

}  // namespace quillon
