#include "pseudo_terminal.h"

#include <fcntl.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

namespace veritrak {
namespace {

[[noreturn]] void Fail(const char* what) {
  throw std::system_error(errno, std::generic_category(), what);
}

}  // namespace

PseudoTerminal::PseudoTerminal() {
  master_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (master_ < 0) Fail("posix_openpt");
  try {
    char name[128];
    if (grantpt(master_) != 0 || unlockpt(master_) != 0 ||
        ptsname_r(master_, name, sizeof name) != 0)
      Fail("pseudo-terminal slave");
    slavePath_ = name;
    slave_ = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (slave_ < 0) Fail(name);
    // Raw until the host sets its own line: no echo of what the device sends.
    termios t{};
    if (tcgetattr(slave_, &t) != 0) Fail("tcgetattr");
    cfmakeraw(&t);
    if (tcsetattr(slave_, TCSANOW, &t) != 0) Fail("tcsetattr");
    if (fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK) != 0) Fail("fcntl");
  } catch (...) {
    if (slave_ >= 0) ::close(slave_);
    ::close(master_);
    throw;
  }
}

PseudoTerminal::~PseudoTerminal() {
  ::close(slave_);
  ::close(master_);
}

}  // namespace veritrak
