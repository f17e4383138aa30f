#include <chrono>
#include <cmath>

#include "commands.h"
#include "electronics.h"
#include "interrupt.h"
#include "record_stream.h"

namespace probelink_cli {
namespace {

using Clock = std::chrono::steady_clock;

LineStyle StyleOf(const Invocation& invocation) {
  if (invocation.format.empty()) return invocation.json ? LineStyle::Json : LineStyle::Csv;
  return invocation.format == "json" ? LineStyle::Json : LineStyle::Csv;
}

}  // namespace

void Stream(const Invocation& invocation) {
  Session session(invocation.com);
  session.Identify();
  const std::vector<uint8_t> registers(invocation.registers.begin(), invocation.registers.end());
  RecordPrinter printer(std::cout, StyleOf(invocation));
  RecordStream stream(session, registers);
  const auto start = Clock::now();
  const auto seconds = [&] { return std::chrono::duration<double>(Clock::now() - start).count(); };
  for (long delivered = 0; !Interrupted() && (!invocation.count || delivered < *invocation.count) &&
                           (!invocation.seconds || seconds() < *invocation.seconds);
       ++delivered) {
    const std::vector<uint16_t> values = stream.Next();
    Document record = {{"time", std::round(seconds() * 1e6) / 1e6}};
    for (size_t i = 0; i < values.size(); ++i) record[Hex(registers[i], 2)] = values[i];
    if (!printer.Print(record)) return;
  }
}

}  // namespace probelink_cli
