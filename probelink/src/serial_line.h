// The platform's serial line, chosen when the library is built.
#pragma once

#if defined(_WIN32)
#include "serial_win32.h"
namespace probelink {
using SerialLine = SerialWin32;
}
#else
#include "serial_posix.h"
namespace probelink {
using SerialLine = SerialPosix;
}
#endif
