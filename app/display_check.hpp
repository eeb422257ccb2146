#pragma once
// Whether the program can reach a display. Qt aborts the process when its platform cannot
// connect; a user should get a message and exit status 1 instead of a core dump.

#include <string>

namespace vembrel {

// Empty when a display is named, otherwise a message for standard error. Also turns Qt's
// fatal error when its platform cannot start (an unreachable display) into a message and exit
// status 1; every other fatal error still aborts.
std::string check_display();

}  // namespace vembrel
