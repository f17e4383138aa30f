#include "printer.h"

#include <algorithm>
#include <iomanip>

#include "quantities.h"

namespace probelink_cli {
namespace {

constexpr size_t kNarrowestColumn = 8;

std::string Text(const Document& value) {
  if (value.is_string()) return value.get<std::string>();
  if (value.is_number_float()) return PlainDecimal(value.get<double>());
  if (value.is_boolean()) return value.get<bool>() ? "yes" : "no";
  if (value.is_null()) return "-";
  return value.dump();
}

// A value for people: numbers with their unit.
std::string WithUnit(const std::string& key, const Document& value) {
  const std::string unit = UnitOf(key);
  return value.is_number() && !unit.empty() ? Text(value) + " " + unit : Text(value);
}

bool IsTable(const Document& value) {
  return value.is_array() && !value.empty() && value.front().is_object();
}

void PrintRow(std::ostream& out, const std::vector<std::string>& cells,
              const std::vector<size_t>& widths) {
  for (size_t i = 0; i < cells.size(); ++i) {
    const bool last = i + 1 == cells.size();
    out << (last ? cells[i]
                 : cells[i] +
                       std::string(widths[i] + 2 - std::min(widths[i], cells[i].size()), ' '));
  }
  out << '\n';
}

void PrintTable(std::ostream& out, const Document& rows) {
  std::vector<std::string> header;
  for (const auto& [key, value] : rows.front().items()) header.push_back(QuantityName(key));
  std::vector<std::vector<std::string>> cells{header};
  for (const Document& row : rows) {
    cells.emplace_back();
    for (const auto& [key, value] : row.items()) cells.back().push_back(WithUnit(key, value));
  }
  std::vector<size_t> widths(header.size());
  for (const auto& line : cells)
    for (size_t i = 0; i < line.size() && i < widths.size(); ++i)
      widths[i] = std::max(widths[i], line[i].size());
  for (const auto& line : cells) PrintRow(out, line, widths);
}

void PrintForPeople(std::ostream& out, const Document& document) {
  size_t width = 0;
  for (const auto& [key, value] : document.items())
    if (!IsTable(value)) width = std::max(width, QuantityName(key).size());
  for (const auto& [key, value] : document.items()) {
    if (IsTable(value)) {
      PrintTable(out, value);
      continue;
    }
    out << std::left << std::setw(static_cast<int>(width + 2)) << QuantityName(key) + ":"
        << WithUnit(key, value) << '\n';
  }
}

std::string Joined(const std::vector<std::string>& items) {
  std::string line;
  for (const std::string& item : items) line += (line.empty() ? "" : ",") + item;
  return line;
}

}  // namespace

void PrintDocument(std::ostream& out, const Document& document, bool json) {
  if (json)
    out << JsonText(document, 2) << '\n';
  else
    PrintForPeople(out, document);
  out.flush();
}

bool RecordPrinter::Print(const Document& record) {
  if (style_ == LineStyle::Json) {
    out_ << JsonText(record) << std::endl;
    return out_.good();
  }
  std::vector<std::string> headings, cells;
  const bool first = widths_.empty();
  for (const auto& [key, value] : record.items()) {
    // Texts carry their own units, as the alignment meter's cells do.
    if (first) headings.push_back(value.is_string() ? key : Heading(key));
    cells.push_back(style_ == LineStyle::Csv && value.is_null() ? "" : Text(value));
  }
  if (first)
    for (size_t i = 0; i < headings.size(); ++i)
      widths_.push_back(std::max({headings[i].size(), cells[i].size(), kNarrowestColumn}));
  if (style_ == LineStyle::Csv) {
    if (first) out_ << Joined(headings) << '\n';
    out_ << Joined(cells) << std::endl;
    return out_.good();
  }
  if (first) PrintRow(out_, headings, widths_);
  PrintRow(out_, cells, widths_);
  out_.flush();
  return out_.good();
}

}  // namespace probelink_cli
