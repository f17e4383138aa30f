// The soak's counts, kept in a file after every case as well, so that the
// script can still report them when the program dies.
#pragma once

#include <atomic>
#include <mutex>
#include <string>

namespace soak {

class Tally {
 public:
  explicit Tally(std::string path) : path_(std::move(path)) {}

  std::atomic<int> faults{0}, recovered{0}, hangs{0};

  // "faults recovered hangs" on one line; nothing without a path.
  void Save();
  std::string Summary() const;

 private:
  const std::string path_;
  std::mutex mutex_;
};

}  // namespace soak
