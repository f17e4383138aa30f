// How other processes steer the running program: SIGINT and SIGTERM end it,
// SIGUSR1 pulls the cable, SIGUSR2 plugs it back in, SIGRTMIN unplugs the
// adapter for a while.
#pragma once

#include <signal.h>

#include "command_line.h"
#include "port_link.h"
#include "veritrak/emulator.h"

namespace veritrak {

// Call before any thread starts, so that every thread inherits the mask and
// the signals wait for AnswerSignals.
sigset_t BlockControlSignals();
// Returns on SIGINT or SIGTERM. An adapter plugged back in is linked by `link`.
void AnswerSignals(const sigset_t& signals, Emulator& emulator, PortLink& link,
                   const ProgramOptions& options);

}  // namespace veritrak
