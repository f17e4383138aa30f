// How a failure reaches standard error: one line for people, or with --json
// one JSON object, {"error": ..., "exit": N}, that a script can read.
#pragma once

#include <string>

namespace probelink_cli {

// `usage` (the command's usage line) follows a usage error.
void ReportError(const std::string& message, int exit, bool json, const std::string& usage = "");

}  // namespace probelink_cli
