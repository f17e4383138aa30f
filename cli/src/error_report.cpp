#include "error_report.h"

#include <iostream>

#include "plain_json.h"

namespace probelink_cli {

void ReportError(const std::string& message, int exit, bool json, const std::string& usage) {
  if (json) {
    Document error = {{"error", message}, {"exit", exit}};
    if (!usage.empty()) error["usage"] = usage;
    std::cerr << JsonText(error) << std::endl;
    return;
  }
  std::cerr << "probelink-cli: " << message << '\n';
  if (!usage.empty()) std::cerr << usage << '\n';
  std::cerr.flush();
}

}  // namespace probelink_cli
