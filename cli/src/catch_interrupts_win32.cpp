// The console calls its handler on a thread of its own; a closed pipe is
// already a failed write on Windows.
#include <windows.h>

#include "interrupt.h"

namespace probelink_cli {
namespace {

BOOL WINAPI Raise(DWORD event) {
  if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT) return FALSE;
  NoteInterrupt();
  return TRUE;
}

}  // namespace

void CatchInterrupts() { SetConsoleCtrlHandler(Raise, TRUE); }

}  // namespace probelink_cli
