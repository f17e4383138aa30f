// A view's data buffer for spreadsheets: comma-separated values after
// RFC 4180 (fields quoted where they need it, CR LF row ends, UTF-8), one
// header row of column names with their units, then the rows the view's data
// file holds, oldest first. Positions and velocities are in the display
// units, as the window shows them; the signals are the electronics' words,
// as the data files keep them; each row's time is its interval since the
// sample before, as in the data files. Numbers use "." whatever the locale.
#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>

namespace quillon {

class ComData;

// A count is floor(count * positionScale) * countLength units, written
// with positionDigits decimals.
struct CsvUnits {
  QString name;
  float countLength = 1;
  float positionScale = 1;
  int32_t positionDigits = 0;
};

QByteArray BufferCsv(const ComData& data, int view, const CsvUnits& units);

// False when the file could not be written; a file already there stays as
// it was.
bool ExportCsv(const ComData& data, int view, const CsvUnits& units, const QString& fileName);

}  // namespace quillon
