#include "lookup/character_place.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace vembrel {

int clamp_to_int16(double value) {
  return static_cast<int>(std::clamp(value, double{INT16_MIN}, double{INT16_MAX}));
}

int character_x(double screen_width_twips) {
  // 120 pixels in from the right edge; ties to even
  const double x = std::nearbyint(screen_width_twips / kTwipsPerPixel - 120.0);
  if (std::isnan(x)) return 0;
  return clamp_to_int16(x);
}

}  // namespace vembrel
