// probelink-cli: the Veritrak II electronics from a shell, for scripted
// commissioning and production tests. Exit status: 0 success, 1 no
// electronics, a communication failure or a read-head that did not travel
// enough to measure, 2 usage error, 3 refused by the electronics, 4 an
// alignment figure out of tolerance.
#include <iostream>

#include "command_line.h"
#include "commands.h"
#include "completion.h"
#include "exit_status.h"
#include "interrupt.h"

int main(int argc, char** argv) {
  using namespace probelink_cli;
  CLI::App app("", "probelink-cli");
  Invocation invocation;
  DescribeCommands(app, invocation);
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    return AnswerParseError(app, error);
  }
  if (invocation.bashCompletion) {
    std::cout << BashCompletion(app);
    return kSuccess;
  }
  CatchInterrupts();
  try {
    Run(invocation);
  } catch (const Failure& failure) {
    std::cerr << "probelink-cli: " << failure.what() << std::endl;
    return failure.Status();
  }
  return kSuccess;
}
