// Why a port would not open.
#pragma once

#include <string>

namespace probelink_cli {

// Opens and closes a port (a COM name or a device path) at once: 0, or the
// operating system's error number.
int OpenError(const std::string& port);
// "missing", "permission", "in use", "not serial": a word for a table.
std::string ProblemWord(int error);
// What to tell a person about it, in a few words.
std::string ProblemSentence(int error);

}  // namespace probelink_cli
