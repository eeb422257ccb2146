// The command line, read as both the first start and a later one read it: what each form
// asks for, and every usage error.
#include "app/command_options.hpp"

#include <gtest/gtest.h>

namespace vembrel {
namespace {

TEST(CommandOptions, EachCommandLineAsksForOneThing) {
  using S = LookupSource;
  const struct {
    QStringList arguments;  // after the program's name
    std::optional<LookupRequest> lookup;
    std::string error;  // the start of the usage error, if any
    bool help = false, version = false;
  } cases[] = {
      {{}, std::nullopt, ""},
      {{"画蛇添足"}, LookupRequest{S::Text, "", "画蛇添足"}, ""},
      {{"--in", "cy", "画蛇添足"}, LookupRequest{S::Text, "cy", "画蛇添足"}, ""},
      {{"--in=gw", "学而"}, LookupRequest{S::Text, "gw", "学而"}, ""},
      {{"画蛇添足", "--in", "zd"}, LookupRequest{S::Text, "zd", "画蛇添足"}, ""},
      {{"hello", "world"}, LookupRequest{S::Text, "", "hello world"}, ""},
      {{"--", "-5"}, LookupRequest{S::Text, "", "-5"}, ""},
      {{" \n外甥打灯笼\t"}, LookupRequest{S::Text, "", "外甥打灯笼"}, ""},
      {{"--selection"}, LookupRequest{S::Selection, "", ""}, ""},
      {{"--in", "xh", "--selection"}, LookupRequest{S::Selection, "xh", ""}, ""},
      {{"--clipboard"}, LookupRequest{S::Clipboard, "", ""}, ""},
      {{"--help"}, std::nullopt, "", true},
      {{"-h", "--in", "bad"}, std::nullopt, "", true},
      {{"--version"}, std::nullopt, "", false, true},
      {{"--bogus"}, std::nullopt, "Unknown option 'bogus'."},
      {{"-x", "好"}, std::nullopt, "Unknown option 'x'."},
      {{"--in"}, std::nullopt, "Missing value after '--in'."},
      {{"--in", "xx", "好"},
       std::nullopt,
       "unknown dictionary 'xx' for --in; choose one of xh zd cy ty fy gw."},
      {{"--in", "CY", "好"}, std::nullopt, "unknown dictionary 'CY'"},
      {{"--in", "cy", "--in", "xh", "好"}, std::nullopt, "--in given more than once."},
      {{"--in", "cy"}, std::nullopt, "--in needs a TEXT"},
      {{"--selection", "好"}, std::nullopt, "give one of TEXT, --selection and --clipboard."},
      {{"--selection", "--clipboard"}, std::nullopt, "give one of"},
      {{" \r\n"}, std::nullopt, "the text to look up is empty."},
      {{""}, std::nullopt, "the text to look up is empty."},
  };
  for (const auto& c : cases) {
    const CommandLine line = read_command_line(QStringList{"vembrel"} + c.arguments);
    const std::string name = c.arguments.join(' ').toStdString();
    EXPECT_EQ(line.lookup, c.lookup) << name;
    EXPECT_EQ(line.help, c.help) << name;
    EXPECT_EQ(line.version, c.version) << name;
    if (c.error.empty())
      EXPECT_EQ(line.error, "") << name;
    else
      EXPECT_EQ(line.error.substr(0, c.error.size()), c.error) << name;
    EXPECT_EQ(line.error.find('\n'), std::string::npos) << name;
  }
}

TEST(CommandOptions, ALongTextIsCutBeforeItIsSent) {
  const CommandLine line = read_command_line({"vembrel", QString(10000, QChar(u'一'))});
  ASSERT_TRUE(line.lookup);
  EXPECT_EQ(line.lookup->text.size(), 300u * 3);  // 300 hanzi, three UTF-8 bytes each
}

}  // namespace
}  // namespace vembrel
