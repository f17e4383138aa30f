#include "commands.h"
#include "electronics.h"
#include "exit_status.h"

namespace probelink_cli {

void ReadRegisters(const Invocation& invocation) {
  Session session(invocation.com);
  session.Identify();
  std::vector<int> registers = invocation.registers;
  if (registers.empty()) registers.assign(kSurveyRegisters.begin(), kSurveyRegisters.end());
  Document rows = Document::array();
  for (const int number : registers) {
    const uint16_t value = session.Read(static_cast<uint8_t>(number));
    rows.push_back({{"register", Hex(number, 2)}, {"value", value}, {"hex", Hex(value, 4)}});
  }
  PrintDocument(std::cout, {{"port", ComName(invocation.com)}, {"registers", rows}},
                invocation.json);
}

// A register that reads back otherwise did not take the value: measurements
// and the model register ignore writes.
void WriteRegister(const Invocation& invocation) {
  Session session(invocation.com);
  session.Identify();
  const auto number = static_cast<uint8_t>(invocation.reg);
  const auto value = static_cast<uint16_t>(invocation.value);
  session.Write(Word(reg::kWriteOffset + number, value));
  const uint16_t back = session.Read(number);
  PrintDocument(std::cout,
                {{"port", ComName(invocation.com)},
                 {"register", Hex(number, 2)},
                 {"written", value},
                 {"read_back", back}},
                invocation.json);
  if (back != value)
    throw Failure(kRefused, session.Name() + ": register " + Hex(number, 2) + " did not take " +
                                Hex(value, 4) + ", it reads " + Hex(back, 4));
}

}  // namespace probelink_cli
