#include "wake_pipe.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

namespace veritrak {
namespace {

void MakeNonBlocking(int fd) {
  (void)fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
  (void)fcntl(fd, F_SETFD, FD_CLOEXEC);
}

}  // namespace

WakePipe::WakePipe() {
  int fds[2];
  if (pipe(fds) != 0) throw std::system_error(errno, std::generic_category(), "pipe");
  read_ = fds[0];
  write_ = fds[1];
  MakeNonBlocking(read_);
  MakeNonBlocking(write_);
}

WakePipe::~WakePipe() {
  ::close(read_);
  ::close(write_);
}

// A full pipe already holds a wake-up, so a failed write loses nothing.
void WakePipe::Notify() const {
  const char byte = 1;
  (void)!::write(write_, &byte, 1);
}

void WakePipe::Drain() const {
  char buffer[64];
  while (::read(read_, buffer, sizeof buffer) > 0) {
  }
}

}  // namespace veritrak
