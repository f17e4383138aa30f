// A stream of register records, started and ended as the window's plots
// start and end theirs, so that the electronics are left idle.
#pragma once

#include <cstdint>
#include <vector>

#include "session.h"

namespace probelink_cli {

class RecordStream {
 public:
  // Brings the line in step and starts the stream; refused or failed
  // starts end in a Failure.
  RecordStream(Session& session, std::vector<uint8_t> registers);
  // The stop run, then the line brought back in step (three tries), unless
  // the line was lost.
  ~RecordStream();
  RecordStream(const RecordStream&) = delete;
  RecordStream& operator=(const RecordStream&) = delete;

  // The next record, one value for each register; a communication failure
  // after three failed reads in a row.
  std::vector<uint16_t> Next();

 private:
  void End();

  Session& session_;
  const std::vector<uint8_t> registers_;
  int failures_ = 0;
  bool lost_ = false;
};

}  // namespace probelink_cli
