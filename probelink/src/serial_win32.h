// The serial line on Windows: a COM port opened exclusively and driven by the
// system's serial API, whose line setting, time-outs and properties are the
// very records the library's interface passes.
#pragma once

#include <memory>
#include <string>

#include "transport.h"

namespace probelink {

class SerialWin32 final : public Transport {
 public:
  // Opens an existing serial port exclusively; on failure returns null and
  // sets error to the system's error code.
  static std::unique_ptr<SerialWin32> Open(const std::string& path, int& error);
  ~SerialWin32() override;
  SerialWin32(const SerialWin32&) = delete;
  SerialWin32& operator=(const SerialWin32&) = delete;

  bool GetLineSetting(DCB& dcb) override;
  LineApply SetLineSetting(const DCB& dcb) override;
  bool GetTimeouts(COMMTIMEOUTS& timeouts) override;
  bool SetTimeouts(const COMMTIMEOUTS& timeouts) override;
  bool GetProperties(COMMPROP& properties) override;
  bool SetQueueSizes(uint32_t rx, uint32_t tx) override;
  bool PurgeQueues(Purge which) override;
  IoResult Read(uint8_t* buffer, size_t n) override;
  IoResult Write(const uint8_t* buffer, size_t n) override;

 private:
  explicit SerialWin32(HANDLE handle) : handle_(handle) {}
  bool ApplyModemLines(const DCB& dcb);
  IoResult Finish(BOOL done, DWORD count);

  HANDLE handle_;
};

}  // namespace probelink
