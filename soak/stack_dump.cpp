#include "stack_dump.h"

#include <execinfo.h>
#include <limits.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QStandardPaths>
#include <cstdio>
#include <cstring>

namespace soak {
namespace {

// Filled before any fault: a signal handler must not allocate.
char gdbPath[PATH_MAX] = "";
char pidText[24] = "";

bool DumpThroughGdb() {
  if (!gdbPath[0]) return false;
  const pid_t child = fork();
  if (child == 0) {
    // gdb fails when the working directory has gone.
    (void)!chdir("/");
    dup2(STDERR_FILENO, STDOUT_FILENO);
    execl(gdbPath, "gdb", "-nx", "-batch", "-p", pidText, "-ex", "thread apply all bt",
          static_cast<char*>(nullptr));
    _exit(127);
  }
  int status = 0;
  return child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) &&
         WEXITSTATUS(status) == 0;
}

void OnFatalSignal(int signal) {
  static const char kNote[] = "soak: fatal signal; the stacks follow\n";
  (void)!write(STDERR_FILENO, kNote, sizeof kNote - 1);
  DumpStacks();
  raise(signal);  // the handler is reset: the signal's own action now
}

}  // namespace

void PrepareStackDumps() {
  const QByteArray gdb = QStandardPaths::findExecutable(QStringLiteral("gdb")).toLocal8Bit();
  if (!gdb.isEmpty() && gdb.size() < PATH_MAX) std::strcpy(gdbPath, gdb.constData());
  std::snprintf(pidText, sizeof pidText, "%d", static_cast<int>(getpid()));
  struct sigaction action = {};
  action.sa_handler = OnFatalSignal;
  action.sa_flags = SA_RESETHAND | SA_NODEFER;
  for (int signal : {SIGSEGV, SIGABRT, SIGBUS, SIGFPE, SIGILL}) sigaction(signal, &action, nullptr);
}

void DumpStacks() {
  if (DumpThroughGdb()) return;
  void* frames[64];
  backtrace_symbols_fd(frames, backtrace(frames, 64), STDERR_FILENO);
}

}  // namespace soak
