#pragma once
// Shares independent pieces of work between the calling thread and one more.

#include <cstddef>
#include <functional>

namespace vembrel {

// Calls work(i) once for every i in [0, count), on the calling thread and on a second one,
// each taking the next index not yet taken. Returns when both threads have stopped. Should
// work throw, no further index is started and the first exception is rethrown here.
void forEachOnTwoThreads(std::size_t count, const std::function<void(std::size_t)>& work);

}  // namespace vembrel
