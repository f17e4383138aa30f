#include <thread>

#include "commands.h"
#include "electronics.h"
#include "exit_status.h"
#include "probelink.h"

namespace probelink_cli {
namespace {

// The library asks for 2000 ms after a software reset; the window holds a
// DTR pulse's electronics 800 ms.
constexpr auto kSoftwareResetSettle = std::chrono::milliseconds(2000);
constexpr auto kHardwareResetSettle = std::chrono::milliseconds(800);

}  // namespace

// A hardware reset needs no answer first: it is there for electronics that
// no longer give one.
void Reset(const Invocation& invocation) {
  Session session(invocation.port);
  if (invocation.hardware) {
    if (SystemReset(session.Com()) < 0)
      session.Lost("the port cannot pulse DTR (a pseudo-terminal has no modem lines)");
    std::this_thread::sleep_for(kHardwareResetSettle);
  } else {
    session.Identify();
    if (!session.Resync()) session.Lost("the electronics do not answer");
    if (SoftwareSystemReset(session.Com()) < 0) session.Lost("the reset could not be sent");
    std::this_thread::sleep_for(kSoftwareResetSettle);
    if (!session.Resync()) session.Lost("the electronics do not answer after the reset");
  }
  PrintAccepted(invocation, session);
}

void Zero(const Invocation& invocation) {
  Session session(invocation.port);
  session.Identify();
  session.Write(Word(reg::kCommand, command::kZeroArm));
  session.Write(Word(reg::kCommand, command::kZeroCounter));
  PrintAccepted(invocation, session);
}

void CenterIndex(const Invocation& invocation) {
  Session session(invocation.port);
  session.Identify();
  session.Write(Word(reg::kCommand, command::kCentreIndex));
  PrintAccepted(invocation, session);
}

// The frequency setting is written as the whole status-setup register, as
// the window writes it.
void Set(const Invocation& invocation) {
  Session session(invocation.port);
  Identity identity = session.Identify();
  const auto write = [&](uint8_t number, int value) {
    session.Write(Word(reg::kWriteOffset + number, static_cast<uint16_t>(value)));
  };
  if (invocation.interpolation) write(reg::kInterpolation, (*invocation.interpolation - 1) << 4);
  if (invocation.frequency) write(reg::kStatusSetup, *invocation.frequency);
  session.ReadSetup(identity);
  Document document = session.Describe();
  document.update(DescribeSetup(identity));
  PrintDocument(std::cout, document, invocation.json);
  if ((invocation.interpolation && document["interpolation"] != *invocation.interpolation) ||
      (invocation.frequency && document["frequency_setting"] != *invocation.frequency))
    throw Failure(kRefused, session.Name() + ": the electronics kept another set-up");
}

}  // namespace probelink_cli
