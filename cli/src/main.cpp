// probelink-cli: the Veritrak II electronics from a shell, for scripted
// commissioning and production tests. Exit status: 0 success, 1 no
// electronics, a communication failure or a read-head that did not travel
// enough to measure, 2 usage error, 3 refused by the electronics, 4 an
// alignment figure out of tolerance.
#include <algorithm>
#include <iostream>
#include <string_view>

#include "command_line.h"
#include "commands.h"
#include "completion.h"
#include "error_report.h"
#include "exit_status.h"
#include "interrupt.h"

namespace {

// Known before parsing, so that an error in the command line itself is
// told as JSON too.
bool AsksForJson(int argc, char** argv) {
  return std::any_of(argv + 1, argv + argc,
                     [](const char* a) { return std::string_view(a) == "--json"; });
}

}  // namespace

int main(int argc, char** argv) {
  using namespace probelink_cli;
  CLI::App app("", "probelink-cli");
  Invocation invocation;
  DescribeCommands(app, invocation);
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    return AnswerParseError(app, error, AsksForJson(argc, argv));
  }
  if (invocation.bashCompletion) {
    std::cout << BashCompletion(app);
    return kSuccess;
  }
  if (invocation.command == "help") {
    std::cout << (invocation.topic.empty()
                      ? app.get_formatter()->make_help(&app, app.get_name(),
                                                       CLI::AppFormatMode::Normal)
                      : app.get_subcommand(invocation.topic)->help(app.get_name()));
    return kSuccess;
  }
  CatchInterrupts();
  try {
    Run(invocation);
  } catch (const Failure& failure) {
    ReportError(failure.what(), failure.Status(), invocation.json);
    return failure.Status();
  }
  return kSuccess;
}
