#include "host/qt/split_work.hpp"

#include <atomic>
#include <exception>
#include <mutex>
#include <stop_token>
#include <system_error>
#include <thread>

namespace vembrel {

void forEachOnTwoThreads(std::size_t count, const std::function<void(std::size_t)>& work) {
  if (count == 1) return work(0);
  std::atomic<std::size_t> next{0};
  std::stop_source stop;
  std::mutex failure_lock;
  std::exception_ptr failure;
  const auto share = [&] {
    try {
      for (std::size_t i; !stop.stop_requested() && (i = next.fetch_add(1)) < count;) work(i);
    } catch (...) {
      const std::lock_guard<std::mutex> lock(failure_lock);
      if (!failure) failure = std::current_exception();
      stop.request_stop();
    }
  };
  {
    // A jthread joins when it goes out of scope, however this block is left.
    std::jthread helper;
    try {
      helper = std::jthread(share);
    } catch (const std::system_error&) {
      // No second thread to be had: this one does all the work.
    }
    share();
  }
  if (failure) std::rethrow_exception(failure);
}

}  // namespace vembrel
