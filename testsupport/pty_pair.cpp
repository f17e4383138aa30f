#include "pty_pair.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <stdexcept>

namespace testsupport {

PtyPair::PtyPair() {
  master_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0)
    throw std::runtime_error("cannot create a pseudo-terminal");
  slavePath_ = ptsname(master_);
  slave_ = ::open(slavePath_.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (slave_ < 0) throw std::runtime_error("cannot open " + slavePath_);
  termios t{};
  tcgetattr(slave_, &t);
  cfmakeraw(&t);
  tcsetattr(slave_, TCSANOW, &t);
}

PtyPair::~PtyPair() {
  ::close(slave_);
  if (master_ >= 0) ::close(master_);
}

void PtyPair::HangUp() {
  ::close(master_);
  master_ = -1;
}

void PtyPair::Write(const std::vector<uint8_t>& bytes) const {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t r = ::write(master_, bytes.data() + done, bytes.size() - done);
    if (r < 0) throw std::runtime_error("pseudo-terminal write failed");
    done += static_cast<size_t>(r);
  }
}

std::vector<uint8_t> PtyPair::Read(size_t n, std::chrono::milliseconds limit) const {
  std::vector<uint8_t> got;
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (got.size() < n) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) break;
    pollfd p{master_, POLLIN, 0};
    if (poll(&p, 1, static_cast<int>(left.count())) <= 0) break;
    uint8_t buffer[512];
    const ssize_t r = ::read(master_, buffer, std::min(sizeof buffer, n - got.size()));
    if (r <= 0) break;
    got.insert(got.end(), buffer, buffer + r);
  }
  return got;
}

size_t PtyPair::SlaveInputQueued() const {
  int queued = 0;
  return ioctl(slave_, FIONREAD, &queued) == 0 ? static_cast<size_t>(queued) : 0;
}

std::vector<uint8_t> PtyPair::Drain(std::chrono::milliseconds quiet) const {
  std::vector<uint8_t> all;
  for (;;) {
    auto more = Read(4096, quiet);
    if (more.empty()) return all;
    all.insert(all.end(), more.begin(), more.end());
  }
}

}  // namespace testsupport
