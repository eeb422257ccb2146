#pragma once
// Whether the program can reach a display, checked before Qt starts: Qt aborts the process
// when its platform cannot connect, and a user should get a message instead of a core dump.

#include <string>

namespace vembrel {

// Empty when the display can be reached, otherwise a message for standard error.
std::string check_display();

}  // namespace vembrel
