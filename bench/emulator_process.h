// The emulator program in a process of its own, so that its CPU time is not
// counted with the program measured, and the measured process's CPU time.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

#include "temp_config_home.h"

namespace bench {

class EmulatorProcess {
 public:
  // Starts `program` on COM`com` of `home`, with further options for its
  // head, and waits until its port is linked.
  EmulatorProcess(const std::string& program, const testsupport::TempConfigHome& home, int com,
                  bool paced, const std::vector<std::string>& options = {});
  ~EmulatorProcess();
  EmulatorProcess(const EmulatorProcess&) = delete;
  EmulatorProcess& operator=(const EmulatorProcess&) = delete;
  bool Running() const { return pid_ > 0; }

 private:
  pid_t pid_ = -1;
};

// The emulator program beside the benchmarks in the build tree, unless given.
std::string EmulatorProgram(const char* argv0, int argc, char** argv, int argument);

// User and system time of the whole process so far.
double ProcessCpuSeconds();

}  // namespace bench
