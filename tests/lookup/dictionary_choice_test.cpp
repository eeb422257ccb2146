// Which dictionary answers a text when the user named none, and how outside text is tidied.
#include "lookup/dictionary_choice.hpp"

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace vembrel {
namespace {

using enum DictionaryId;
using F = PhraseFinding;

TEST(DictionaryChoice, HanziFirstThenEqualHeadThenFirstContaining) {
  const struct {
    const char* name;
    std::u16string text;
    bool hanzi_entry;
    std::map<DictionaryId, F> findings;  // the rest find nothing
    std::optional<DictionaryId> chosen;
    std::vector<DictionaryId> asked;  // the phrase dictionaries asked, in order
  } cases[] = {
      {"a hanzi with an entry", u"好", true, {{Chengyu, F::Equal}}, Zidian, {}},
      {"a hanzi without an entry goes to the phrases",
       u"好",
       false,
       {{Guwen, F::Equal}},
       Guwen,
       {Chengyu, Xiehouyu, Guwen}},
      {"two hanzi never ask the character dictionary",
       u"一心",
       true,
       {{Tongyi, F::Contains}},
       Tongyi,
       {Chengyu, Xiehouyu, Guwen, Tongyi, Fanyi}},
      {"an equal head in the first wins at once",
       u"画蛇添足",
       false,
       {{Chengyu, F::Equal}, {Xiehouyu, F::Equal}},
       Chengyu,
       {Chengyu}},
      {"an equal head later beats an earlier containing one",
       u"外甥打灯笼",
       false,
       {{Chengyu, F::Contains}, {Xiehouyu, F::Equal}},
       Xiehouyu,
       {Chengyu, Xiehouyu}},
      {"the last one's equal head beats all containing ones",
       u"高兴",
       false,
       {{Chengyu, F::Contains}, {Guwen, F::Contains}, {Fanyi, F::Equal}},
       Fanyi,
       {Chengyu, Xiehouyu, Guwen, Tongyi, Fanyi}},
      {"no equal head: the first containing in the order",
       u"学而",
       false,
       {{Fanyi, F::Contains}, {Guwen, F::Contains}},
       Guwen,
       {Chengyu, Xiehouyu, Guwen, Tongyi, Fanyi}},
      {"found nowhere",
       u"hello",
       false,
       {},
       std::nullopt,
       {Chengyu, Xiehouyu, Guwen, Tongyi, Fanyi}},
      {"no text asks nobody", u"", true, {{Chengyu, F::Equal}}, std::nullopt, {}},
  };
  for (const auto& c : cases) {
    std::vector<DictionaryId> asked;
    int hanzi_asked = 0;
    const std::optional<DictionaryId> chosen = choose_dictionary(
        c.text,
        [&] {
          ++hanzi_asked;
          return c.hanzi_entry;
        },
        [&](DictionaryId id) {
          asked.push_back(id);
          const auto found = c.findings.find(id);
          return found == c.findings.end() ? F::Nothing : found->second;
        });
    EXPECT_EQ(chosen, c.chosen) << c.name;
    EXPECT_EQ(asked, c.asked) << c.name;
    EXPECT_EQ(hanzi_asked, c.text.size() == 1 ? 1 : 0) << c.name;
  }
}

TEST(DictionaryChoice, DictionariesAreKnownByTheirFileNames) {
  EXPECT_EQ(dictionary_by_code("xh"), &dictionary(Xiehouyu));
  EXPECT_EQ(dictionary_by_code("zd"), &dictionary(Zidian));
  EXPECT_EQ(dictionary_by_code("cy"), &dictionary(Chengyu));
  EXPECT_EQ(dictionary_by_code("ty"), &dictionary(Tongyi));
  EXPECT_EQ(dictionary_by_code("fy"), &dictionary(Fanyi));
  EXPECT_EQ(dictionary_by_code("gw"), &dictionary(Guwen));
  for (const char* code : {"", "c", "CY", "cy.mdb", "data", "xh ", "mcy", "choose"})
    EXPECT_EQ(dictionary_by_code(code), nullptr) << code;
}

TEST(DictionaryChoice, TheNameThoughtIsTheCaptionSpacedWithoutATrailingBlank) {
  EXPECT_EQ(dictionary_name_thought(dictionary(Chengyu)), u"成 语 词 典");
  EXPECT_EQ(dictionary_name_thought(dictionary(Zidian)), u"新 华 字 典");
  EXPECT_EQ(dictionary_name_thought(dictionary(Xiehouyu)), u"歇 后 词 典");
}

TEST(DictionaryChoice, OutsideTextLosesItsBlanksAndIsCut) {
  const std::u16string long_text(10000, u'一');
  std::u16string pair_at_cut(kMaxOutsideText - 1, u'一');
  pair_at_cut += u"😀😀";
  std::u16string blank_at_cut(kMaxOutsideText - 1, u'一');
  blank_at_cut += u" 二二";
  const struct {
    const char* name;
    std::u16string in, out;
  } cases[] = {
      {"blanks and line breaks around", u"\r\n\t 画蛇添足　\n", u"画蛇添足"},
      {"blanks inside stay", u" 一 心 ", u"一 心"},
      {"only blanks", u" \n\r\t　", u""},
      {"just at the limit", std::u16string(kMaxOutsideText, u'一'),
       std::u16string(kMaxOutsideText, u'一')},
      {"10,000 hanzi", long_text, std::u16string(kMaxOutsideText, u'一')},
      {"a surrogate pair across the cut stays whole or goes", pair_at_cut,
       std::u16string(kMaxOutsideText - 1, u'一')},
      {"a blank at the cut goes too", blank_at_cut, std::u16string(kMaxOutsideText - 1, u'一')},
  };
  for (const auto& c : cases) EXPECT_EQ(tidy_outside_text(c.in), c.out) << c.name;
}

}  // namespace
}  // namespace vembrel
