#include "app/vembrel.hpp"

#include <gtest/gtest.h>

#include <algorithm>

#include "tests/support/form_fixture.hpp"

namespace vembrel {
namespace {

using Ops = std::vector<std::string>;

TEST(CharacterX, IsTheWidthInPixelsLess120RoundedHalfToEven) {
  const struct {
    double twips;
    int x;
  } cases[] = {{15360, 904},   {12000, 680},   {19200, 1160},
               {15367.5, 904}, {15382.5, 906},  // 904.5 and 905.5: halves go to even
               {0, -120},      {1e12, 32767}};
  for (const auto& c : cases) EXPECT_EQ(character_x(c.twips), c.x) << c.twips;
}

TEST(Start, LoadsPlacesAndGreetsInOrder) {
  testing::TempDir dir;
  RecordingHost host;
  ScriptedDialog dialog;
  testing::FakeDesktop desktop;
  Vembrel form(host, dialog, desktop, dir.path().string());
  form.lookup_state().current_index = 7;
  ASSERT_TRUE(form.start(12000).ok());
  EXPECT_EQ(form.lookup_state().current_index, 0);
  EXPECT_NE(form.character(), nullptr);
  EXPECT_EQ(host.ops, (Ops{"Characters.Load aaa " + (dir.path() / "dh.vr").string(), "Height 160",
                           "Width 130", "MoveTo 680 0", "Name Vembrel 双击显示菜单", "Show",
                           "Play wave", "Think Vembrel 欢 迎 你 !", "Think 双 击 显 示 菜 单",
                           "Play congratulate2", "AutoPopupMenu false"}));
}

TEST(Start, PlacesOnTheTopRightOfAScreenAnywhereOnTheDesktop) {
  const struct {
    double twips;
    ScreenOrigin origin;
    std::string move;
  } cases[] = {{15360, {1280, 0}, "MoveTo 2184 0"},     // primary right of a 1280-pixel one
               {19200, {-1280, 0}, "MoveTo -120 0"},    // primary left of the origin
               {15360, {0, 800}, "MoveTo 904 800"},     // primary below another
               {15360, {32000, 0}, "MoveTo 32767 0"}};  // still 16 bits
  for (const auto& c : cases) {
    testing::TempDir dir;
    RecordingHost host;
    ScriptedDialog dialog;
    testing::FakeDesktop desktop;
    Vembrel form(host, dialog, desktop, dir.path().string());
    ASSERT_TRUE(form.start(c.twips, c.origin).ok());
    ASSERT_GE(host.ops.size(), 4u);
    EXPECT_EQ(host.ops[3], c.move) << c.origin.x << "," << c.origin.y;
  }
}

TEST(MenuItems, AreTheTwelveInMenuOrder) {
  std::string names;
  std::u16string captions;
  for (const MenuItem& item : kMenuItems) {
    names += std::string(item.name) + ",";
    captions += std::u16string(item.caption) + u"|";
  }
  EXPECT_EQ(names, "qxcd,mxhy,mxh,mcy,mty,mfy,mwy,ms,mx,mhelp,mhide,quit,");
  EXPECT_EQ(captions,
            u"取消菜单|歇后词典|新华字典|成语词典|同义词典|反义词典|古文词典|上一个词|下一个词|"
            u" 帮  助| 隐  藏|退出Vembrel|");
}

class MenuCommandTest : public testing::FormTest {};

TEST_F(MenuCommandTest, CloseHideAndQuit) {
  writeDictionary("cy.mdb", {"一a~1", "一b~2"});
  run("mcy", "一");
  run("mx");
  EXPECT_EQ(run("qxcd"), Ops{});
  EXPECT_EQ(run("mhide"), Ops{"Hide"});
  EXPECT_EQ(words().size(), 2u);  // hiding keeps the result and the position
  EXPECT_EQ(current_index(), 1);
  EXPECT_EQ(run("quit"), Ops{});
  EXPECT_EQ(desktop.quits, 1);
}

TEST_F(MenuCommandTest, HelpOpensTheFileOrSaysItIsMissing) {
  const std::string path = (dir.path() / "使用帮助.txt").string();
  const Ops missing = run("mhelp");
  ASSERT_EQ(missing.size(), 2u);
  EXPECT_EQ(missing[0], "Play decline");
  EXPECT_NE(missing[1].find(utf16_to_utf8(spaced_text(testing::u16(path)))), std::string::npos);
  EXPECT_EQ(desktop.problems.size(), 1u);
  EXPECT_TRUE(desktop.opened.empty());

  dir.write("使用帮助.txt", "帮助");
  EXPECT_EQ(run("mhelp"), Ops{});
  EXPECT_EQ(desktop.opened, std::vector<std::string>{path});
}

// The text is trimmed before the search, and the count says the trimmed text; a text of
// blanks only is a cancelled search.
TEST_F(MenuCommandTest, BlanksAroundTheTextAreIgnored) {
  writeDictionary("cy.mdb", {"一心一意~专心", "三心~二意"});
  writeDictionary("zd.mdb", {"~心 xīn", "心脏"});
  const Ops plain = run("mcy", "一心");
  EXPECT_NE(std::find(plain.begin(), plain.end(), "Think 共 有 1 条 含 有 “ 一心 ” 的 词"),
            plain.end());
  const Ops plain_hanzi = run("mxh", "心");
  for (const std::string typed : {"一心 ", "  一心\t", "\r\n一心\r\n", "　一心　"})
    EXPECT_EQ(run("mcy", typed), plain) << typed;
  EXPECT_EQ(run("mxh", "心　"), plain_hanzi);
  for (const std::string typed : {" ", "\t\r\n", "　　"}) {
    EXPECT_EQ(run("mcy", typed), Ops{}) << typed;
    EXPECT_EQ(words().size(), 0u);
  }
}

// Where a phrase search starts: at the first entry unless it repeats the last search with a
// text, in which case browsing resumes where it stopped.
TEST_F(MenuCommandTest, ANewSearchStartsAtTheFirstEntry) {
  writeDictionary("ty.mdb", {"好~佳", "美好~美妙", "好像~似乎", "美丽~漂亮", "完美~十全"});
  writeDictionary("cy.mdb", {"美不胜收~a", "美中不足~b"});
  writeDictionary("zd.mdb", {"~美 měi", "好看"});
  using Commands = std::vector<std::pair<std::string, std::string>>;
  const struct {
    Commands session;  // the last command is a search
    std::string number, head;
  } cases[] = {
      {{{"mty", "美"}, {"mx", ""}, {"mx", ""}, {"mty", "好"}}, "第 1条：", "好 "},
      {{{"mty", "美"}, {"mx", ""}, {"mty", "美"}}, "第 2条：", "美 丽 "},
      {{{"mty", "美"}, {"mx", ""}, {"mcy", "美"}}, "第 1条：", "美 不 胜 收 "},
      {{{"mty", "美"}, {"mx", ""}, {"mty", "好"}, {"mty", "美"}}, "第 1条：", "美 好 "},
      // A cancelled search and a hanzi lookup are no phrase search with a text.
      {{{"mty", "美"}, {"mx", ""}, {"mcy", ""}, {"mty", "美"}}, "第 2条：", "美 丽 "},
      {{{"mty", "美"}, {"mx", ""}, {"mxh", "美"}, {"mty", "美"}}, "第 2条：", "美 丽 "},
  };
  for (const auto& c : cases) {
    form.lookup_state() = LookupState();
    Ops ops;
    std::string session;
    for (const auto& [item, typed] : c.session) {
      ops = run(item, typed);
      session += item + " " + typed + "; ";
    }
    ASSERT_GE(ops.size(), 6u) << session;
    EXPECT_EQ(ops[3], "Think " + c.number) << session;
    EXPECT_EQ(ops[5], "Think " + c.head) << session;
  }
}

}  // namespace
}  // namespace vembrel
