#include "printer.h"

#include <algorithm>
#include <cstdio>
#include <iomanip>
#include <string>

namespace probelink_cli {
namespace {

constexpr size_t kNarrowestColumn = 8;

// Fixed decimals, so that a spreadsheet never meets 6e-06.
std::string Decimal(double value) {
  std::string text(32, '\0');
  text.resize(static_cast<size_t>(std::snprintf(text.data(), text.size(), "%.6f", value)));
  text.erase(text.find_last_not_of('0') + 1);
  if (text.back() == '.') text.pop_back();
  return text;
}

std::string Text(const Document& value) {
  if (value.is_string()) return value.get<std::string>();
  if (value.is_number_float()) return Decimal(value.get<double>());
  if (value.is_boolean()) return value.get<bool>() ? "yes" : "no";
  if (value.is_null()) return "-";
  return value.dump();
}

std::string Label(std::string key) {
  std::replace(key.begin(), key.end(), '_', ' ');
  return key;
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
  for (const auto& [key, value] : rows.front().items()) header.push_back(Label(key));
  std::vector<std::vector<std::string>> cells{header};
  for (const Document& row : rows) {
    cells.emplace_back();
    for (const auto& [key, value] : row.items()) cells.back().push_back(Text(value));
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
    if (!IsTable(value)) width = std::max(width, key.size());
  for (const auto& [key, value] : document.items()) {
    if (IsTable(value)) {
      PrintTable(out, value);
      continue;
    }
    out << std::left << std::setw(static_cast<int>(width + 2)) << Label(key) + ":" << Text(value)
        << '\n';
  }
}

}  // namespace

void PrintDocument(std::ostream& out, const Document& document, bool json) {
  if (json)
    out << document.dump(2) << '\n';
  else
    PrintForPeople(out, document);
  out.flush();
}

bool RecordPrinter::Print(const Document& record) {
  if (style_ == LineStyle::Json) {
    out_ << record.dump() << std::endl;
    return out_.good();
  }
  std::vector<std::string> keys, cells;
  for (const auto& [key, value] : record.items()) {
    keys.push_back(key);
    cells.push_back(Text(value));
  }
  const bool first = widths_.empty();
  if (first)
    for (size_t i = 0; i < keys.size(); ++i)
      widths_.push_back(std::max({keys[i].size(), cells[i].size(), kNarrowestColumn}));
  if (style_ == LineStyle::Csv) {
    const auto joined = [](const std::vector<std::string>& items) {
      std::string line;
      for (const std::string& item : items) line += (line.empty() ? "" : ",") + item;
      return line;
    };
    if (first) out_ << joined(keys) << '\n';
    out_ << joined(cells) << std::endl;
    return out_.good();
  }
  if (first) PrintRow(out_, keys, widths_);
  PrintRow(out_, cells, widths_);
  out_.flush();
  return out_.good();
}

}  // namespace probelink_cli
