#include "plain_json.h"

#include <charconv>
#include <cmath>

namespace probelink_cli {
namespace {

void Write(std::string& out, const Document& value, int indent, int depth);

void Break(std::string& out, int indent, int depth) {
  if (indent < 0) return;
  out += '\n';
  out.append(static_cast<size_t>(indent * depth), ' ');
}

// Objects and arrays alike: members between brackets, one a line when
// indented.
template <class Each>
void WriteContainer(std::string& out, char open, char close, bool empty, int indent, int depth,
                    Each each) {
  out += open;
  if (!empty) {
    each([&, first = true](const std::string* key, const Document& member) mutable {
      if (!first) out += ',';
      first = false;
      Break(out, indent, depth + 1);
      if (key) out += Document(*key).dump() + (indent < 0 ? ":" : ": ");
      Write(out, member, indent, depth + 1);
    });
    Break(out, indent, depth);
  }
  out += close;
}

void Write(std::string& out, const Document& value, int indent, int depth) {
  if (value.is_object()) {
    WriteContainer(out, '{', '}', value.empty(), indent, depth, [&](auto member) {
      for (const auto& [key, item] : value.items()) member(&key, item);
    });
  } else if (value.is_array()) {
    WriteContainer(out, '[', ']', value.empty(), indent, depth, [&](auto member) {
      for (const Document& item : value) member(nullptr, item);
    });
  } else if (value.is_number_float() && std::isfinite(value.get<double>())) {
    out += PlainDecimal(value.get<double>());
  } else {
    out += value.dump();
  }
}

}  // namespace

std::string PlainDecimal(double value) {
  char text[400];  // room for the largest double written out in full
  const auto [end, error] =
      std::to_chars(text, text + sizeof text, value + 0.0, std::chars_format::fixed);
  return error == std::errc() ? std::string(text, end) : std::string("null");
}

std::string JsonText(const Document& document, int indent) {
  std::string out;
  Write(out, document, indent, 0);
  return out;
}

}  // namespace probelink_cli
