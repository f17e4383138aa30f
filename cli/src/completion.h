// The bash completion script, made from the declared commands and options
// so that it cannot drift from them.
#pragma once

#include <CLI/CLI.hpp>
#include <string>

namespace probelink_cli {

std::string BashCompletion(CLI::App& app);

}  // namespace probelink_cli
