#include <string>

#include "device_names.h"
#include "line_config.h"
#include "port_table.h"
#include "probelink.h"
#include "select_port.h"

using namespace probelink;

extern "C" {

int32_t PROBELINK_CALL OpenPort(int32_t port) { return PortTable::Instance().Open(port); }

int32_t PROBELINK_CALL ClosePort(int32_t port) { return PortTable::Instance().Close(port); }

int32_t PROBELINK_CALL LastOpenError(void) { return PortTable::Instance().LastOsError(); }

int32_t PROBELINK_CALL PortDevice(int32_t port, char* path, int32_t size) {
  if (!PortTable::InRange(port) || !path) return -1;
  const std::string device = DevicePathFor(port);
  if (size <= 0 || device.size() >= static_cast<size_t>(size)) return -1;
  device.copy(path, device.size());
  path[device.size()] = '\0';
  return static_cast<int32_t>(device.size());
}

int32_t PROBELINK_CALL ConfigPort(int32_t port, int32_t timeoutMs, int32_t baud) {
  return WithLine(port, [&](Transport& line) { return ConfigureLine(line, timeoutMs, baud); });
}

int32_t PROBELINK_CALL GetPortConfig(int32_t port, int32_t* timeoutMs, int32_t* baud) {
  if (!timeoutMs || !baud) return -1;
  return WithLine(port, [&](Transport& line) { return ReadLineConfig(line, *timeoutMs, *baud); });
}

int32_t PROBELINK_CALL ClearRxBuffer(int32_t port) {
  return WithLine(port, [](Transport& line) { return line.PurgeQueues(Purge::Rx) ? 0 : -1; });
}

int32_t PROBELINK_CALL ClearTxBuffer(int32_t port) {
  return WithLine(port, [](Transport& line) { return line.PurgeQueues(Purge::Tx) ? 0 : -1; });
}

int32_t PROBELINK_CALL PurgeRxTx(int32_t port) {
  return WithLine(port, [](Transport& line) { return line.PurgeQueues(Purge::Both) ? 0 : -1; });
}

int32_t PROBELINK_CALL GetCompleteComConfig(int32_t port, DCB* dcb, COMMTIMEOUTS* timeouts,
                             COMMPROP* properties) {
  return WithLine(port, [&](Transport& line) {
    if (!dcb || !line.GetLineSetting(*dcb)) return -1;
    if (!timeouts || !line.GetTimeouts(*timeouts)) return -2;
    if (!properties || !line.GetProperties(*properties)) return -3;
    return 0;
  });
}

int32_t PROBELINK_CALL SetCompleteComConfig(int32_t port, DCB dcb, COMMTIMEOUTS timeouts, uint32_t rxQueue,
                             uint32_t txQueue) {
  return WithLine(port, [&](Transport& line) {
    DCB setting = dcb;
    setting.DCBlength = sizeof(DCB);
    ForceFraming(setting);
    if (line.SetLineSetting(setting) == LineApply::Refused) return -1;
    if (!line.SetTimeouts(timeouts)) return -2;
    if (!line.SetQueueSizes(rxQueue, txQueue)) return -3;
    return 0;
  });
}

}  // extern "C"
