#include <map>

#include "commands.h"

namespace probelink_cli {

void Run(const Invocation& invocation) {
  static const std::map<std::string, void (*)(const Invocation&)> commands = {
      {"ports", Ports},
      {"identify", IdentifyCommand},
      {"status", Status},
      {"read", ReadRegisters},
      {"write", WriteRegister},
      {"stream", Stream},
      {"reset", Reset},
      {"zero", Zero},
      {"center-index", CenterIndex},
      {"set", Set},
      {"align", Align}};
  commands.at(invocation.command)(invocation);
}

std::string ComName(int com) { return "COM" + std::to_string(com); }

void PrintAccepted(const Invocation& invocation) {
  PrintDocument(
      std::cout,
      {{"port", ComName(invocation.com)}, {"command", invocation.command}, {"accepted", true}},
      invocation.json);
}

}  // namespace probelink_cli
