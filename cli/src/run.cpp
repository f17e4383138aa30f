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

void PrintAccepted(const Invocation& invocation, const Session& session) {
  Document document = session.Describe();
  document.update({{"command", invocation.command}, {"accepted", true}});
  PrintDocument(std::cout, document, invocation.json);
}

}  // namespace probelink_cli
