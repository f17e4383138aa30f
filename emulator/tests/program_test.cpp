// The veritrak-emulator program as a user runs it.
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
#include <thread>
#include <vector>

#include "emulator_fixture.h"

extern char** environ;

namespace veritrak {
namespace {

using namespace std::chrono_literals;
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

  // What the program has written, up to the first end of line.
  std::string FirstLine(std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (text_.find('\n') == std::string::npos && std::chrono::steady_clock::now() < deadline)
      if (!ReadMore(10ms)) break;
    return text_.substr(0, text_.find('\n'));
  }

  // Everything up to the end of its output.
  std::string AllOutput() {
    while (ReadMore(10s)) {
    }
    return text_;
  }

  std::optional<int> ExitCode(std::chrono::milliseconds limit) {
    Eventually(
        [&] {
          int status = 0;
          if (waitpid(pid_, &status, WNOHANG) == pid_)
            exit_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
          return exit_.has_value();
        },
        limit);
    return exit_;
  }

 private:
  bool ReadMore(std::chrono::milliseconds wait) {
    pollfd p{output_, POLLIN, 0};
    if (poll(&p, 1, static_cast<int>(wait.count())) <= 0) return true;
    char buffer[4096];
    const ssize_t n = ::read(output_, buffer, sizeof buffer);
    if (n <= 0) return false;
    text_.append(buffer, static_cast<size_t>(n));
    return true;
  }

  pid_t pid_ = -1;
  int output_ = -1;
  std::string text_;
  std::optional<int> exit_;
};

class ProgramTest : public ::testing::Test {
 protected:
  void TearDown() override { ClosePort(kCom); }

  fs::path Link() const { return home_.PortFolder() / ("COM" + std::to_string(kCom)); }

  // Waits for the program's line and returns the device path it names.
  std::string Announced(Program& program) {
    const std::string line = program.FirstLine(10s);
    const std::string lead = "COM6 is ";
    EXPECT_TRUE(line.starts_with(lead + "/dev/pts/")) << line;
    return line.starts_with(lead) ? line.substr(lead.size()) : "";
  }

  void OpenAtHostTimeOut() {
    ASSERT_EQ(OpenPort(kCom), 0);
    ASSERT_EQ(ConfigPort(kCom, 100, 38400), 0);
  }

  testsupport::TempConfigHome home_;
};

TEST_F(ProgramTest, LinksItsPortServesAndRemovesTheLinkOnSigterm) {
  Program program({"--com", "6", "--speed", "0"});
  const std::string device = Announced(program);
  EXPECT_EQ(fs::read_symlink(Link()), device);
  OpenAtHostTimeOut();
  EXPECT_EQ(DoSynchronize(kCom), 1);
  EXPECT_EQ(ReadMSPVersion(kCom), 0x0512);
  ClosePort(kCom);
  program.Signal(SIGTERM);
  EXPECT_EQ(program.ExitCode(10s), 0);
  EXPECT_FALSE(fs::is_symlink(Link()));
}

TEST_F(ProgramTest, SigintEndsItAsCleanly) {
  Program program({"--com", "6"});
  Announced(program);
  program.Signal(SIGINT);
  EXPECT_EQ(program.ExitCode(10s), 0);
  EXPECT_FALSE(fs::is_symlink(Link()));
}

TEST_F(ProgramTest, RefusesALinkThatLeadsElsewhere) {
  home_.LinkPort(kCom, "/dev/null");
  Program program({"--com", "6"});
  EXPECT_EQ(program.ExitCode(10s), 1);
  EXPECT_NE(program.AllOutput().find("COM6"), std::string::npos);
  EXPECT_EQ(fs::read_symlink(Link()), "/dev/null");
}

TEST_F(ProgramTest, UserSignalsPullAndPlugTheCable) {
  Program program({"--com", "6"});
  Announced(program);
  OpenAtHostTimeOut();
  EXPECT_EQ(DoSynchronize(kCom), 1);
  program.Signal(SIGUSR1);
  EXPECT_TRUE(Eventually([] { return SendSync(kCom) == -1; }));
  EXPECT_EQ(ReadMSPVersion(kCom), -1);
  program.Signal(SIGUSR2);
  EXPECT_TRUE(Eventually([] { return DoSynchronize(kCom) == 1; }));
  EXPECT_EQ(ReadMSPVersion(kCom), 0x0512);
}

TEST_F(ProgramTest, CablePulledOnATimerComesBackAfterItsSpell) {
  Program program({"--com", "6", "--silent-after", "100", "--silent-for", "800"});
  Announced(program);
  OpenAtHostTimeOut();
  EXPECT_TRUE(Eventually([] { return SendSync(kCom) == -1; }));
  EXPECT_TRUE(Eventually([] { return DoSynchronize(kCom) == 1; }));
}

TEST_F(ProgramTest, HelpListsTheOptionsAndBadOptionsAreRefused) {
  Program help({"--help"});
  EXPECT_EQ(help.ExitCode(10s), 0);
  const std::string usage = help.AllOutput();
  EXPECT_NE(usage.find("--paced"), std::string::npos);
  EXPECT_NE(usage.find("--com"), std::string::npos);
  Program bad({"--drop", "2"});
  EXPECT_EQ(bad.ExitCode(10s), 2);
  EXPECT_NE(bad.AllOutput().find("--drop"), std::string::npos);
}

}  // namespace
}  // namespace veritrak
