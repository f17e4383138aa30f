// probelink-cli run as a child process, its output read through pipes while
// it runs, so that a test can act in the middle of a stream.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace probelink_cli {

struct Outcome {
  int exit = -1;  // 128 + the signal for a killed child
  std::string out, err;
};

class ChildProgram {
 public:
  explicit ChildProgram(const std::vector<std::string>& args);
  ~ChildProgram();  // kills a child still running
  ChildProgram(const ChildProgram&) = delete;
  ChildProgram& operator=(const ChildProgram&) = delete;

  // Reads until `seen` holds for the output so far; false after `limit`.
  bool WaitFor(const std::function<bool(const std::string& out)>& seen,
               std::chrono::milliseconds limit = std::chrono::seconds(20));
  void Signal(int signal) const;
  // Reads to the end and reaps the child; killed after `limit`.
  Outcome Finish(std::chrono::milliseconds limit = std::chrono::seconds(30));

 private:
  // Takes what the pipes hold, waiting up to `wait` for something; false
  // once both have ended.
  bool Drain(std::chrono::milliseconds wait);

  pid_t pid_ = -1;
  int out_ = -1, err_ = -1;
  Outcome outcome_;
};

inline Outcome RunProgram(const std::vector<std::string>& args) {
  return ChildProgram(args).Finish();
}

}  // namespace probelink_cli
