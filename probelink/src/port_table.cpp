#include "port_table.h"

#include "device_names.h"
#include "serial_line.h"

namespace probelink {
namespace {

class ClosedLine final : public Transport {
 public:
  bool GetLineSetting(DCB&) override { return false; }
  LineApply SetLineSetting(const DCB&) override { return LineApply::Refused; }
  bool GetTimeouts(COMMTIMEOUTS&) override { return false; }
  bool SetTimeouts(const COMMTIMEOUTS&) override { return false; }
  bool GetProperties(COMMPROP&) override { return false; }
  bool SetQueueSizes(uint32_t, uint32_t) override { return false; }
  bool PurgeQueues(Purge) override { return false; }
  IoResult Read(uint8_t*, size_t) override { return {false, 0}; }
  IoResult Write(const uint8_t*, size_t) override { return {false, 0}; }
};

}  // namespace

PortTable& PortTable::Instance() {
  static PortTable table;
  return table;
}

std::shared_ptr<Transport> PortTable::Select(int32_t port) const {
  static const std::shared_ptr<Transport> closed = std::make_shared<ClosedLine>();
  if (!InRange(port)) return closed;
  std::lock_guard lock(mutex_);
  return slots_[port] ? slots_[port] : closed;
}

int32_t PortTable::Open(int32_t port) {
  if (!InRange(port)) return lastOpenResult_;
  std::lock_guard lock(mutex_);
  if (slots_[port]) return 0;
  int error = 0;
  auto line = SerialLine::Open(DevicePathFor(port), error);
  if (!line) {
    lastOsError_ = error;
    lastOpenResult_ = -1;
    return -1;
  }
  slots_[port] = std::move(line);
  lastOsError_ = 0;
  lastOpenResult_ = 0;
  return 0;
}

int32_t PortTable::Close(int32_t port) {
  if (!InRange(port)) return -1;
  std::shared_ptr<Transport> line;
  {
    std::lock_guard lock(mutex_);
    line = std::move(slots_[port]);
  }
  // The device closes when the last call still using the line lets go of it.
  return line ? 0 : -1;
}

void PortTable::Install(int32_t port, std::shared_ptr<Transport> line) {
  if (!InRange(port)) return;
  std::lock_guard lock(mutex_);
  slots_[port] = std::move(line);
}

}  // namespace probelink
