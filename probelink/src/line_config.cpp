#include "line_config.h"

namespace probelink {

void ForceFraming(DCB& dcb) {
  dcb.ByteSize = 8;
  dcb.Parity = EVENPARITY;
  dcb.StopBits = ONESTOPBIT;
  dcb.wReserved = 0;
}

int32_t ConfigureLine(Transport& line, int32_t timeoutMs, int32_t baud) {
  DCB dcb{};
  (void)line.GetLineSetting(dcb);  // a failure shows in the write below
  dcb.DCBlength = sizeof(DCB);
  dcb.BaudRate = static_cast<uint32_t>(baud);
  ForceFraming(dcb);
  dcb.fBinary = 1;
  dcb.fParity = 0;  // parity is sent, received parity is not checked
  dcb.fOutxCtsFlow = 0;
  dcb.fOutxDsrFlow = 0;
  dcb.fDsrSensitivity = 0;
  dcb.fOutX = 0;
  dcb.fInX = 0;
  dcb.fDtrControl = DTR_CONTROL_DISABLE;
  dcb.fRtsControl = RTS_CONTROL_ENABLE;
  dcb.fNull = 0;
  dcb.fAbortOnError = 0;
  if (baud <= 0 || line.SetLineSetting(dcb) == LineApply::Refused) return -1;

  const uint32_t ms = timeoutMs < 0 ? 0 : static_cast<uint32_t>(timeoutMs);
  const COMMTIMEOUTS timeouts{0, 0, ms, 0, ms};
  return line.SetTimeouts(timeouts) ? 0 : -1;
}

int32_t ReadLineConfig(Transport& line, int32_t& timeoutMs, int32_t& baud) {
  DCB dcb{};
  COMMTIMEOUTS timeouts{};
  if (!line.GetLineSetting(dcb) || !line.GetTimeouts(timeouts)) return -1;
  timeoutMs = static_cast<int32_t>(timeouts.ReadTotalTimeoutConstant);
  baud = static_cast<int32_t>(dcb.BaudRate);
  return 0;
}

}  // namespace probelink
