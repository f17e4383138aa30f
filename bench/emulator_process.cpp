#include "emulator_process.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

extern char** environ;

namespace bench {

EmulatorProcess::EmulatorProcess(const std::string& program,
                                 const testsupport::TempConfigHome& home, int com, bool paced,
                                 const std::vector<std::string>& options) {
  std::vector<std::string> args = {program, "--com", std::to_string(com), "--record-rate", "0"};
  if (paced) args.push_back("--paced");
  args.insert(args.end(), options.begin(), options.end());
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  // Its "COMn is ..." line would break the benchmark's table.
  posix_spawn_file_actions_t quiet;
  posix_spawn_file_actions_init(&quiet);
  posix_spawn_file_actions_addopen(&quiet, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  if (posix_spawn(&pid_, program.c_str(), &quiet, nullptr, argv.data(), environ) != 0) pid_ = -1;
  posix_spawn_file_actions_destroy(&quiet);
  const auto link = home.PortFolder() / ("COM" + std::to_string(com));
  for (int i = 0; i < 500 && !std::filesystem::is_symlink(link); ++i) usleep(10000);
}

EmulatorProcess::~EmulatorProcess() {
  if (pid_ <= 0) return;
  kill(pid_, SIGTERM);
  waitpid(pid_, nullptr, 0);
}

std::string EmulatorProgram(const char* argv0, int argc, char** argv, int argument) {
  if (argc > argument) return argv[argument];
  return (std::filesystem::path(argv0).parent_path() / "../emulator/veritrak-emulator").string();
}

double ProcessCpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_utime.tv_sec + usage.ru_utime.tv_usec * 1e-6 + usage.ru_stime.tv_sec +
         usage.ru_stime.tv_usec * 1e-6;
}

}  // namespace bench
