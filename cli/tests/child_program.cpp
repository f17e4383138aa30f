#include "child_program.h"

#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace probelink_cli {

using Clock = std::chrono::steady_clock;

ChildProgram::ChildProgram(const std::vector<std::string>& args) {
  int out[2], err[2];
  if (pipe(out) != 0 || pipe(err) != 0) return;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
  posix_spawn_file_actions_adddup2(&actions, err[1], STDERR_FILENO);
  for (const int fd : {out[0], out[1], err[0], err[1]})
    posix_spawn_file_actions_addclose(&actions, fd);
  std::vector<char*> argv{const_cast<char*>(PROBELINK_CLI_PATH)};
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  if (posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ) != 0) pid_ = -1;
  posix_spawn_file_actions_destroy(&actions);
  close(out[1]);
  close(err[1]);
  out_ = out[0];
  err_ = err[0];
}

ChildProgram::~ChildProgram() {
  if (pid_ > 0) {
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
  }
  for (const int fd : {out_, err_})
    if (fd >= 0) close(fd);
}

bool ChildProgram::Drain(std::chrono::milliseconds wait) {
  pollfd fds[] = {{out_, POLLIN, 0}, {err_, POLLIN, 0}};
  poll(fds, 2, static_cast<int>(wait.count()));
  bool open = false;
  for (int* fd : {&out_, &err_}) {
    const pollfd& polled = fds[fd == &out_ ? 0 : 1];
    if (*fd < 0) continue;
    char buffer[4096];
    const ssize_t n = polled.revents ? read(*fd, buffer, sizeof buffer) : 1;
    if (n > 0 && polled.revents)
      (fd == &out_ ? outcome_.out : outcome_.err).append(buffer, size_t(n));
    if (n <= 0) {
      close(*fd);
      *fd = -1;
    }
    open = open || *fd >= 0;
  }
  return open;
}

bool ChildProgram::WaitFor(const std::function<bool(const std::string&)>& seen,
                           std::chrono::milliseconds limit) {
  const auto deadline = Clock::now() + limit;
  while (!seen(outcome_.out))
    if (!Drain(std::chrono::milliseconds(10)) || Clock::now() > deadline) return false;
  return true;
}

void ChildProgram::Signal(int signal) const { kill(pid_, signal); }

Outcome ChildProgram::Finish(std::chrono::milliseconds limit) {
  const auto deadline = Clock::now() + limit;
  while (Drain(std::chrono::milliseconds(10)))
    if (Clock::now() > deadline) return outcome_;  // still running: the destructor kills it
  int status = 0;
  if (waitpid(pid_, &status, 0) == pid_)
    outcome_.exit = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  pid_ = -1;
  return outcome_;
}

}  // namespace probelink_cli
