#pragma once
// One of the two hidden lists that hold a result (Combo1): rows, and a text that selecting a
// row sets, or that can be set directly without any row.

#include <cstddef>
#include <string>
#include <vector>

namespace vembrel {

class ResultList {
 public:
  void clear() {
    rows_.clear();
    text_.clear();
  }
  void add(std::u16string row) { rows_.push_back(std::move(row)); }
  std::size_t count() const { return rows_.size(); }
  const std::u16string& row(std::size_t i) const { return rows_.at(i); }
  // Selecting a row that does not exist leaves the text as it was.
  void select(std::size_t i) {
    if (i < rows_.size()) text_ = rows_[i];
  }
  const std::u16string& text() const { return text_; }
  void setText(std::u16string text) { text_ = std::move(text); }

 private:
  std::vector<std::u16string> rows_;
  std::u16string text_;
};

}  // namespace vembrel
