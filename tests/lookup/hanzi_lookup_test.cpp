#include "lookup/hanzi_lookup.hpp"

#include <gtest/gtest.h>

#include "tests/support/fixtures.hpp"
#include "tests/support/form_fixture.hpp"

namespace vembrel {
namespace {

using testing::gbk;
using Lines = std::vector<HanziLine>;

std::string definitions(const char* prefix, int count) {
  std::string out;
  for (int i = 1; i <= count; ++i) out += prefix + std::to_string(i) + "\r\n";
  return out;
}

TEST(ScanHanzi, AnnouncesAHeaderAndUpToTenLines) {
  const std::string data = gbk("序言\r\n~好 hǎo\r\n") + definitions("h", 12) +
                           gbk("~好 hào\r\nx\r\n~我\r\n一\r\n\r\n~他\r\n~我 wǒ\r\nz\r\n~\r\n");
  Lines twelve{{true, u"好 hǎo"}};
  for (int i = 1; i <= 10; ++i) twelve.push_back({false, u"h" + testing::u16(std::to_string(i))});
  // Lines 11 and 12 are skipped, and the later header for 好 comes too.
  twelve.push_back({true, u"好 hào"});
  twelve.push_back({false, u"x"});
  const struct {
    std::u16string query;
    Lines lines;
  } cases[] = {
      {u"好", twelve},
      // The lookup ends at the next header, even one for the same character.
      {u"我", {{true, u"我"}, {false, u"一"}, {false, u""}}},
      {u"他", {{true, u"他"}}},
      {u"好我", {}},  // two characters never match
      {u"序", {}},    // lines before the first header are no entry
      {u"z", {}},
      {u"", {}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(scan_hanzi(data, c.query), c.lines) << utf16_to_utf8(c.query);
}

TEST(ScanHanzi, EndsAtEndOfData) {
  EXPECT_EQ(scan_hanzi(gbk("~一\r\na\r\nb"), u"一"),
            (Lines{{true, u"一"}, {false, u"a"}, {false, u"b"}}));
  EXPECT_EQ(scan_hanzi(gbk("a\r\n~"), u"~"), Lines{});  // a bare "~" header matches nothing
}

class HanziLookupTest : public testing::FormTest {};

TEST_F(HanziLookupTest, AnnouncesTheEntryAndLeavesNoRows) {
  writeDictionary("cy.mdb", {"一a~1", "一b~2"});
  writeDictionary("zd.mdb", {"~好 hǎo 女部 6画", "[hǎo] 优点多的", ""});
  run("mcy", "一");
  EXPECT_EQ(run("mxh", "好"),
            (std::vector<std::string>{"Play gestureright", "Think 好   h ǎ o   女 部   6 画 ",
                                      "Play gestureright", "Think [ h ǎ o ]   优 点 多 的 ",
                                      "Play gestureright", "Think "}));
  EXPECT_EQ(utf16_to_utf8(dialog.last_prompt), "请输入要查的字:|Vembrel");
  EXPECT_TRUE(words().empty());
  EXPECT_TRUE(definitions().empty());
}

TEST_F(HanziLookupTest, NoMatchOrCancelAnnouncesNothing) {
  writeDictionary("zd.mdb", {"~好 hǎo"});
  EXPECT_TRUE(run("mxh", "坏").empty());
  EXPECT_TRUE(run("mxh", "好好").empty());
  EXPECT_TRUE(run("mxh").empty());
}

}  // namespace
}  // namespace vembrel
