// Sharing work between two threads: every piece done once, and a failure on either thread
// comes back to the caller instead of ending the process.

#include "host/qt/split_work.hpp"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <thread>
#include <vector>

namespace vembrel {
namespace {

TEST(SplitWork, DoesEveryPieceOnce) {
  for (const std::size_t count : {0u, 1u, 2u, 1000u}) {
    std::vector<std::atomic<int>> done(count);
    forEachOnTwoThreads(count, [&](std::size_t i) { ++done[i]; });
    for (std::size_t i = 0; i < count; ++i) EXPECT_EQ(done[i], 1) << i << " of " << count;
  }
}

TEST(SplitWork, AFailureOnEitherThreadReachesTheCaller) {
  const std::thread::id caller = std::this_thread::get_id();
  for (const bool on_caller : {true, false}) {
    std::atomic<int> started{0};
    const auto work = [&](std::size_t) {
      ++started;
      const bool here = std::this_thread::get_id() == caller;
      if (here == on_caller) throw std::runtime_error("bad frame");
      // Keep the other thread busy until the failing one has had its turn.
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    };
    EXPECT_THROW(forEachOnTwoThreads(200, work), std::runtime_error) << on_caller;
    EXPECT_LT(started, 200) << "work went on after the failure";
  }
}

}  // namespace
}  // namespace vembrel
