// Wakes the serving thread out of its wait when another thread changed
// something it must act on (a stop, a pulled or plugged cable).
#pragma once

namespace veritrak {

class WakePipe {
 public:
  // Throws std::system_error.
  WakePipe();
  ~WakePipe();
  WakePipe(const WakePipe&) = delete;
  WakePipe& operator=(const WakePipe&) = delete;

  int ReadEnd() const { return read_; }
  void Notify() const;
  void Drain() const;

 private:
  int read_ = -1;
  int write_ = -1;
};

}  // namespace veritrak
