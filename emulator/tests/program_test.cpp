// The veritrak-emulator program as a user runs it: its options reach the
// electronics, its port link, its signals and its exit codes. What it says
// about a refused option is the parser's message, checked in
// command_line_test.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <filesystem>
#include <optional>
#include <string>

#include "emulator_fixture.h"

extern char** environ;

namespace veritrak {
namespace {

namespace fs = std::filesystem;

constexpr int32_t kCom = 6;

class ProgramTest : public ::testing::Test {
 protected:
  void TearDown() override {
    ClosePort(kCom);
    Stop();
  }

  // Starts the program in a child process, ending one still running.
  void Start(std::vector<std::string> args) {
    Stop();
    args.insert(args.begin(), VERITRAK_EMULATOR_PATH);
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    exit_.reset();
    ASSERT_EQ(posix_spawn(&pid_, argv[0], nullptr, nullptr, argv.data(), environ), 0);
  }
  void Stop() {
    if (pid_ <= 0 || exit_) return;
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
    exit_ = -1;
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

  fs::path Link() const { return home_.PortFolder() / ("COM" + std::to_string(kCom)); }

  // The link appears once the electronics serve. The port is opened at a
  // host time-out so wide that a failure can only be a silent line, never a
  // slow answer.
  void OpenWhenServing() {
    ASSERT_TRUE(Eventually([&] { return fs::is_symlink(Link()); }));
    ASSERT_EQ(OpenPort(kCom), 0);
    ASSERT_EQ(ConfigPort(kCom, 500, 38400), 0);
  }

  pid_t pid_ = -1;
  std::optional<int> exit_;
  testsupport::TempConfigHome home_;
};

TEST_F(ProgramTest, RefusesALinkThatLeadsElsewhereAndOptionsItCannotTake) {
  home_.LinkPort(kCom, "/dev/null");
  Start({"--com", "6"});
  EXPECT_EQ(ExitCode(), 1);
  EXPECT_EQ(fs::read_symlink(Link()), "/dev/null");
  Start({"--drop", "2"});
  EXPECT_EQ(ExitCode(), 2);
}

// The cable comes back by itself after its spell; then the options show in
// what the electronics report, and SIGTERM ends the program and its link.
TEST_F(ProgramTest, ServesWhatItsOptionsSayAndTidiesUpOnSigterm) {
  Start({"--com", "6", "--speed", "0", "--firmware", "0527", "--silent-after", "200",
         "--silent-for", "1500"});
  OpenWhenServing();
  EXPECT_TRUE(Eventually([] { return SendSync(kCom) == -1; }));
  EXPECT_TRUE(Eventually([] { return DoSynchronize(kCom) == 1; }));
  EXPECT_EQ(ReadMSPVersion(kCom), 0x0527) << "a hexadecimal firmware version";
  ClosePort(kCom);
  kill(pid_, SIGTERM);
  EXPECT_EQ(ExitCode(), 0);
  EXPECT_FALSE(fs::is_symlink(Link()));
}

// Signals land when the program gets to them, so the host waits for the
// line to show each change rather than for any length of time.
TEST_F(ProgramTest, UserSignalsPullAndPlugTheCable) {
  Start({"--com", "6"});
  OpenWhenServing();
  EXPECT_EQ(DoSynchronize(kCom), 1);
  kill(pid_, SIGUSR1);
  EXPECT_TRUE(Eventually([] { return SendSync(kCom) == -1; }));
  EXPECT_EQ(ReadMSPVersion(kCom), -1);
  kill(pid_, SIGUSR2);
  EXPECT_TRUE(Eventually([] { return DoSynchronize(kCom) == 1; }));
  EXPECT_EQ(ReadMSPVersion(kCom), 0x0512) << "nothing sent before the pull is answered after it";
  ClosePort(kCom);
  kill(pid_, SIGINT);
  EXPECT_EQ(ExitCode(), 0);
  EXPECT_FALSE(fs::is_symlink(Link()));
}

}  // namespace
}  // namespace veritrak
