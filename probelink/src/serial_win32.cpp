#include "serial_win32.h"

#include <algorithm>

namespace probelink {
namespace {

// One call moves at most what a DWORD counts; the protocol's transfers are
// far below it.
DWORD Clamp(size_t n) { return static_cast<DWORD>(std::min<size_t>(n, MAXDWORD)); }

// The escape that holds a line where its control asks, or 0 when the driver
// drives it itself (handshake, toggle).
DWORD DtrEscape(DWORD control) {
  if (control == DTR_CONTROL_ENABLE) return SETDTR;
  return control == DTR_CONTROL_DISABLE ? CLRDTR : 0;
}

DWORD RtsEscape(DWORD control) {
  if (control == RTS_CONTROL_ENABLE) return SETRTS;
  return control == RTS_CONTROL_DISABLE ? CLRRTS : 0;
}

// Purging both queues also ends transfers still under way, as the interface
// promises; one queue alone is only emptied.
DWORD PurgeFlags(Purge which) {
  switch (which) {
    case Purge::Rx:
      return PURGE_RXCLEAR;
    case Purge::Tx:
      return PURGE_TXCLEAR;
    case Purge::Both:
      break;
  }
  return PURGE_RXABORT | PURGE_TXABORT | PURGE_RXCLEAR | PURGE_TXCLEAR;
}

}  // namespace

std::unique_ptr<SerialWin32> SerialWin32::Open(const std::string& path, int& error) {
  const HANDLE handle = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    error = static_cast<int>(GetLastError());
    return nullptr;
  }
  // A file or another device opens too; only a serial port has a line setting.
  DCB probe{};
  probe.DCBlength = sizeof probe;
  if (!GetCommState(handle, &probe)) {
    error = static_cast<int>(GetLastError());
    CloseHandle(handle);
    return nullptr;
  }
  return std::unique_ptr<SerialWin32>(new SerialWin32(handle));
}

SerialWin32::~SerialWin32() { CloseHandle(handle_); }

bool SerialWin32::GetLineSetting(DCB& dcb) {
  dcb.DCBlength = sizeof dcb;
  return GetCommState(handle_, &dcb);
}

LineApply SerialWin32::SetLineSetting(const DCB& dcb) {
  DCB setting = dcb;
  setting.DCBlength = sizeof setting;
  if (!SetCommState(handle_, &setting)) return LineApply::Refused;
  return ApplyModemLines(setting) ? LineApply::Applied : LineApply::NoModemLines;
}

// A port without modem lines (some virtual ports) takes the setting but
// refuses to move DTR or RTS; asking for each line on its own tells so.
bool SerialWin32::ApplyModemLines(const DCB& dcb) {
  bool applied = true;
  for (const DWORD escape : {DtrEscape(dcb.fDtrControl), RtsEscape(dcb.fRtsControl)})
    if (escape != 0 && !EscapeCommFunction(handle_, escape)) applied = false;
  return applied;
}

bool SerialWin32::GetTimeouts(COMMTIMEOUTS& timeouts) {
  return GetCommTimeouts(handle_, &timeouts);
}

bool SerialWin32::SetTimeouts(const COMMTIMEOUTS& timeouts) {
  COMMTIMEOUTS setting = timeouts;
  return SetCommTimeouts(handle_, &setting);
}

bool SerialWin32::GetProperties(COMMPROP& properties) {
  return GetCommProperties(handle_, &properties);
}

bool SerialWin32::SetQueueSizes(uint32_t rx, uint32_t tx) { return SetupComm(handle_, rx, tx); }

bool SerialWin32::PurgeQueues(Purge which) {
  return PurgeComm(handle_, PurgeFlags(which));
}

// With the time-outs set, a read or write that runs out of time still
// succeeds with what it moved.
IoResult SerialWin32::Read(uint8_t* buffer, size_t n) {
  DWORD count = 0;
  const BOOL done = ReadFile(handle_, buffer, Clamp(n), &count, nullptr);
  return Finish(done, count);
}

IoResult SerialWin32::Write(const uint8_t* buffer, size_t n) {
  DWORD count = 0;
  const BOOL done = WriteFile(handle_, buffer, Clamp(n), &count, nullptr);
  return Finish(done, count);
}

// A line error leaves the port refusing every transfer until it is cleared;
// the caller sees this one fail and the next one start afresh.
IoResult SerialWin32::Finish(BOOL done, DWORD count) {
  if (!done) {
    DWORD errors = 0;
    ClearCommError(handle_, &errors, nullptr);
  }
  return {done != FALSE, count};
}

}  // namespace probelink
