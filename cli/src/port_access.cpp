#include "port_access.h"

#include <cerrno>
#include <cstring>

#include "probelink.h"

namespace probelink_cli {

std::string DeviceOf(int com) {
  char path[4096];
  return PortDevice(com, path, sizeof path) > 0 ? std::string(path) : std::string();
}

int OpenError(int com) {
  if (OpenPort(com) != 0) return LastOpenError();
  ClosePort(com);
  return 0;
}

std::string ProblemWord(int error) {
  switch (error) {
    case ENOENT:
      return "missing";
    case EACCES:
    case EPERM:
      return "permission";
    case EBUSY:
      return "in use";
    case ENOTTY:
      return "not serial";
    default:
      return std::strerror(error);
  }
}

std::string ProblemSentence(int error) {
  switch (error) {
    case ENOENT:
      return "no such device";
    case EACCES:
    case EPERM:
      return "no permission: serial ports belong to the group dialout (sudo adduser $USER "
             "dialout, then log in again)";
    case EBUSY:
      return "in use by another program";
    case ENOTTY:
      return "not a serial device";
    default:
      return std::strerror(error);
  }
}

}  // namespace probelink_cli
