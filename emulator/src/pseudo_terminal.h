// The pseudo-terminal the electronics sit behind. The emulator keeps a
// handle on the slave side itself, so that the master never sees a hang-up
// between one host session and the next. Closing it hangs up the host's
// handle, as an unplugged adapter does.
#pragma once

#include <string>

namespace veritrak {

class PseudoTerminal {
 public:
  // Throws std::system_error.
  PseudoTerminal();
  ~PseudoTerminal();
  PseudoTerminal(const PseudoTerminal&) = delete;
  PseudoTerminal& operator=(const PseudoTerminal&) = delete;

  int Master() const { return master_; }
  const std::string& SlavePath() const { return slavePath_; }

 private:
  int master_ = -1;
  int slave_ = -1;
  std::string slavePath_;
};

}  // namespace veritrak
