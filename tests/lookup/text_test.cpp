#include "lookup/text.hpp"

#include <gtest/gtest.h>

namespace vembrel {
namespace {

TEST(SpacedText, PutsOneBlankAfterEveryCharacter) {
  const struct {
    std::u16string in, out;
  } cases[] = {
      {u"", u""},
      {u"a", u"a "},
      {u"一心", u"一 心 "},
      {u"a b", u"a   b "},
      // A surrogate pair stays together; a lone surrogate counts as one character.
      {u"😀好", u"😀 好 "},
      {std::u16string{u'\xD83D'} + u"好", std::u16string{u'\xD83D', u' '} + u"好 "},
  };
  for (const auto& c : cases) EXPECT_EQ(spaced_text(c.in), c.out) << utf16_to_utf8(c.in);
}

TEST(Utf8, InvalidBytesAndLoneSurrogatesBecomeReplacementCharacters) {
  EXPECT_EQ(utf8_to_utf16("a\xFF"
                          "b"),
            u"a\uFFFDb");
  EXPECT_EQ(utf16_to_utf8(std::u16string{u'x', u'\xDC00'}), "x\xEF\xBF\xBD");
  EXPECT_EQ(utf16_to_utf8(utf8_to_utf16("汉字😀")), "汉字😀");
}

TEST(TrimBlanks, RemovesAsciiAndFullWidthBlanksAtTheEndsOnly) {
  const struct {
    std::u16string in, out;
  } cases[] = {
      {u"一心 ", u"一心"},
      {u"\t\r\n一心\r\n", u"一心"},
      {u"\u3000一心\u3000", u"一心"},
      {u" 一 心 ", u"一 心"},  // blanks inside stay
      {u"a", u"a"},
      {u"", u""},
      {u" \t\u3000\r\n", u""},
      {u"\u00A0一心", u"\u00A0一心"},  // not one of the blanks a paste brings
  };
  for (const auto& c : cases) EXPECT_EQ(trim_blanks(c.in), c.out) << utf16_to_utf8(c.in);
}

TEST(Decimal, HasNoSignBlankOrLeadingZero) {
  EXPECT_EQ(decimal(0), u"0");
  EXPECT_EQ(decimal(40000), u"40000");  // beyond any 16-bit count
}

}  // namespace
}  // namespace vembrel
