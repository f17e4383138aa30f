// A failed open told by the system's error code. Windows refuses a port that
// another program holds as access denied: serial ports have no permissions
// of their own.
#include <windows.h>

#include "port_access.h"

namespace probelink_cli {
namespace {

enum class Problem { Missing, InUse, NotSerial, NoHardware, Other };

Problem Classify(int error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
      return Problem::Missing;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
      return Problem::InUse;
    case ERROR_INVALID_FUNCTION:
    case ERROR_INVALID_HANDLE:
    case ERROR_NOT_SUPPORTED:
      return Problem::NotSerial;
    case ERROR_GEN_FAILURE:
    case ERROR_DEVICE_NOT_CONNECTED:
      return Problem::NoHardware;
    default:
      return Problem::Other;
  }
}

// The system's own sentence, without its closing full stop and line end.
std::string SystemMessage(int error) {
  char text[512];
  DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                nullptr, static_cast<DWORD>(error), 0, text, sizeof text, nullptr);
  while (length > 0 && (text[length - 1] == '\r' || text[length - 1] == '\n' ||
                        text[length - 1] == '.'))
    --length;
  return length > 0 ? std::string(text, length) : "system error " + std::to_string(error);
}

}  // namespace

std::string ProblemWord(int error) {
  switch (Classify(error)) {
    case Problem::Missing:
      return "missing";
    case Problem::InUse:
      return "in use";
    case Problem::NotSerial:
      return "not serial";
    case Problem::NoHardware:
      return "no hardware";
    case Problem::Other:
      break;
  }
  return SystemMessage(error);
}

std::string ProblemSentence(int error) {
  switch (Classify(error)) {
    case Problem::Missing:
      return "no such port";
    case Problem::InUse:
      return "in use by another program";
    case Problem::NotSerial:
      return "not a serial port";
    case Problem::NoHardware:
      return "the port answers with a device error: no serial hardware behind it";
    case Problem::Other:
      break;
  }
  return SystemMessage(error);
}

}  // namespace probelink_cli
