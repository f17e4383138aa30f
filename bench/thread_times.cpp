#include "thread_times.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace bench {
namespace {

ThreadTime ReadThread(const std::filesystem::path& task) {
  ThreadTime t;
  long long runNs = 0;
  if (std::ifstream schedstat(task / "schedstat"); schedstat >> runNs) t.cpuSeconds = runNs * 1e-9;
  std::ifstream status(task / "status");
  for (std::string line; std::getline(status, line);) {
    static const std::string kKey = "voluntary_ctxt_switches:";
    if (line.rfind(kKey, 0) == 0) t.sleeps = std::stol(line.substr(kKey.size()));
  }
  return t;
}

}  // namespace

ThreadTime operator-(const ThreadTime& a, const ThreadTime& b) {
  return {a.cpuSeconds - b.cpuSeconds, a.sleeps - b.sleeps};
}

// Threads that ended between two readings drop out of the second; the
// measured views keep theirs running.
ThreadTimes ReadThreadTimes() {
  ThreadTimes times;
  const std::string self = std::to_string(getpid());
  for (const auto& task : std::filesystem::directory_iterator("/proc/self/task")) {
    const ThreadTime t = ReadThread(task.path());
    ThreadTime& sum = task.path().filename() == self ? times.main : times.others;
    sum.cpuSeconds += t.cpuSeconds;
    sum.sleeps += t.sleeps;
  }
  return times;
}

}  // namespace bench
