// JSON as the program writes it: numbers in plain decimals, never in
// exponent notation, so that a time of eight microseconds reads 0.000008
// in a spreadsheet or a shell script as well as in a JSON parser.
#pragma once

#include <nlohmann/json.hpp>
#include <string>

namespace probelink_cli {

using Document = nlohmann::ordered_json;

// The shortest decimal that reads back as `value`, without an exponent.
std::string PlainDecimal(double value);
// One line (indent < 0), or indented by `indent` blanks a level.
std::string JsonText(const Document& document, int indent = -1);

}  // namespace probelink_cli
