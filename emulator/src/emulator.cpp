#include "veritrak/emulator.h"

#include <mutex>
#include <thread>

#include "device.h"
#include "faults.h"
#include "host_journal.h"
#include "pseudo_terminal.h"
#include "serve_loop.h"
#include "transmitter.h"
#include "wake_pipe.h"

namespace veritrak {

struct Emulator::Impl {
  explicit Impl(const Options& o) : options(o), faults(o.faults) {
    thread = std::thread([this] { Serve(); });
  }

  // Everything the device touches lives on the serving thread; only the
  // fault settings, the journal of written words and the stop flag are shared.
  void Serve() {
    const TimePoint origin = Clock::now();
    LineNoise noise(faults, options.head.seed + 1);
    Transmitter tx(options.line.paced, noise);
    Device device(options, faults, journal, tx, origin);
    const ServeLoop::Ending ending =
        ServeLoop(pty.Master(), wake, device, tx, faults, options.line.paced, stopping).Run();
    if (ending == ServeLoop::Ending::HangUp) pty.HangUp();
  }

  const Options options;
  FaultControl faults;
  HostJournal journal;
  PseudoTerminal pty;
  WakePipe wake;
  std::atomic<bool> stopping{false};
  std::once_flag stopOnce;
  std::thread thread;
};

Emulator::Emulator(const Options& options) : impl_(std::make_unique<Impl>(options)) {}

Emulator::~Emulator() { Stop(); }

const std::string& Emulator::DevicePath() const { return impl_->pty.SlavePath(); }

void Emulator::Stop() {
  std::call_once(impl_->stopOnce, [this] {
    impl_->stopping = true;
    impl_->wake.Notify();
    impl_->thread.join();
  });
}

void Emulator::SetDropFraction(double fraction) { impl_->faults.SetDropFraction(fraction); }
void Emulator::SetCorruptFraction(double fraction) { impl_->faults.SetCorruptFraction(fraction); }
void Emulator::SetRefuseAcks(bool refuse) { impl_->faults.SetRefuseAcks(refuse); }
void Emulator::SetLateBy(std::chrono::milliseconds delay) { impl_->faults.SetLateBy(delay); }

void Emulator::PullCable(std::optional<std::chrono::milliseconds> duration) {
  impl_->faults.PullCable(Clock::now(), duration);
  impl_->wake.Notify();
}

void Emulator::PlugCable() {
  impl_->faults.PlugCable();
  impl_->wake.Notify();
}

bool Emulator::CablePulled() const { return impl_->faults.Silent(Clock::now()); }

void Emulator::SetIgnoreWrites(bool ignore) { impl_->faults.SetIgnoreWrites(ignore); }

void Emulator::EndLineAfterNextCommand(LineEnd end) { impl_->faults.EndLineAfterNextCommand(end); }

std::vector<uint32_t> Emulator::WrittenWords() const { return impl_->journal.Words(); }

}  // namespace veritrak
