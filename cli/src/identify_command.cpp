#include "commands.h"
#include "electronics.h"
#include "probelink.h"

namespace probelink_cli {

Document DescribeSetup(const Identity& identity) {
  return {{"interpolation", (identity.interpolation >> 4) + 1},
          {"frequency_setting", identity.statusSetup & 7},
          {"output_frequency", OutputFrequency(identity.statusSetup)}};
}

void IdentifyCommand(const Invocation& invocation) {
  Session session(invocation.com);
  const Identity identity = session.Identify();
  Document document = {{"port", ComName(invocation.com)},
                       {"device", session.Device()},
                       {"model", identity.model},
                       {"model_code", identity.modelCode},
                       {"firmware", Hex(static_cast<uint32_t>(identity.firmware), 4)},
                       {"power_on_hours", session.ReadInformation(ReadPowerOnTime)},
                       {"power_on_cycles", session.ReadInformation(ReadPowerOnCycles)}};
  document.update(DescribeSetup(identity));
  PrintDocument(std::cout, document, invocation.json);
}

}  // namespace probelink_cli
