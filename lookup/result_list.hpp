#pragma once
// One of the two hidden lists that hold a result (Combo1): rows, and a text that selecting a
// row sets, or that can be set directly without any row.
//
// A search can match tens of thousands of lines while only a few are ever announced, so rows
// are kept as the data file's GBK bytes and decoded when they are read. Every row of a list
// starts with the same prefix (the definition list's result label). A row longer than an
// entry may be (see entry_limit.hpp) keeps only its beginning and reads with a cut mark.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vembrel {

class ResultList {
 public:
  // Removes all rows, the text and the prefix.
  void clear();
  void setPrefix(std::u16string prefix) { prefix_ = std::move(prefix); }
  // Adds a row from GBK bytes.
  void addGbk(std::string_view bytes);
  std::size_t count() const { return ends_.size(); }
  // Row i as text (prefix included); i must be below count().
  std::u16string row(std::size_t i) const;
  // Selecting a row that does not exist leaves the text as it was.
  void select(std::size_t i) {
    if (i < count()) text_ = row(i);
  }
  const std::u16string& text() const { return text_; }
  void setText(std::u16string text) { text_ = std::move(text); }

 private:
  std::u16string prefix_;
  std::string bytes_;              // every row's bytes, one after another
  std::vector<std::size_t> ends_;  // where each row's bytes end
  std::vector<bool> cut_;          // whether each row was cut
  std::u16string text_;
};

}  // namespace vembrel
