#include "commands.h"
#include "electronics.h"
#include "exit_status.h"
#include "probelink.h"
#include "register_names.h"

namespace probelink_cli {
namespace {

Document NameOf(uint8_t reg) {
  const auto caption = CaptionOf(reg);
  return caption ? Document(*caption) : Document();
}

// Registers that the display shows under another "Addr" are easily
// mistaken: the note says which one the display meant.
std::string Notes(const std::vector<int>& registers) {
  std::string notes;
  for (const int number : registers)
    if (const auto note = DisplayAddressNote(static_cast<uint8_t>(number)))
      notes += (notes.empty() ? "" : "; ") + *note;
  return notes;
}

std::string HexText(uint32_t value, int digits) { return Hex(value, digits).substr(2); }

// The survey's texts, in the display's order: its registers in 4 digits,
// then the three counters and the position in 8.
Document Survey(Session& session) {
  Document rows = Document::array();
  std::array<uint16_t, 3> position{};
  for (const RegisterCaption& entry : kSurvey) {
    const uint16_t value = session.Read(entry.reg);
    if (entry.reg >= reg::kPositionLow && entry.reg <= reg::kPositionHigh)
      position[entry.reg - reg::kPositionLow] = value;
    rows.push_back(
        {{"name", entry.caption}, {"register", Hex(entry.reg, 2)}, {"hex", HexText(value, 4)}});
  }
  const std::pair<const char*, int32_t (*)(int32_t)> counters[] = {
      {"MSP Version", ReadMSPVersion},
      {"Power On Time", ReadPowerOnTime},
      {"Power On Cycles", ReadPowerOnCycles}};
  for (const auto& [caption, read] : counters)
    rows.push_back({{"name", caption},
                    {"register", nullptr},
                    {"hex", HexText(static_cast<uint32_t>(session.ReadInformation(read)), 8)}});
  const int32_t joined = JoinPosition(position[2], position[1], position[0]);
  rows.push_back({{"name", "Position"},
                  {"register", nullptr},
                  {"hex", HexText(static_cast<uint32_t>(joined), 8)}});
  return rows;
}

}  // namespace

void ReadRegisters(const Invocation& invocation) {
  Session session(invocation.port);
  session.Identify();
  Document document = session.Describe();
  if (invocation.all) {
    document["survey"] = Survey(session);
    PrintDocument(std::cout, document, invocation.json);
    return;
  }
  std::vector<int> registers = invocation.registers;
  if (registers.empty())
    for (const RegisterCaption& entry : kSurvey) registers.push_back(entry.reg);
  Document rows = Document::array();
  for (const int number : registers) {
    const auto reg = static_cast<uint8_t>(number);
    const uint16_t value = session.Read(reg);
    rows.push_back({{"register", Hex(reg, 2)},
                    {"name", NameOf(reg)},
                    {"value", value},
                    {"hex", Hex(value, 4)}});
  }
  document["registers"] = rows;
  if (const std::string notes = Notes(registers); !notes.empty()) document["note"] = notes;
  PrintDocument(std::cout, document, invocation.json);
}

// A register that reads back otherwise did not take the value: measurements
// and the model register ignore writes.
void WriteRegister(const Invocation& invocation) {
  Session session(invocation.port);
  session.Identify();
  const auto number = static_cast<uint8_t>(invocation.reg);
  const auto value = static_cast<uint16_t>(invocation.value);
  session.Write(Word(reg::kWriteOffset + number, value));
  const uint16_t back = session.Read(number);
  Document document = session.Describe();
  document.update({{"register", Hex(number, 2)},
                   {"name", NameOf(number)},
                   {"written", Hex(value, 4)},
                   {"read_back", Hex(back, 4)}});
  PrintDocument(std::cout, document, invocation.json);
  if (back != value)
    throw Failure(kRefused, session.Name() + ": register " + Hex(number, 2) + " did not take " +
                                Hex(value, 4) + ", it reads " + Hex(back, 4));
}

}  // namespace probelink_cli
