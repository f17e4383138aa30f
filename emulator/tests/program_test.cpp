// The veritrak-emulator program as a user runs it: its options reach the
// electronics, its port link, its signals and its exit codes.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <optional>
#include <string>

#include "emulator_fixture.h"

extern char** environ;

namespace veritrak {
namespace {

namespace fs = std::filesystem;

constexpr int32_t kCom = 6;

// The program in a child process, its standard output and error on a pipe.
class Program {
 public:
  explicit Program(std::vector<std::string> args) {
    args.insert(args.begin(), VERITRAK_EMULATOR_PATH);
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    int out[2];
    if (pipe(out) != 0) throw std::runtime_error("pipe");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDERR_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    const int failed = posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    output_ = out[0];
    if (failed) throw std::runtime_error("cannot start the program");
  }
  ~Program() {
    if (!exit_) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
    ::close(output_);
  }

  void Signal(int sig) const { kill(pid_, sig); }

  // What the program has written up to its first end of line, or to its end.
  std::string Output(bool firstLine = true) {
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    while (!(firstLine && text_.find('\n') != std::string::npos) &&
           std::chrono::steady_clock::now() < deadline) {
      pollfd p{output_, POLLIN, 0};
      if (poll(&p, 1, 10) <= 0) continue;
      char buffer[4096];
      const ssize_t n = ::read(output_, buffer, sizeof buffer);
      if (n <= 0) break;
      text_.append(buffer, static_cast<size_t>(n));
    }
    return firstLine ? text_.substr(0, text_.find('\n')) : text_;
  }

  std::optional<int> ExitCode() {
    Eventually([&] {
      int status = 0;
      if (waitpid(pid_, &status, WNOHANG) == pid_)
        exit_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
      return exit_.has_value();
    });
    return exit_;
  }

 private:
  pid_t pid_ = -1;
  int output_ = -1;
  std::string text_;
  std::optional<int> exit_;
};

class ProgramTest : public ::testing::Test {
 protected:
  void TearDown() override { ClosePort(kCom); }

  fs::path Link() const { return home_.PortFolder() / ("COM" + std::to_string(kCom)); }

  // Waits for the program's line, returns the device path it names, and
  // opens the port at a host time-out so wide that a failure can only be a
  // silent line, never a slow answer.
  std::string Announced(Program& program) {
    const std::string line = program.Output();
    const std::string lead = "COM6 is ";
    EXPECT_TRUE(line.starts_with(lead + "/dev/pts/")) << line;
    EXPECT_EQ(OpenPort(kCom), 0);
    EXPECT_EQ(ConfigPort(kCom, 500, 38400), 0);
    return line.starts_with(lead) ? line.substr(lead.size()) : "";
  }

  testsupport::TempConfigHome home_;
};

TEST_F(ProgramTest, ServesWhatItsOptionsSayAndRemovesItsLinkOnSigtermOrSigint) {
  for (const int sig : {SIGTERM, SIGINT}) {
    Program program({"--com", "6", "--speed", "0", "--firmware", "0527", "--hours", "99",
                     "--cycles", "7", "--model", "12"});
    EXPECT_EQ(fs::read_symlink(Link()), Announced(program));
    EXPECT_EQ(DoSynchronize(kCom), 1);
    EXPECT_EQ(ReadMSPVersion(kCom), 0x0527) << "a hexadecimal firmware version";
    EXPECT_EQ(ReadPowerOnTime(kCom), 99);
    EXPECT_EQ(ReadPowerOnCycles(kCom), 7);
    uint16_t model = 0;
    EXPECT_EQ(ReadRegisterWren(kCom, 0x200000, &model), 0);
    EXPECT_EQ((model >> 5) & 0xF, 12);
    ClosePort(kCom);
    program.Signal(sig);
    EXPECT_EQ(program.ExitCode(), 0);
    EXPECT_FALSE(fs::is_symlink(Link()));
  }
}

TEST_F(ProgramTest, RefusesALinkThatLeadsElsewhereAndOptionsItCannotTake) {
  home_.LinkPort(kCom, "/dev/null");
  Program taken({"--com", "6"});
  EXPECT_EQ(taken.ExitCode(), 1);
  EXPECT_NE(taken.Output(false).find("COM6"), std::string::npos);
  EXPECT_EQ(fs::read_symlink(Link()), "/dev/null");
  Program bad({"--drop", "2"});
  EXPECT_EQ(bad.ExitCode(), 2);
  EXPECT_NE(bad.Output(false).find("--drop"), std::string::npos);
  Program help({"--help"});
  EXPECT_EQ(help.ExitCode(), 0);
  EXPECT_NE(help.Output(false).find("--silent-for"), std::string::npos);
}

// Signals land when the program gets to them, so the host waits for the
// line to show each change rather than for any length of time.
TEST_F(ProgramTest, UserSignalsPullAndPlugTheCable) {
  Program program({"--com", "6"});
  Announced(program);
  EXPECT_EQ(DoSynchronize(kCom), 1);
  program.Signal(SIGUSR1);
  EXPECT_TRUE(Eventually([] { return SendSync(kCom) == -1; }));
  EXPECT_EQ(ReadMSPVersion(kCom), -1);
  program.Signal(SIGUSR2);
  EXPECT_TRUE(Eventually([] { return DoSynchronize(kCom) == 1; }));
  EXPECT_EQ(ReadMSPVersion(kCom), 0x0512) << "nothing sent before the pull is answered after it";
}

TEST_F(ProgramTest, ACablePulledOnATimerComesBackAfterItsSpell) {
  Program program({"--com", "6", "--silent-after", "200", "--silent-for", "1500"});
  Announced(program);
  EXPECT_TRUE(Eventually([] { return SendSync(kCom) == -1; }));
  EXPECT_TRUE(Eventually([] { return DoSynchronize(kCom) == 1; }));
  EXPECT_EQ(ReadMSPVersion(kCom), 0x0512);
}

}  // namespace
}  // namespace veritrak
