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
  Session session(invocation.port);
  const Identity identity = session.Identify();
  const auto scale = ScaleFor(invocation.length, identity);
  const std::vector<uint8_t> registers = RegistersOf(invocation.fields);
  RecordDecoder decoder(registers, CountsFourFold(identity.modelCode));
  RecordPrinter printer(std::cout, StyleOf(invocation));
  RecordStream stream(session, registers);
  const auto start = Clock::now();
  const auto seconds = [&] { return std::chrono::duration<double>(Clock::now() - start).count(); };
  for (long delivered = 0; !Interrupted() && (!invocation.count || delivered < *invocation.count) &&
                           (!invocation.seconds || seconds() < *invocation.seconds);
       ++delivered) {
    const std::vector<uint16_t> words = stream.Next();
    const Reading reading = decoder.Decode(std::round(seconds() * 1e6) / 1e6, words);
    Document record = {{"time", reading.seconds}};
    for (const Field& field : invocation.fields) AddField(record, field, reading, scale);
    if (!printer.Print(record)) return;
  }
}

}  // namespace probelink_cli
