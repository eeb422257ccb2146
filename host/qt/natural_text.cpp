#include "host/qt/natural_text.hpp"

namespace vembrel {

namespace {

// Hanzi, CJK punctuation, full-width forms and the curly quotes the balloons use: a blank
// beside one of these only spaces the text out.
bool isSpacedOut(QChar c) {
  const char16_t u = c.unicode();
  return u >= 0x2E80 || (u >= 0x2018 && u <= 0x201F);
}

}  // namespace

QString naturalText(const QString& balloon_text) {
  QString natural;
  natural.reserve(balloon_text.size());
  for (qsizetype i = 0; i < balloon_text.size(); ++i) {
    const QChar c = balloon_text[i];
    if (c == u' ') {
      const bool after_wide = i > 0 && isSpacedOut(balloon_text[i - 1]);
      const bool before_wide = i + 1 < balloon_text.size() && isSpacedOut(balloon_text[i + 1]);
      if (after_wide || before_wide || natural.isEmpty() || natural.back() == u' ') continue;
    }
    natural.append(c);
  }
  return natural.trimmed();
}

}  // namespace vembrel
