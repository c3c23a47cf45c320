#include "model/Parallel.h"

#include <gtest/gtest.h>

#include <new>
#include <stdexcept>
#include <thread>

#include "tests/support/FastKernels.h"

TEST(RunOnTwoThreads, BothSharesRunWithOrWithoutAWorker) {
  for (bool refuse : {false, true}) {
    const kerneltest::WorkerRefused refused(refuse);
    std::thread::id hereId, otherId;
    int done = 0;
    model::RunOnTwoThreads(
        [&] {
          hereId = std::this_thread::get_id();
          ++done;
        },
        [&] {
          otherId = std::this_thread::get_id();
          done += 10;
        });
    EXPECT_EQ(done, 11);
    EXPECT_EQ(hereId, std::this_thread::get_id());
    EXPECT_EQ(otherId == hereId, refuse);
  }
}

TEST(RunOnTwoThreads, AnExceptionOfEitherShareReachesTheCallerAfterTheJoin) {
  bool otherRan = false;
  EXPECT_THROW(
      model::RunOnTwoThreads([] { throw std::runtime_error("here"); }, [&] { otherRan = true; }),
      std::runtime_error);
  EXPECT_TRUE(otherRan);
  EXPECT_THROW(model::RunOnTwoThreads([] {}, [] { throw std::bad_alloc(); }), std::bad_alloc);
  const kerneltest::WorkerRefused refused;
  EXPECT_THROW(model::RunOnTwoThreads([] {}, [] { throw std::bad_alloc(); }), std::bad_alloc);
}
