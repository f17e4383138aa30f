// Which device a COM port is, and why it would not open.
#pragma once

#include <string>

namespace probelink_cli {

// The link or default device the library opens for COMn.
std::string DeviceOf(int com);
// Opens and closes COMn at once: 0, or the operating system's error number.
int OpenError(int com);
// "missing", "permission", "in use", "not serial": a word for a table.
std::string ProblemWord(int error);
// What to tell a person about it, in a few words.
std::string ProblemSentence(int error);

}  // namespace probelink_cli
