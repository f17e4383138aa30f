#include <signal.h>

#include "interrupt.h"

namespace probelink_cli {
namespace {

void Raise(int) { NoteInterrupt(); }

}  // namespace

void CatchInterrupts() {
  struct sigaction action {};
  action.sa_handler = Raise;
  sigemptyset(&action.sa_mask);
  for (const int signal : {SIGINT, SIGTERM}) sigaction(signal, &action, nullptr);
  // A reader that goes away ends the output like Ctrl-C, not by killing the
  // program in the middle of a stream.
  signal(SIGPIPE, SIG_IGN);
}

}  // namespace probelink_cli
