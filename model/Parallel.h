#pragma once
// Work split over the two cores of a command. A command may use a worker thread if it joins
// it before returning; a thread that cannot be started must not end the command, so the
// worker's share then runs on the calling thread and the results stay the same.
#include <functional>

namespace model {

// True when the machine has more than one core, so a second thread is worth starting.
bool SecondCoreAvailable();

// Runs `other` on a worker thread and `here` on the calling thread, and returns when both
// are done. When no worker thread can be started, runs `here` and then `other` on the
// calling thread. An exception of `other` on the worker is passed on to the caller after
// the join.
void RunOnTwoThreads(const std::function<void()>& here, const std::function<void()>& other);

// Tests only: when set, starting a worker thread fails as if the system refused it.
extern bool ThreadStartFailsForTests;

}  // namespace model
