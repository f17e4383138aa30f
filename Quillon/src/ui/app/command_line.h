// The program's own options. --help and --version are answered here, and a
// wrong option is a usage error with the usage line.
#pragma once

#include <QStringList>
#include <optional>
#include <variant>

#include "report_command.h"

namespace quillon {

struct CommandLine {
  bool allControls = false;
  std::optional<ReportRequest> report;
};

// What to run, or the exit status to end with at once. It needs no
// application object, so that help, the version and usage errors are
// answered without a display; Qt's own options are left for Qt.
std::variant<CommandLine, int> ParseCommandLine(int argc, char** argv, const char* version);

}  // namespace quillon
