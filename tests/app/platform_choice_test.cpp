#include "app/platform_choice.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

namespace vembrel {
namespace {

// Sets the variables a case names (nullopt: unset) and puts the old values back afterwards.
class Environment {
 public:
  Environment() {
    for (const char* name : kNames) saved_[index(name)] = get(name);
  }
  ~Environment() {
    for (const char* name : kNames) set(name, saved_[index(name)]);
  }
  static std::optional<std::string> get(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::optional<std::string>(value) : std::nullopt;
  }
  static void set(const char* name, const std::optional<std::string>& value) {
    if (value)
      setenv(name, value->c_str(), 1);
    else
      unsetenv(name);
  }

 private:
  static constexpr const char* kNames[] = {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"};
  static int index(const char* name) {
    for (int i = 0; i < 3; ++i)
      if (std::string(kNames[i]) == name) return i;
    return 0;
  }
  std::optional<std::string> saved_[3];
};

TEST(PlatformChoice, RunsOnX11WheneverThereIsAnXServerAndSaysWhatIsMissingOtherwise) {
  using V = std::optional<std::string>;
  const struct {
    V display, wayland, platform;
    V chosen;      // QT_QPA_PLATFORM afterwards
    bool problem;  // a message for the user
  } cases[] = {
      {":1", "wayland-0", "wayland", "xcb", false},  // the user's choice gives way to XWayland
      {":1", "wayland-0", std::nullopt, "xcb", false},
      {":1", std::nullopt, "wayland;xcb", "xcb", false},
      {":1", std::nullopt, "xcb:nomitshm", "xcb:nomitshm", false},    // xcb with options stays
      {":1", std::nullopt, "offscreen", "offscreen", false},          // no screen: for tests
      {std::nullopt, "wayland-0", std::nullopt, std::nullopt, true},  // Wayland without XWayland
      {std::nullopt, "wayland-0", "wayland", "wayland", true},
      {"", "wayland-0", "xcb", "xcb", true},
      {std::nullopt, std::nullopt, "eglfs", "eglfs", true},
      {std::nullopt, std::nullopt, std::nullopt, std::nullopt, false},  // the display check says
  };
  for (const auto& c : cases) {
    Environment restore;
    Environment::set("DISPLAY", c.display);
    Environment::set("WAYLAND_DISPLAY", c.wayland);
    Environment::set("QT_QPA_PLATFORM", c.platform);
    const std::string problem = chooseX11Platform();
    const std::string label =
        c.display.value_or("-") + " " + c.wayland.value_or("-") + " " + c.platform.value_or("-");
    EXPECT_EQ(Environment::get("QT_QPA_PLATFORM"), c.chosen) << label;
    EXPECT_EQ(!problem.empty(), c.problem) << label << ": " << problem;
    if (c.problem) {
      EXPECT_NE(problem.find("XWayland"), std::string::npos) << problem;
    }
  }
}

}  // namespace
}  // namespace vembrel
