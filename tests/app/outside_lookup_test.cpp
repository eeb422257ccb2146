// Lookups from the command line or the selection, against the recording host: the chosen
// dictionary named first, the answer, and browsing of what was chosen.
#include <gtest/gtest.h>

#include "lookup/dictionary_choice.hpp"
#include "tests/support/form_fixture.hpp"

namespace vembrel {
namespace {

using Ops = std::vector<std::string>;

class OutsideLookupTest : public testing::FormTest {
 protected:
  OutsideLookupTest() {
    writeDictionary("cy.mdb", {"一心一意~专心", "画蛇添足~多此一举", "外甥打灯笼笼~不对"});
    writeDictionary("xh.mdb", {"外甥打灯笼~照舅（旧）", "一心~歇后"});
    writeDictionary("gw.mdb", {"学而时习之~学了按时温习"});
    writeDictionary("ty.mdb", {"美丽~漂亮"});
    writeDictionary("fy.mdb", {"高兴~难过", "美丽~丑陋"});
    writeDictionary("zd.mdb", {"~好 hao3", "美好"});
  }
  Ops look(std::string_view text, const char* code = nullptr) {
    host.ops.clear();
    form.look_up_from_outside(code ? dictionary_by_code(code) : nullptr, testing::u16(text),
                              kNothingSelectedThought);
    return host.ops;
  }
  static Ops entry(const std::string& count_text, int count, const std::string& number,
                   const std::string& head, const std::string& tail) {
    Ops ops{"Play gestureright",
            "Think 共 有 " + std::to_string(count) + " 条 含 有 “ " + count_text + " ” 的 词"};
    for (const std::string& think : {"第 " + number + "条：", head, tail})
      ops.insert(ops.end(), {"Play gestureright", "Think " + think});
    return ops;
  }
  static Ops named(const std::string& name, Ops answer) {
    answer.insert(answer.begin(), "Think " + name);
    return answer;
  }
};

const Ops kNoMatch{"Play gestureright", "Play decline", "Play dontrecognize",
                   "Think 没 有 找 到 哦 !"};

TEST_F(OutsideLookupTest, TheChosenDictionaryIsNamedBeforeItsAnswer) {
  const struct {
    const char* text;
    const char* code;
    Ops ops;
  } cases[] = {
      {"画蛇添足", nullptr,
       named("成 语 词 典", entry("画蛇添足", 1, "1", "画 蛇 添 足 ", "多 此 一 举 "))},
      // An equal head in the sayings beats the idiom that only contains the text.
      {"外甥打灯笼", nullptr,
       named("歇 后 词 典",
             entry("外甥打灯笼", 1, "1", "外 甥 打 灯 笼 ", "歇 后 语 是 : 照 舅 （ 旧 ） "))},
      {"好", nullptr,
       named("新 华 字 典",
             {"Play gestureright", "Think 好   h a o 3 ", "Play gestureright", "Think 美 好 "})},
      {"丽", nullptr, named("同 义 词 典", entry("丽", 1, "1", "美 丽 ", "同 义 词 是 : 漂 亮 "))},
      {" \n学而\r\n", nullptr,
       named("古 文 词 典",
             entry("学而", 1, "1", "学 而 时 习 之 ", "古 文 意 思 是 : 学 了 按 时 温 习 "))},
      {"hello", nullptr, kNoMatch},
      {"美丽", "fy", entry("美丽", 1, "1", "美 丽 ", "反 义 词 是 : 丑 陋 ")},
      {"好",
       "zd",
       {"Play gestureright", "Think 好   h a o 3 ", "Play gestureright", "Think 美 好 "}},
      // The character dictionary named outright says so when it has nothing.
      {"好好", "zd", kNoMatch},
      {"坏", "zd", kNoMatch},
      {"hello", "cy", kNoMatch},
      {" \r\n", nullptr, {"Think 没 有 选 中 的 文 字"}},
  };
  for (const auto& c : cases) EXPECT_EQ(look(c.text, c.code), c.ops) << c.text;
}

TEST_F(OutsideLookupTest, TheChosenResultIsBrowsedAndANewSearchStartsAtItsTop) {
  writeDictionary("cy.mdb", {"一心一意~专心", "一心二用~分心", "三心二意~不专"});
  look("一心");
  EXPECT_EQ(form.lookup_state().searched_dictionary, &dictionary(DictionaryId::Xiehouyu));
  writeDictionary("xh.mdb", {"外甥打灯笼~照舅（旧）"});
  look("心");
  EXPECT_EQ(form.lookup_state().searched_dictionary, &dictionary(DictionaryId::Chengyu));
  EXPECT_EQ(words().size(), 3u);
  Ops next = run("mx");
  ASSERT_EQ(next.size(), 7u);
  EXPECT_EQ(next[2], "Think 第 2条：");
  // The same text again keeps the place; another text starts at the first entry.
  EXPECT_EQ(look("心")[4], "Think 第 2条：");
  EXPECT_EQ(look("二")[4], "Think 第 1条：");
  // A hanzi chosen from the character dictionary ends the browsing of the phrase result.
  look("好");
  EXPECT_TRUE(words().empty());
  EXPECT_TRUE(run("mx").empty());
}

TEST_F(OutsideLookupTest, AnUnreadableDictionaryIsPassedOverAndToldWhenNothingElseAnswers) {
  std::filesystem::remove(dir.path() / "data/cy.mdb");
  EXPECT_EQ(look("外甥打灯笼")[0], "Think 歇 后 词 典");
  const Ops ops = look("hello");
  ASSERT_FALSE(ops.empty());
  EXPECT_NE(ops.back().find("c y . m d b"), std::string::npos) << ops.back();
}

}  // namespace
}  // namespace vembrel
