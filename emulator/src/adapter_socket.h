// The socket the USB adapter sits in: the pseudo-terminal of the moment, and
// the hand-over between a thread that unplugs, plugs or stops and the serving
// thread, which alone closes a line it serves, so that its wait on the line
// never meets a closed descriptor.
#pragma once

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "pseudo_terminal.h"
#include "wake_pipe.h"

namespace veritrak {

// What the serving thread is asked to break off for.
enum class Interruption { None, Unplug, Stop };

class AdapterSocket {
 public:
  // With the adapter in. Throws std::system_error.
  AdapterSocket();

  // From any thread.
  std::string Path() const;
  void Stop();
  // Returns once the serving thread has closed the line, or has ended.
  void Unplug();
  // Throws std::system_error.
  std::string Plug();
  const WakePipe& Wake() const { return wake_; }

  // From the serving thread.
  const std::atomic<Interruption>& Interrupted() const { return interruption_; }
  // The line to serve, once the adapter is in; none once stopping.
  std::optional<int> AwaitLine();
  // Closes the line served, which hangs up the host's handle.
  void CloseLine();
  void ServingEnded();

 private:
  mutable std::mutex mutex_;
  std::condition_variable changed_;
  std::unique_ptr<PseudoTerminal> pty_;
  std::string path_;
  bool serving_ = true;
  std::atomic<Interruption> interruption_{Interruption::None};
  WakePipe wake_;
};

}  // namespace veritrak
