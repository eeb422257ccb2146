#include "host/qt/break_chances.hpp"

#include <unicode/brkiter.h>
#include <unicode/unistr.h>

#include <QTextBoundaryFinder>
#include <memory>

#include "host/qt/natural_text.hpp"

namespace vembrel {

namespace {

constexpr char16_t kErhua = u'儿';

// Built once per thread: creating them loads ICU's rules and its Chinese dictionary.
icu::BreakIterator* iterator(bool words) {
  thread_local std::unique_ptr<icu::BreakIterator> line, word;
  std::unique_ptr<icu::BreakIterator>& slot = words ? word : line;
  if (!slot) {
    UErrorCode status = U_ZERO_ERROR;
    const icu::Locale chinese = icu::Locale::getSimplifiedChinese();
    slot.reset(words ? icu::BreakIterator::createWordInstance(chinese, status)
                     : icu::BreakIterator::createLineInstance(chinese, status));
    if (U_FAILURE(status)) slot.reset();
  }
  return slot.get();
}

bool isClosing(QChar c) {
  return c.category() == QChar::Punctuation_Close ||
         c.category() == QChar::Punctuation_FinalQuote || c == u'"' || c == u'\'';
}

// The words of the text as ICU's dictionary finds them: for each position, the word it lies
// in, with its bounds and whether it is Chinese.
class Words {
 public:
  explicit Words(const icu::UnicodeString& text) : word_of_(size_t(text.length()), 0) {
    icu::BreakIterator* words = iterator(true);
    if (!words) return;
    words->setText(text);
    int start = words->first();
    for (int end = words->next(); end != icu::BreakIterator::DONE; end = words->next()) {
      const int status = words->getRuleStatus();
      for (int i = start; i < end; ++i) word_of_[size_t(i)] = int(words_.size());
      words_.push_back({start, end, status >= UBRK_WORD_IDEO && status < UBRK_WORD_IDEO_LIMIT});
      start = end;
    }
  }

  // What a break between text[at - 1] and text[at] costs, judged by words alone.
  BreakCost costAt(const QString& text, int at) const {
    if (words_.empty()) return BreakCost::kBetweenWords;
    const Word& before = words_[size_t(word_of_[size_t(at - 1)])];
    const Word& after = words_[size_t(word_of_[size_t(at)])];
    if (&before == &after) return BreakCost::kInsideWord;
    if (!before.chinese || !after.chinese) return BreakCost::kBetweenWords;
    // An 儿 the dictionary leaves alone is the ending of the word before it.
    if (after.end - after.start == 1 && text.at(at) == kErhua) return BreakCost::kInsideWord;
    if (before.end - before.start == 1 || after.end - after.start == 1)
      return BreakCost::kBesideLoneChar;
    return BreakCost::kBetweenWords;
  }

 private:
  struct Word {
    int start, end;
    bool chinese;
  };
  std::vector<int> word_of_;
  std::vector<Word> words_;
};

// Unicode's rules of ICU 72 keep “” and ‘’ to their neighbours on both sides, for they cannot
// tell an opening quote from a closing one; beside Chinese they are full width and tell, so a
// line may break before an opening quote or after a closing one, as before （ and after ）.
bool breaksAtQuote(const QString& text, int at) {
  const QChar before = text.at(at - 1), after = text.at(at);
  const bool opens = (after == u'“' || after == u'‘') && isWideCharacter(before) &&
                     before.category() != QChar::Punctuation_Open &&
                     before.category() != QChar::Punctuation_InitialQuote;
  const bool closes =
      (before == u'”' || before == u'’') && isWideCharacter(after) && after.isLetterOrNumber();
  return opens || closes;
}

// Where a short quotation lies: a quoted word or idiom (“坏”, “好高务远”) is read as one.
std::vector<bool> insideShortQuotes(const QString& text) {
  constexpr int kLongestQuotedWord = 4;
  std::vector<bool> inside(size_t(text.size()) + 1, false);
  for (int open = 0; open < text.size(); ++open) {
    if (text.at(open) != u'“' && text.at(open) != u'‘') continue;
    const QChar closing = text.at(open) == u'“' ? u'”' : u'’';
    const int close = int(text.indexOf(closing, open + 1));
    if (close < 0 || close - open - 1 > kLongestQuotedWord) continue;
    for (int at = open + 2; at < close; ++at) inside[size_t(at)] = true;
  }
  return inside;
}

std::vector<BreakChance> chancesWithoutIcu(const QString& text) {
  std::vector<BreakChance> chances;
  QTextBoundaryFinder finder(QTextBoundaryFinder::Line, text);
  for (int at = finder.toNextBoundary(); at > 0; at = finder.toNextBoundary()) {
    const bool forced =
        (finder.boundaryReasons() & QTextBoundaryFinder::MandatoryBreak) || at == text.size();
    chances.push_back({int(at), BreakCost::kBetweenWords, forced});
  }
  return chances;
}

}  // namespace

bool endsClause(const QString& text, int start, int end, bool sentence_only) {
  static const QString kSentenceEnds = QStringLiteral("。！？…!?.．");
  static const QString kClauseEnds = QStringLiteral("，、；：,;:");
  int last = end - 1;
  while (last >= start && (text.at(last).isSpace() || isClosing(text.at(last)))) --last;
  if (last < start) return false;
  return kSentenceEnds.contains(text.at(last)) ||
         (!sentence_only && kClauseEnds.contains(text.at(last)));
}

std::vector<BreakChance> breakChances(const QString& natural_text) {
  if (natural_text.isEmpty()) return {};
  icu::BreakIterator* lines = iterator(false);
  if (!lines) return chancesWithoutIcu(natural_text);
  // An alias, not a copy; it outlives both iterations.
  const icu::UnicodeString text(false, reinterpret_cast<const UChar*>(natural_text.utf16()),
                                int32_t(natural_text.size()));
  const Words words(text);
  const std::vector<bool> quoted = insideShortQuotes(natural_text);
  lines->setText(text);
  std::vector<BreakChance> chances;
  int previous = lines->first();
  for (int at = lines->next(); at != icu::BreakIterator::DONE; previous = at, at = lines->next()) {
    for (int quote = previous + 1; quote < at; ++quote)
      if (breaksAtQuote(natural_text, quote))
        chances.push_back({quote, words.costAt(natural_text, quote), false});
    BreakChance chance{at, BreakCost::kBetweenWords, false};
    chance.forced = lines->getRuleStatus() >= UBRK_LINE_HARD || at == natural_text.size();
    const QChar before = natural_text.at(at - 1);
    if (before.isSpace() || endsClause(natural_text, 0, at))
      chance.cost = BreakCost::kClauseEnd;
    else if (!chance.forced)
      chance.cost = quoted[size_t(at)] ? BreakCost::kInsideWord : words.costAt(natural_text, at);
    chances.push_back(chance);
  }
  return chances;
}

}  // namespace vembrel
