#pragma once
// Where and how large the program shows its character: 130 x 160 pixels at the top right of
// the primary screen. The desktop program and the preview images both place it from here.

namespace vembrel {

inline constexpr int kCharacterWidth = 130;
inline constexpr int kCharacterHeight = 160;
// The program assumes 15 twips per pixel, whatever the screen's real resolution.
inline constexpr double kTwipsPerPixel = 15.0;

// `value` as a 16-bit integer: cut toward zero and held within -32768 to 32767.
int clamp_to_int16(double value);

// Left edge of the character for a screen `twips` wide: 15 twips per pixel are assumed, and the
// result is rounded to the nearest integer, halves to even, within 16 bits.
int character_x(double screen_width_twips);

}  // namespace vembrel
