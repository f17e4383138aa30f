#include <chrono>
#include <cmath>

#include "commands.h"
#include "interrupt.h"
#include "status_sample.h"

namespace probelink_cli {
namespace {

using Clock = std::chrono::steady_clock;

// The window's rule for its status poll: one failed sample is forgiven,
// a second in a row is a communication failure.
Reading NextSample(Session& session, bool& forgiven) {
  for (;;) {
    if (const auto sample = ReadStatusSample(session)) {
      forgiven = false;
      return *sample;
    }
    if (forgiven) session.Lost("the electronics stopped answering");
    forgiven = true;
  }
}

double SecondsSince(Clock::time_point start) {
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  return std::round(seconds * 1e3) / 1e3;
}

void Watch(const Invocation& invocation, Session& session, const std::optional<CountScale>& scale) {
  RecordPrinter printer(std::cout, invocation.json ? LineStyle::Json : LineStyle::Columns);
  bool forgiven = false;
  const auto start = Clock::now();
  while (!Interrupted() && (!invocation.seconds || SecondsSince(start) < *invocation.seconds)) {
    const Reading sample = NextSample(session, forgiven);
    Document record = {{"time", SecondsSince(start)}};
    record.update(Describe(sample, scale));
    if (!printer.Print(record)) return;
    SleepUnlessInterrupted(std::chrono::duration<double>(invocation.interval));
  }
}

}  // namespace

void Status(const Invocation& invocation) {
  Session session(invocation.port);
  const auto scale = ScaleFor(invocation.length, session.Identify());
  if (invocation.watch) {
    Watch(invocation, session, scale);
    return;
  }
  bool forgiven = false;
  Document document = session.Describe();
  document.update(Describe(NextSample(session, forgiven), scale));
  PrintDocument(std::cout, document, invocation.json);
}

}  // namespace probelink_cli
