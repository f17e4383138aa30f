// Ctrl-C (and SIGTERM) only raise a flag: the loops that watch or stream
// look at it, so that they end the stream and close the port on their way
// out rather than leaving the electronics streaming and the port locked.
#pragma once

#include <chrono>

namespace probelink_cli {

// Also ignores SIGPIPE: a closed output shows as a failed write instead.
void CatchInterrupts();
bool Interrupted();
// Returns early when interrupted.
void SleepUnlessInterrupted(std::chrono::duration<double> time);

}  // namespace probelink_cli
