// The program's commands and options, read by CLI11.
#pragma once

#include <CLI/CLI.hpp>
#include <optional>
#include <string>
#include <vector>

namespace probelink_cli {

// What the command line asks for; each command reads the fields it owns.
struct Invocation {
  std::string command;
  bool json = false;
  bool bashCompletion = false;
  int com = 0;
  bool probe = false;                           // ports
  bool watch = false;                           // status, align
  double interval = 0.1;                        // status --watch, seconds between samples
  std::optional<double> seconds;                // status --watch, stream, align
  std::optional<long> count;                    // stream
  std::vector<int> registers;                   // read, stream
  std::string format;                           // stream: csv or json
  int reg = 0;                                  // write
  int value = 0;                                // write
  bool yes = false;                             // write, zero, set
  bool software = false, hardware = false;      // reset
  std::optional<int> interpolation, frequency;  // set
  std::string tolerances;                       // align: the options file to read them from
};

// Declares every command and option on `app`, filling `invocation` when
// parsed.
void DescribeCommands(CLI::App& app, Invocation& invocation);
// The program's answer to a parse error: --help and --version print and
// give 0; anything else is told on standard error with the usage line of
// the command at fault, and gives 2.
int AnswerParseError(const CLI::App& app, const CLI::ParseError& error);

}  // namespace probelink_cli
