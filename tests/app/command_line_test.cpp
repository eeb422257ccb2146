#include "menu/command_line.hpp"

#include <gtest/gtest.h>

namespace vembrel {
namespace {

TEST(CommandLine, SplitsTheItemFromTheTypedText) {
  const struct {
    std::string_view line;
    std::string_view item;  // empty: nothing to run
    std::u16string typed;
    bool error;
  } cases[] = {
      {"mcy 一心", "mcy", u"一心", false},
      {"mcy  一 心 ", "mcy", u" 一 心 ", false},  // everything after the first blank, as typed
      {"mcy", "mcy", u"", false},                 // no text: a cancelled dialog
      {"mcy \r", "mcy", u"", false},
      {"mx\r", "mx", u"", false},
      {"", "", u"", false},
      {"\r", "", u"", false},
      {"MCY 一心", "", u"", true},
      {" mcy", "", u"", true},
  };
  for (const auto& c : cases) {
    const CommandLine command = parse_command_line(c.line);
    EXPECT_EQ(command.item ? command.item->name : "", c.item) << c.line;
    EXPECT_EQ(command.typed, c.typed) << c.line;
    EXPECT_EQ(!command.error.empty(), c.error) << c.line;
  }
}

}  // namespace
}  // namespace vembrel
