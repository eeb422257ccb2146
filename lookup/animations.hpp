#pragma once
// The animations the program and the host play by name. Every character file must have the
// required ones; "lookaround" is optional (an idle character then only blinks).

#include <array>

namespace vembrel {

namespace animations {
inline constexpr char kRest[] = "rest";  // the pose between animations
inline constexpr char kShow[] = "show";
inline constexpr char kHide[] = "hide";
inline constexpr char kBlink[] = "blink";
inline constexpr char kLookAround[] = "lookaround";
inline constexpr char kWave[] = "wave";
inline constexpr char kCongratulate2[] = "congratulate2";
inline constexpr char kGestureRight[] = "gestureright";
inline constexpr char kDecline[] = "decline";
inline constexpr char kDontRecognize[] = "dontrecognize";
}  // namespace animations

inline constexpr std::array<const char*, 9> kRequiredAnimations = {
    animations::kRest,         animations::kShow,    animations::kHide,
    animations::kBlink,        animations::kWave,    animations::kCongratulate2,
    animations::kGestureRight, animations::kDecline, animations::kDontRecognize};
inline constexpr int kRequiredAnimationCount = int(kRequiredAnimations.size());

}  // namespace vembrel
