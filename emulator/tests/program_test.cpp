// The veritrak-emulator program as a user runs it: its options reach the
// electronics, its port link, its signals and its exit codes. What it says
// about a refused option is the parser's message, checked in
// command_line_test.
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
  void TearDown() override { Stop(); }

  // Starts the program in a child process, ending one still running.
  void Start(std::vector<const char*> args) {
    Stop();
    args.insert(args.begin(), VERITRAK_EMULATOR_PATH);
    args.push_back(nullptr);
    exit_.reset();
    ASSERT_EQ(
        posix_spawn(&pid_, args[0], nullptr, nullptr, const_cast<char**>(args.data()), environ), 0);
  }
  // Lets go of the port and ends the program if it still runs.
  void Stop() {
    ClosePort(kCom);
    if (pid_ <= 0 || exit_) return;
    kill(pid_, SIGKILL);
    ExitCode();
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

// The cable is pulled by the options for a spell, or by SIGUSR1 until
// SIGUSR2; then the options show in what the electronics report, and SIGTERM
// or SIGINT ends the program and its link. Signals land when the program gets
// to them, so the host waits for the line to show each change rather than for
// any length of time.
TEST_F(ProgramTest, PullsTheCableOnItsOptionsOrSignalsServesWhatItsOptionsSayAndTidiesUp) {
  // clang-format off
  const std::tuple<std::vector<const char*>, int, int, int32_t, int> cases[] = {
    {{"--com", "6", "--speed", "0", "--firmware", "0527", "--silent-after", "200",
      "--silent-for", "1500"}, 0, 0, 0x0527, SIGTERM},  // a hexadecimal firmware version
    {{"--com", "6"}, SIGUSR1, SIGUSR2, 0x0512, SIGINT}};
  // clang-format on
  for (const auto& [args, pull, plug, version, end] : cases) {
    Start(args);
    OpenWhenServing();
    if (pull) {
      EXPECT_EQ(DoSynchronize(kCom), 1);
      kill(pid_, pull);
    }
    EXPECT_TRUE(Eventually([] { return SendSync(kCom) == -1; }));
    if (plug) kill(pid_, plug);
    EXPECT_TRUE(Eventually([] { return DoSynchronize(kCom) == 1; }));
    EXPECT_EQ(ReadMSPVersion(kCom), version) << "nothing sent before the pull is answered after it";
    ClosePort(kCom);
    kill(pid_, end);
    EXPECT_EQ(ExitCode(), 0);
    EXPECT_FALSE(fs::is_symlink(Link()));
  }
}

// The adapter unplugged by the options or by SIGRTMIN: the host's handle
// hangs up, COMn leads nowhere while the adapter is away (its pseudo-terminal
// number may be another program's by then), and once the adapter is back the
// same COM port leads to the electronics on their new pseudo-terminal.
TEST_F(ProgramTest, UnplugsTheAdapterOnItsOptionsOrASignalAndLinksItWhenItIsBack) {
  const std::tuple<std::vector<const char*>, int> cases[] = {
      {{"--com", "6", "--vanish-after", "1000", "--vanish-for", "200"}, 0},
      {{"--com", "6", "--vanish-for", "3000"}, SIGRTMIN}};
  for (const auto& [args, unplug] : cases) {
    Start(args);
    OpenWhenServing();
    EXPECT_EQ(DoSynchronize(kCom), 1);
    if (unplug) kill(pid_, unplug);
    EXPECT_TRUE(Eventually([] { return SendSync(kCom) == -2; }));
    ClosePort(kCom);
    if (unplug) {
      EXPECT_EQ(OpenPort(kCom), -1) << "COM6 opened while its adapter was away";
    }
    EXPECT_TRUE(Eventually([] {
      if (OpenPort(kCom) != 0) return false;
      if (ConfigPort(kCom, 500, 38400) == 0 && DoSynchronize(kCom) == 1) return true;
      ClosePort(kCom);
      return false;
    }));
    ClosePort(kCom);
    kill(pid_, SIGTERM);
    EXPECT_EQ(ExitCode(), 0);
    EXPECT_FALSE(fs::is_symlink(Link()));
  }
}

}  // namespace
}  // namespace veritrak
