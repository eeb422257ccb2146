// Qt's fatal errors: only a platform that cannot start (no display to reach) ends with a plain
// message and status 1, which the program's own tests check; once the program runs, every
// fatal error aborts, where a debugger or a sanitizer sees it.
#include <gtest/gtest.h>

#include <QtGlobal>
#include <csignal>

#include "app/display_check.hpp"

namespace vembrel {
namespace {

TEST(FatalMessageDeathTest, AbortsOnceTheApplicationRuns) {
  // Even a message that names the platform: the display was reached, so this is a fault.
  for (const char* message :
       {"ASSERT: \"frame\" in file x.cpp, line 1", "no Qt platform plugin could be initialized"}) {
    EXPECT_EXIT(
        {
          check_display();  // installs the handler
          qFatal("%s", message);
        },
        testing::KilledBySignal(SIGABRT), message);
  }
}

}  // namespace
}  // namespace vembrel
