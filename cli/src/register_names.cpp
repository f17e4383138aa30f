#include "register_names.h"

#include <cctype>

#include "electronics.h"

namespace probelink_cli {
namespace {

constexpr std::string_view kAddr = "addr";

// Lower case without blanks, so that "GainX  Addr 10" and "gainx addr10"
// compare equal.
std::string Folded(std::string_view text) {
  std::string folded;
  for (const char c : text)
    if (c != ' ') folded += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return folded;
}

bool Names(std::string_view caption, const std::string& wanted) {
  const std::string folded = Folded(caption);
  const size_t addr = folded.rfind(kAddr);
  const std::string name = folded.substr(0, addr), address = folded.substr(addr);
  return wanted == folded || wanted == address || (!name.empty() && wanted == name);
}

std::string Quoted(const char* caption) { return std::string("\"") + caption + "\""; }

}  // namespace

std::optional<std::string> CaptionOf(uint8_t reg) {
  for (const RegisterCaption& entry : kSurvey)
    if (entry.reg == reg) return entry.caption;
  return std::nullopt;
}

std::optional<uint8_t> RegisterNamed(std::string_view text) {
  const std::string wanted = Folded(text);
  for (const RegisterCaption& entry : kSurvey)
    if (Names(entry.caption, wanted)) return entry.reg;
  return std::nullopt;
}

std::optional<std::string> WhyUnreadable(int number) {
  if (number < reg::kWriteOffset) return std::nullopt;
  if (number == reg::kCommand)
    return Hex(number, 2) +
           " is the command register, which can only be written (zero and "
           "center-index send its commands)";
  const int written = number - reg::kWriteOffset;
  const auto caption = CaptionOf(static_cast<uint8_t>(written));
  return Hex(number, 2) + " is the address that writes register " + Hex(written, 2) +
         (caption ? " (" + Quoted(caption->c_str()) + ")" : std::string()) +
         " and cannot be read: read " + Hex(written, 2) + " instead";
}

std::optional<std::string> DisplayAddressNote(uint8_t reg) {
  if (CaptionOf(reg)) return std::nullopt;
  const std::string address = Folded(std::string("Addr ") + Hex(reg, 2).substr(2));
  for (const RegisterCaption& entry : kSurvey)
    if (Folded(entry.caption).ends_with(address))
      return "register " + Hex(reg, 2) + " is not on the engineering display; its " +
             Quoted(entry.caption) + " is register " + Hex(entry.reg, 2);
  return std::nullopt;
}

}  // namespace probelink_cli
