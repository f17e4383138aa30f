// Ctrl-C (and SIGTERM, or Ctrl-Break on Windows) only raise a flag: the loops that watch or stream
// look at it, so that they end the stream and close the port on their way
// out rather than leaving the electronics streaming and the port locked.
#pragma once

#include <chrono>

namespace probelink_cli {

// Also, where a closed output would end the program (SIGPIPE), makes it a
// failed write instead.
void CatchInterrupts();
// Raises the flag; what the platform's handler calls, safe in a signal
// handler.
void NoteInterrupt();
bool Interrupted();
// Returns early when interrupted.
void SleepUnlessInterrupted(std::chrono::duration<double> time);

}  // namespace probelink_cli
