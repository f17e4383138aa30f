#include "frames.h"
#include "probelink.h"
#include "registers.h"
#include "select_port.h"

using namespace probelink;

namespace {

constexpr int32_t kLibraryVersion = 9;
constexpr uint32_t kLow16 = 0xFFFF;
constexpr uint32_t kLow24 = 0xFFFFFF;

bool KnownFamily(int32_t family) { return family >= 0 && family <= 2; }

int32_t ReadFamily(Transport& line, int32_t family, uint32_t word, uint16_t& value) {
  if (family == 1) return ReadLong(line, command::kRead, word, value);
  if (family == 2) return ReadLong(line, command::kFinchRead, word, value);
  const int32_t result = ReadBase(line, static_cast<uint16_t>(word & kLow16));
  if (result >= 0) value = static_cast<uint16_t>(result);
  return result;
}

int32_t WriteFamily(Transport& line, int32_t family, uint32_t word) {
  if (family == 1) return WriteLong(line, command::kWrite, word & kLow24);
  if (family == 2) return WriteLong(line, command::kFinchWrite, word & kLow24);
  return WriteBase(line, static_cast<uint16_t>(word & kLow16), true);
}

}  // namespace

extern "C" {

int32_t PROBELINK_CALL SendSync(int32_t port) { return WithLine(port, probelink::SendSync); }

int32_t PROBELINK_CALL DoSynchronize(int32_t port) {
  return WithLine(port, [](Transport& line) { return probelink::DoSynchronize(line) ? 1 : 0; });
}

int32_t PROBELINK_CALL SyncAndRead(int32_t port, int32_t family, uint32_t word, uint16_t* value) {
  if (!KnownFamily(family) || !value) return 0;
  return WithLine(port, [&](Transport& line) {
    return probelink::DoSynchronize(line) && ReadFamily(line, family, word, *value) >= 0 ? 1 : 0;
  });
}

int32_t PROBELINK_CALL SyncAndWrite(int32_t port, int32_t family, uint32_t word) {
  if (!KnownFamily(family)) return 0;
  return WithLine(port, [&](Transport& line) {
    return probelink::DoSynchronize(line) && WriteFamily(line, family, word) >= 0 ? 1 : 0;
  });
}

int32_t PROBELINK_CALL DLLVersion(void) { return kLibraryVersion; }

}  // extern "C"
