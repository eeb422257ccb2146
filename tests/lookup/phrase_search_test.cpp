#include "lookup/phrase_search.hpp"

#include <gtest/gtest.h>

#include "tests/support/fixtures.hpp"
#include "tests/support/form_fixture.hpp"
#include "tests/support/phrase_scans.hpp"

namespace vembrel {
namespace {

using testing::scan_phrases;

using testing::gbk;
using testing::u16;
using Rows = std::vector<PhraseRow>;

TEST(ScanPhrases, MatchesTheHeadOnlyAndKeepsFileOrder) {
  const std::string data =
      gbk("一心一意~专心\r\n"     // matches once although the head holds 一 twice
          "~一心\r\n"             // empty head: never found
          "没有分隔符一心\r\n"    // no "~": skipped
          "\r\n"                  // empty line: skipped
          "三心二意一心~a~b\r\n"  // the tail keeps the second "~"
          "一心一意~专心\r\n"     // identical lines give identical rows
          "一~一心");             // a search text longer than the head never matches
  EXPECT_EQ(scan_phrases(data, u"一心"),
            (Rows{{u"一心一意", u"专心"}, {u"三心二意一心", u"a~b"}, {u"一心一意", u"专心"}}));
  EXPECT_EQ(scan_phrases(data, u"一心一意"),
            (Rows{{u"一心一意", u"专心"}, {u"一心一意", u"专心"}}));
  EXPECT_EQ(scan_phrases(data, u"~"), Rows{});  // no head holds a "~"
  EXPECT_EQ(scan_phrases(data, u""), Rows{});
}

TEST(ScanPhrases, ReadsBytesAsGbkCharactersNotAsAscii) {
  // 儈 is 83 7E: its second byte is no separator. 丄 is 81 41: its second byte is no "A".
  const std::string data = "\x83\x7E\x81\x41~tail\r\nA~x\r\nbad\x81\x30~y\r\n";
  EXPECT_EQ(scan_phrases(data, u"儈丄"), (Rows{{u"儈丄", u"tail"}}));
  EXPECT_EQ(scan_phrases(data, u"~"), Rows{});
  EXPECT_EQ(scan_phrases(data, u"A"), (Rows{{u"A", u"x"}}));
  // Invalid bytes decode to replacement characters and the scan goes on.
  EXPECT_EQ(scan_phrases(data, u"bad"), (Rows{{u"bad\uFFFD0", u"y"}}));
}

TEST(ScanPhrases, FileWithoutCrEndsLinesAtLf) {
  EXPECT_EQ(scan_phrases(gbk("甲~1\n乙~2\n"), u"乙"), (Rows{{u"乙", u"2"}}));
  // With a CR anywhere a lone LF stays inside the line and is part of the tail.
  EXPECT_EQ(scan_phrases(gbk("甲~1\n乙~2\r"), u"乙"), Rows{});
  EXPECT_EQ(scan_phrases(gbk("甲~1\n乙~2\r"), u"甲"), (Rows{{u"甲", u"1\n乙~2"}}));
}

// The search returns its result; it announces nothing.
TEST(SearchPhrases, ReturnsTheRowsOrWhyTheDictionaryCouldNotBeRead) {
  testing::TempDir dir;
  dir.write("data/ty.mdb", gbk("高兴~快乐\r\n愉快~高兴\r\n"));
  dir.write("data/fy.mdb/x", "");  // a folder where the file should be
  const std::string app_dir = dir.path().string();
  const struct {
    DictionaryId id;
    std::u16string text;
    std::vector<std::u16string> words, definitions;
    std::string failure;  // a part of the message
  } cases[] = {
      {DictionaryId::Tongyi, u"高", {u"高兴"}, {u"同义词是:快乐"}, ""},
      {DictionaryId::Tongyi, u"愉快", {u"愉快"}, {u"同义词是:高兴"}, ""},
      {DictionaryId::Tongyi, u"难过", {}, {}, ""},
      {DictionaryId::Tongyi, u"", {}, {}, ""},
      {DictionaryId::Fanyi, u"", {}, {}, ""},  // an empty text reads no file
      {DictionaryId::Fanyi, u"高", {}, {}, "无法读取词典文件 " + app_dir + "/data/fy.mdb："},
      {DictionaryId::Chengyu, u"高", {}, {}, "无法读取词典文件 " + app_dir + "/data/cy.mdb："},
  };
  for (const auto& c : cases) {
    const PhraseResult result = search_phrases(dictionary(c.id), c.text, app_dir);
    const std::string label = utf16_to_utf8(std::u16string(dictionary(c.id).caption) + c.text);
    std::vector<std::u16string> words, definitions;
    for (std::size_t i = 0; i < result.words.count(); ++i) words.push_back(result.words.row(i));
    for (std::size_t i = 0; i < result.definitions.count(); ++i)
      definitions.push_back(result.definitions.row(i));
    EXPECT_EQ(words, c.words) << label;
    EXPECT_EQ(definitions, c.definitions) << label;
    if (c.failure.empty())
      EXPECT_EQ(result.failure, u"") << label;
    else
      EXPECT_EQ(utf16_to_utf8(result.failure).rfind(c.failure, 0), 0u) << label;
  }
}

class PhraseCommandTest : public testing::FormTest {};

TEST_F(PhraseCommandTest, AnnouncesTheCountThenTheEntryAtCurrentIndex) {
  writeDictionary("xh.mdb", {"外甥打灯笼~照舅（旧）", "灯笼~亮", "一~二", "提灯笼~找"});
  EXPECT_EQ(run("mxhy", "灯笼"),
            (std::vector<std::string>{"Play gestureright", "Think 共 有 3 条 含 有 “ 灯笼 ” 的 词",
                                      "Play gestureright", "Think 第 1条：", "Play gestureright",
                                      "Think 外 甥 打 灯 笼 ", "Play gestureright",
                                      "Think 歇 后 语 是 : 照 舅 （ 旧 ） "}));
  EXPECT_EQ(utf16_to_utf8(dialog.last_prompt), "请输入要查的歇后语或所含的词:|Vembrel");
  EXPECT_EQ(words(), (std::vector<std::u16string>{u"外甥打灯笼", u"灯笼", u"提灯笼"}));
  EXPECT_EQ(definitions(),
            (std::vector<std::u16string>{u"歇后语是:照舅（旧）", u"歇后语是:亮", u"歇后语是:找"}));
}

TEST_F(PhraseCommandTest, NoMatchDeclines) {
  writeDictionary("cy.mdb", {"一心一意~a"});
  EXPECT_EQ(run("mcy", "画蛇"),
            (std::vector<std::string>{"Play gestureright", "Play decline", "Play dontrecognize",
                                      "Think 没 有 找 到 哦 !"}));
}

TEST_F(PhraseCommandTest, CancelEmptiesTheEarlierResult) {
  writeDictionary("cy.mdb", {"一心一意~a"});
  run("mcy", "一心");
  ASSERT_EQ(words().size(), 1u);
  EXPECT_TRUE(run("mty").empty());
  EXPECT_EQ(utf16_to_utf8(dialog.last_prompt), "请输入要查的同义词或所含的词:|Vembrel");
  EXPECT_TRUE(words().empty());
  EXPECT_TRUE(definitions().empty());
}

TEST_F(PhraseCommandTest, EmptyDefinitionInTheIdiomDictionaryIsSkipped) {
  writeDictionary("cy.mdb", {"一心一意~"});
  EXPECT_EQ(run("mcy", "一心"),
            (std::vector<std::string>{"Play gestureright", "Think 共 有 1 条 含 有 “ 一心 ” 的 词",
                                      "Play gestureright", "Think 第 1条：", "Play gestureright",
                                      "Think 一 心 一 意 "}));
}

TEST_F(PhraseCommandTest, IndexBeyondASmallerResultMovesToItsLastRow) {
  writeDictionary("cy.mdb", {"一a~1", "一b~2", "一c~3", "二a~4"});
  run("mcy", "一");
  run("mx");
  run("mx");
  ASSERT_EQ(current_index(), 2);
  writeDictionary("cy.mdb", {"一a~1", "二a~4", "一b~2"});
  const auto ops = run("mcy", "一");  // the same search, now with two rows
  EXPECT_EQ(current_index(), 1);
  EXPECT_EQ(ops.at(3), "Think 第 2条：");
  EXPECT_EQ(ops.at(5), "Think 一 b ");
}

TEST_F(PhraseCommandTest, UnreadableDictionaryIsAnnouncedAndNothingElseChanges) {
  writeDictionary("cy.mdb", {"一心一意~a"});
  run("mcy", "一心");
  const std::string path = (dir.path() / "data" / "fy.mdb").string();
  EXPECT_EQ(
      run("mfy", "高"),
      (std::vector<std::string>{
          "Play decline", "Think " + utf16_to_utf8(spaced_text(u"无法读取词典文件 " + u16(path) +
                                                               u"：文件不存在"))}));
  EXPECT_TRUE(words().empty());
  // Later commands keep working.
  EXPECT_EQ(run("mcy", "一心").size(), 8u);
}

TEST_F(PhraseCommandTest, ManyRowsAreCountedWithoutOverflow) {
  std::string bytes;
  for (int i = 0; i < 40000; ++i) bytes += gbk("之乎~x") + "\r\n";
  dir.write("data/gw.mdb", bytes);
  EXPECT_EQ(run("mwy", "之").at(1), "Think 共 有 40000 条 含 有 “ 之 ” 的 词");
  for (int i = 0; i < 39999; ++i) form.run(*find_menu_item("mx"));
  EXPECT_EQ(current_index(), 39999);
  EXPECT_EQ(run("mx").at(2), "Think 第 40000条：");
}

}  // namespace
}  // namespace vembrel
