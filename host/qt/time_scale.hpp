#pragma once
// Every duration the character waits (frames, glides, pages, idle pauses) goes through one
// scale, so tests can run the same actions a hundred times faster.

#include <functional>

namespace vembrel {

using ScaleMsec = std::function<int(int msec)>;

}  // namespace vembrel
