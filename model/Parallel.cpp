#include "model/Parallel.h"

#include <exception>
#include <system_error>
#include <thread>

namespace model {

bool ThreadStartFailsForTests = false;

bool SecondCoreAvailable() {
  return std::thread::hardware_concurrency() > 1;
}

void RunOnTwoThreads(const std::function<void()>& here, const std::function<void()>& other) {
  std::exception_ptr failed;
  std::thread worker;
  try {
    if (ThreadStartFailsForTests)
      throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
    worker = std::thread([&] {
      try {
        other();
      } catch (...) {
        failed = std::current_exception();
      }
    });
  } catch (const std::system_error&) {
    here();
    other();
    return;
  }
  try {
    here();
  } catch (...) {
    worker.join();
    throw;
  }
  worker.join();
  if (failed) std::rethrow_exception(failed);
}

}  // namespace model
