#include "record_stream.h"

#include "exit_status.h"
#include "probelink.h"

namespace probelink_cli {
namespace {
constexpr int kMaxReadFailures = 2;
constexpr int kEndAttempts = 3;
}  // namespace

RecordStream::RecordStream(Session& session, std::vector<uint8_t> registers)
    : session_(session), registers_(std::move(registers)) {
  ClearRxBuffer(session_.Com());
  if (!session_.SyncLine()) session_.Lost("the electronics do not answer");
  const auto n = static_cast<int32_t>(registers_.size());
  const int32_t started = BeginAsyncWren(session_.Com(), n, registers_.data());
  if (started == 0) return;
  // Whatever part of a start was taken must not keep streaming.
  EndAsync(session_.Com(), n);
  if (started == -1 && session_.Resync())
    throw Failure(kRefused, session_.Name() + ": the electronics refused to start the stream");
  session_.Lost("the stream did not start");
}

RecordStream::~RecordStream() { End(); }

std::vector<uint16_t> RecordStream::Next() {
  std::vector<uint16_t> values(registers_.size());
  const auto n = static_cast<int32_t>(values.size());
  while (ReadAsyncWren(session_.Com(), n, values.data()) < 0) {
    ClearRxBuffer(session_.Com());
    if (++failures_ > kMaxReadFailures) {
      lost_ = true;
      session_.Lost("the electronics stopped streaming");
    }
  }
  failures_ = 0;
  return values;
}

// A lost line gets its stop run all the same: it costs nothing, and stops
// electronics that come back. Bringing it back in step would only wait.
void RecordStream::End() {
  const auto n = static_cast<int32_t>(registers_.size());
  if (lost_) {
    EndAsync(session_.Com(), n);
    return;
  }
  for (int attempt = 0; attempt < kEndAttempts; ++attempt) {
    EndAsync(session_.Com(), n);
    ClearRxBuffer(session_.Com());
    if (session_.SyncLine() && ReadStatus(session_.Com()) >= 0) return;
  }
}

}  // namespace probelink_cli
