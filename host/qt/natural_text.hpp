#pragma once
// A balloon text as a reader would write it. The program spaces its thoughts with a blank
// after every character ("没 有 找 到 哦 !"); a screen reader and the line breaker want the
// words without those blanks.

#include <QString>
#include <vector>

namespace vembrel {

// Blanks that only space characters go: a single blank goes unless a word of Latin letters
// stands on a side of it that is not Chinese ("Vembrel 欢迎你", "hello, world"; but "第1条").
// A gap between words (two blanks or more, or a full-width blank, as a spaced synonym list or
// spaced pinyin has) becomes one blank. Blanks at either end of a line go; line feeds stay.
QString naturalText(const QString& balloon_text);

// The natural text and, for each of its characters, where it stands in the balloon text; one
// more entry at the end holds the balloon text's length. A gap's blank points at the gap's
// first blank.
struct NaturalTextMap {
  QString text;
  std::vector<int> source;
};
NaturalTextMap mapNaturalText(const QString& balloon_text);

// Whether a character is set in full width beside Chinese: ideographs, CJK and full-width
// punctuation, and the quotes and dashes Chinese text uses.
bool isWideCharacter(QChar c);

}  // namespace vembrel
