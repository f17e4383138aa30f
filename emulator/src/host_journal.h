// The words the electronics accepted from the host, shared between the
// serving thread that records them and a test that checks the wire.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <vector>

namespace veritrak {

class HostJournal {
 public:
  // A program that serves for days must not grow without end.
  static constexpr size_t kCapacity = 1024;

  void Record(uint32_t word);
  std::vector<uint32_t> Words() const;

 private:
  mutable std::mutex mutex_;
  std::deque<uint32_t> words_;
};

}  // namespace veritrak
