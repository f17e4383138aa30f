#include "veritrak/emulator.h"

#include <mutex>
#include <thread>

#include "adapter_socket.h"
#include "device.h"
#include "faults.h"
#include "host_journal.h"
#include "serve_loop.h"
#include "transmitter.h"

namespace veritrak {

struct Emulator::Impl {
  explicit Impl(const Options& o) : options(o), faults(o.faults) {
    thread = std::thread([this] { Serve(); });
  }

  // Everything the device touches lives on the serving thread; only the
  // fault settings, the journal of written words and the socket are shared.
  // The device outlives an unplugged adapter, as the electronics do, but
  // loses what was on its way.
  void Serve() {
    const TimePoint origin = Clock::now();
    LineNoise noise(faults, options.head.seed + 1);
    Transmitter tx(options.line, noise);
    Device device(options, faults, journal, tx, origin);
    while (const auto line = socket.AwaitLine()) {
      const ServeLoop::Ending ending = ServeLoop(*line, socket.Wake(), device, tx, faults,
                                                 options.line.paced, socket.Interrupted())
                                           .Run();
      if (ending != ServeLoop::Ending::HangUp && ending != ServeLoop::Ending::Unplugged) break;
      socket.CloseLine();
      if (ending == ServeLoop::Ending::HangUp) break;
      tx.Clear();
      device.LoseInput();
    }
    socket.ServingEnded();
  }

  const Options options;
  FaultControl faults;
  HostJournal journal;
  AdapterSocket socket;
  std::once_flag stopOnce;
  std::thread thread;
};

Emulator::Emulator(const Options& options) : impl_(std::make_unique<Impl>(options)) {}

Emulator::~Emulator() { Stop(); }

std::string Emulator::DevicePath() const { return impl_->socket.Path(); }

void Emulator::Stop() {
  std::call_once(impl_->stopOnce, [this] {
    impl_->socket.Stop();
    impl_->thread.join();
  });
}

void Emulator::SetDropFraction(double fraction) { impl_->faults.SetDropFraction(fraction); }
void Emulator::SetCorruptFraction(double fraction) { impl_->faults.SetCorruptFraction(fraction); }
void Emulator::SetRefuseAcks(bool refuse) { impl_->faults.SetRefuseAcks(refuse); }
void Emulator::SetLateBy(std::chrono::milliseconds delay) { impl_->faults.SetLateBy(delay); }

void Emulator::PullCable(std::optional<std::chrono::milliseconds> duration) {
  impl_->faults.PullCable(Clock::now(), duration);
  impl_->socket.Wake().Notify();
}

void Emulator::PlugCable() {
  impl_->faults.PlugCable();
  impl_->socket.Wake().Notify();
}

bool Emulator::CablePulled() const { return impl_->faults.Silent(Clock::now()); }

void Emulator::UnplugAdapter() { impl_->socket.Unplug(); }

std::string Emulator::PlugAdapter() { return impl_->socket.Plug(); }

void Emulator::SetIgnoreWrites(bool ignore) { impl_->faults.SetIgnoreWrites(ignore); }

void Emulator::EndLineAfterNextCommand(LineEnd end) { impl_->faults.EndLineAfterNextCommand(end); }

std::vector<uint32_t> Emulator::WrittenWords() const { return impl_->journal.Words(); }

}  // namespace veritrak
