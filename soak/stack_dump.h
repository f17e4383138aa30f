// Every thread's stack, printed on standard error through gdb when it is
// installed (otherwise the calling thread's own frames), for a crash or for
// a window that stopped answering.
#pragma once

namespace soak {

// Finds gdb and dumps the stacks on a fatal signal before the signal's own
// action ends the program.
void PrepareStackDumps();
void DumpStacks();

}  // namespace soak
