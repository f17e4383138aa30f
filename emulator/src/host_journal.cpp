#include "host_journal.h"

namespace veritrak {

void HostJournal::Record(uint32_t word) {
  const std::lock_guard lock(mutex_);
  if (words_.size() == kCapacity) words_.pop_front();
  words_.push_back(word);
}

std::vector<uint32_t> HostJournal::Words() const {
  const std::lock_guard lock(mutex_);
  return {words_.begin(), words_.end()};
}

}  // namespace veritrak
