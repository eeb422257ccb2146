#pragma once
// Where a line of natural text (no spacing blanks; see natural_text.hpp) may break, and how
// good each place is. Unicode's line breaking rules say where a break is allowed at all (never
// inside a Latin word or pinyin syllable, before closing or after opening punctuation); ICU's
// dictionary word boundaries say which of those fall between words.

#include <QString>
#include <vector>

namespace vembrel {

// How much a reader is disturbed by a line ending here, from none to most.
enum class BreakCost {
  kClauseEnd = 0,       // after 。，、；！？ and their like, or at a blank between words
  kBetweenWords = 1,    // between words of two characters or more
  kBesideLoneChar = 2,  // beside a one-character word, often only a word the dictionary lacks
  kInsideWord = 3,      // between the characters of a word (心眼|儿 counts as one word)
};

struct BreakChance {
  int at = 0;  // the break comes before text[at]
  BreakCost cost = BreakCost::kBetweenWords;
  bool forced = false;  // after a line feed, or the end of the text
};

// Every place `natural_text` may break, in order; the last is its end (forced). An empty text
// has none.
std::vector<BreakChance> breakChances(const QString& natural_text);

// Whether a line ending at `end` ends a clause or sentence: its last character, closing
// brackets and quotes aside, is one of 。！？；，、：… (or their ASCII likes). With
// `sentence_only`, only 。！？… and their likes count.
bool endsClause(const QString& text, int start, int end, bool sentence_only = false);

}  // namespace vembrel
