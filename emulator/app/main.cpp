// veritrak-emulator: the Veritrak II electronics on a pseudo-terminal,
// linked as a COM port for probelink, until SIGINT or SIGTERM.
#include <iostream>

#include "command_line.h"
#include "port_link.h"
#include "signal_control.h"
#include "veritrak/emulator.h"

int main(int argc, char** argv) {
  using namespace veritrak;
  ProgramOptions options;
  try {
    options = ParseCommandLine({argv + 1, static_cast<size_t>(argc - 1)});
  } catch (const std::invalid_argument& e) {
    std::cerr << "veritrak-emulator: " << e.what() << " (see --help)\n";
    return 2;
  }
  if (options.help || options.version) {
    std::cout << (options.help ? UsageText() : VersionText());
    return 0;
  }
  const sigset_t signals = BlockControlSignals();
  try {
    Emulator emulator(options.emulator);
    PortLink link(options.com, emulator.DevicePath());
    std::cout << "COM" << options.com << " is " << emulator.DevicePath() << std::endl;
    AnswerSignals(signals, emulator, link, options);
  } catch (const std::exception& e) {
    std::cerr << "veritrak-emulator: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
