// How results reach standard output: one document, for people or as JSON,
// and lines of records (CSV, JSON lines, or columns for people), each
// flushed at once so that a pipe sees it as it comes. People and column
// headings get each value's unit from its key.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "plain_json.h"

namespace probelink_cli {

// Scalars as "label: value unit" lines, arrays of objects as tables; or JSON.
void PrintDocument(std::ostream& out, const Document& document, bool json);

enum class LineStyle { Csv, Json, Columns };

class RecordPrinter {
 public:
  RecordPrinter(std::ostream& out, LineStyle style) : out_(out), style_(style) {}
  // A flat object; the CSV and column styles head their first line with its
  // keys and units ("position (counts)"). False once standard output is
  // gone (a closed pipe).
  bool Print(const Document& record);

 private:
  std::ostream& out_;
  const LineStyle style_;
  std::vector<size_t> widths_;  // of the columns, set by the first record
};

}  // namespace probelink_cli
