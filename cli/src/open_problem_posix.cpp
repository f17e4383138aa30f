// A failed open told by its errno value.
#include <cerrno>
#include <cstring>

#include "port_access.h"

namespace probelink_cli {

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
    case EIO:
      return "no hardware";
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
    case EIO:
      return "the device answers with an input/output error: no serial hardware behind it";
    default:
      return std::strerror(error);
  }
}

}  // namespace probelink_cli
