// One open COM port and the handshakes the window uses on it: its search
// for the electronics, its two ways of bringing the line back in step, and
// its register reads and writes, each ending in a Failure when the
// electronics do not answer or refuse.
#pragma once

#include <cstdint>
#include <string>

#include "port_route.h"

namespace probelink_cli {

struct Identity {
  int modelCode = 0;
  std::string model;
  int32_t firmware = 0;
  uint16_t interpolation = 0;  // register 0x03 as read
  uint16_t statusSetup = 0;    // register 0x02 as read

  int InterpolationLevel() const { return (interpolation >> 4) + 1; }
};

class Session {
 public:
  // Opens the port (a COM name or a device path, as NormalPortText gives
  // it); one that will not open is a communication failure that names its
  // device and why.
  explicit Session(const std::string& port);
  ~Session();
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  int Com() const { return com_; }
  // "COM5 (/dev/ttyUSB0)": how messages name the port.
  std::string Name() const { return route_.Name(); }
  // "port" and "device", as each command's output begins.
  Document Describe() const { return route_.Describe(); }

  // The window's search step: the line configured, a stream left running
  // stopped, the firmware family and model checked, the set-up read.
  Identity Identify();
  // Interpolation and status-setup registers, as identification reads them.
  void ReadSetup(Identity& identity);
  // The information reads: firmware, power-on hours, power-on cycles.
  int32_t ReadInformation(int32_t (*read)(int32_t port));

  // A purge and the library's synchronisation (50 ms a try).
  bool Resync();
  // Lone sync bytes at 25 ms until answered, as the acquisition loops do.
  bool SyncLine();
  // A register read as the acquisition loops make it: purge, sync, read.
  bool TryRead(uint8_t reg, uint16_t& value);
  uint16_t Read(uint8_t reg);
  // A register or command word written as the window writes it; a word the
  // electronics answer but do not acknowledge is refused.
  void Write(uint32_t word);

  // A communication failure naming the port and what went unanswered, or
  // that the device has gone.
  [[noreturn]] void Lost(const std::string& what) const;

 private:
  const PortRoute route_;
  const int com_;
};

}  // namespace probelink_cli
