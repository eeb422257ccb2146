#include "host/qt/natural_text.hpp"

namespace vembrel {

namespace {

constexpr char16_t kFullWidthBlank = 0x3000;

bool isBlank(QChar c) {
  return c == u' ' || c == u'\t' || c == u'\r' || c == kFullWidthBlank;
}

bool isWordBreak(QChar c) {
  return isBlank(c) || c == u'\n';
}

// Whether the run of non-blank text on one side of a blank is a word in its own right: two
// characters or more, a letter among them ("Vembrel", "world", not a spaced "y" or "12").
bool isWordRun(const QString& text, int from, int step) {
  int length = 0;
  bool letter = false;
  for (int i = from; i >= 0 && i < text.size() && !isWordBreak(text.at(i)); i += step) {
    if (!text.at(i).isLowSurrogate()) ++length;
    letter = letter || (text.at(i).isLetter() && !isWideCharacter(text.at(i)));
  }
  return length > 1 && letter;
}

bool keepsBlanks(const QString& text, int first_blank, int end) {
  const bool inside_line = first_blank > 0 && end < text.size() &&
                           text.at(first_blank - 1) != u'\n' && text.at(end) != u'\n';
  if (!inside_line) return false;
  const int full_width = int(text.indexOf(QChar(kFullWidthBlank), first_blank));
  if (end - first_blank > 1 || (full_width >= 0 && full_width < end))
    return true;  // a gap between words
  // A single blank stays only beside a word of Latin letters; Chinese needs none.
  const bool wide_before = isWideCharacter(text.at(first_blank - 1));
  const bool wide_after = isWideCharacter(text.at(end));
  if (wide_before && wide_after) return false;
  return (wide_before || isWordRun(text, first_blank - 1, -1)) &&
         (wide_after || isWordRun(text, end, 1));
}

}  // namespace

bool isWideCharacter(QChar c) {
  const char16_t u = c.unicode();
  return c.isSurrogate() || (u >= 0x2e80 && u <= 0xa4cf) || (u >= 0xf900 && u <= 0xfaff) ||
         (u >= 0xfe30 && u <= 0xfe4f) || (u >= 0xff00 && u <= 0xff60) ||
         (u >= 0xffe0 && u <= 0xffe6) || (u >= 0x2018 && u <= 0x201f) || u == 0x2014 ||
         u == 0x2026 || u == 0x00b7;
}

NaturalTextMap mapNaturalText(const QString& balloon_text) {
  NaturalTextMap out;
  out.text.reserve(balloon_text.size());
  out.source.reserve(size_t(balloon_text.size()) + 1);
  for (int i = 0; i < balloon_text.size();) {
    if (!isBlank(balloon_text.at(i))) {
      out.text += balloon_text.at(i);
      out.source.push_back(i++);
      continue;
    }
    int end = i;
    while (end < balloon_text.size() && isBlank(balloon_text.at(end))) ++end;
    if (keepsBlanks(balloon_text, i, end)) {
      out.text += QLatin1Char(' ');
      out.source.push_back(i);
    }
    i = end;
  }
  out.source.push_back(int(balloon_text.size()));
  return out;
}

QString naturalText(const QString& balloon_text) {
  return mapNaturalText(balloon_text).text;
}

}  // namespace vembrel
