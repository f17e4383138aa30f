// What the threads of this process have run and how often they went to
// sleep, from /proc: the main (GUI) thread apart from the others.
#pragma once

namespace bench {

struct ThreadTime {
  double cpuSeconds = 0;
  long sleeps = 0;  // voluntary context switches: each is a wake-up later
};

struct ThreadTimes {
  ThreadTime main, others;
};

ThreadTimes ReadThreadTimes();
ThreadTime operator-(const ThreadTime& a, const ThreadTime& b);

}  // namespace bench
