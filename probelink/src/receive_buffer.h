// Bytes the POSIX layer has taken from the tty and not yet handed to a
// caller: one read takes all the line holds, so that a record read a few
// bytes at a time costs one system call, not one each. To the caller they
// are still in the receive queue, and a purge empties both.
// It also counts down the bytes a caller said it is about to read in a row.
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
  static constexpr size_t kCapacity = 4096;

  // Hands over up to n held bytes; returns how many.
  size_t Take(uint8_t* into, size_t n) {
    const std::lock_guard lock(mutex_);
    const size_t k = std::min(n, end_ - begin_);
    std::copy_n(bytes_.begin() + static_cast<std::ptrdiff_t>(begin_), k, into);
    begin_ += k;
    if (begin_ == end_) begin_ = end_ = 0;
    announced_ -= std::min(announced_, k);
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
    announced_ = 0;
  }
  // The caller is about to read n bytes in a row, a few at a time.
  void Announce(size_t n) {
    const std::lock_guard lock(mutex_);
    announced_ = n;
  }
  // With nothing held and `wanted` bytes still to come: how many of a record
  // the caller announced are still to come, or 0 when it announced none.
  size_t AwaitedOfRecord(size_t wanted) {
    const std::lock_guard lock(mutex_);
    return announced_ > 0 ? std::max(wanted, announced_) : 0;
  }

 private:
  std::mutex mutex_;
  std::array<uint8_t, kCapacity> bytes_{};
  size_t begin_ = 0, end_ = 0;
  size_t announced_ = 0;
};

}  // namespace probelink
