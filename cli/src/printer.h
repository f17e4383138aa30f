// How results reach standard output: one document, for people or as JSON,
// and lines of records (CSV, JSON lines, or columns for people), each
// flushed at once so that a pipe sees it as it comes.
#pragma once

#include <nlohmann/json.hpp>
#include <ostream>
#include <vector>

namespace probelink_cli {

using Document = nlohmann::ordered_json;

// Scalars as "label: value" lines, arrays of objects as tables; or JSON.
void PrintDocument(std::ostream& out, const Document& document, bool json);

enum class LineStyle { Csv, Json, Columns };

class RecordPrinter {
 public:
  RecordPrinter(std::ostream& out, LineStyle style) : out_(out), style_(style) {}
  // A flat object; the CSV and column styles head their first line with its
  // keys. False once standard output is gone (a closed pipe).
  bool Print(const Document& record);

 private:
  std::ostream& out_;
  const LineStyle style_;
  std::vector<size_t> widths_;  // of the columns, set by the first record
};

}  // namespace probelink_cli
