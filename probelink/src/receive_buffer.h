// Bytes the POSIX layer has taken from the tty and not yet handed to a
// caller: one read takes all the line holds, so that a record read a few
// bytes at a time costs one system call, not one each. To the caller they
// are still in the receive queue, and a purge empties both.
#pragma once

#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <mutex>

namespace probelink {

class ReceiveBuffer {
 public:
  // Hands over up to n held bytes; returns how many.
  size_t Take(uint8_t* into, size_t n) {
    const std::lock_guard lock(mutex_);
    const size_t k = std::min(n, end_ - begin_);
    std::copy_n(bytes_.begin() + static_cast<std::ptrdiff_t>(begin_), k, into);
    begin_ += k;
    if (begin_ == end_) begin_ = end_ = 0;
    return k;
  }
  // Once all held bytes are taken: one non-blocking read of what the
  // descriptor holds, answered as read() answers.
  ssize_t Fill(int fd) {
    const std::lock_guard lock(mutex_);
    begin_ = end_ = 0;
    const ssize_t r = ::read(fd, bytes_.data(), bytes_.size());
    if (r > 0) end_ = static_cast<size_t>(r);
    return r;
  }
  void Clear() {
    const std::lock_guard lock(mutex_);
    begin_ = end_ = 0;
  }

 private:
  std::mutex mutex_;
  std::array<uint8_t, 4096> bytes_{};
  size_t begin_ = 0, end_ = 0;
};

}  // namespace probelink
