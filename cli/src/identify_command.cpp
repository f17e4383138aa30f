#include "commands.h"
#include "electronics.h"
#include "probelink.h"

namespace probelink_cli {

Document DescribeSetup(const Identity& identity) {
  const auto megahertz = OutputFrequencyMHz(identity.statusSetup);
  return {{"interpolation", identity.InterpolationLevel()},
          {"frequency_setting", identity.statusSetup & 7},
          {"output_frequency", megahertz ? Document(*megahertz) : Document()}};
}

void IdentifyCommand(const Invocation& invocation) {
  Session session(invocation.port);
  const Identity identity = session.Identify();
  Document document = session.Describe();
  document.update({{"model", identity.model},
                   {"model_code", identity.modelCode},
                   {"firmware", Hex(static_cast<uint32_t>(identity.firmware), 4)},
                   {"power_on_hours", session.ReadInformation(ReadPowerOnTime)},
                   {"power_on_cycles", session.ReadInformation(ReadPowerOnCycles)}});
  document.update(DescribeSetup(identity));
  PrintDocument(std::cout, document, invocation.json);
}

}  // namespace probelink_cli
