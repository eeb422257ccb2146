#include "lookup/result_list.hpp"

#include "lookup/entry_limit.hpp"
#include "lookup/gbk.hpp"

namespace vembrel {

void ResultList::clear() {
  prefix_.clear();
  bytes_.clear();
  bytes_.shrink_to_fit();  // a large result should not stay in memory after it is gone
  ends_.clear();
  ends_.shrink_to_fit();
  cut_.clear();
  cut_.shrink_to_fit();
  text_.clear();
}

void ResultList::addGbk(std::string_view bytes) {
  const std::string_view kept = clip_entry(bytes);
  bytes_.append(kept);
  ends_.push_back(bytes_.size());
  cut_.push_back(kept.size() < bytes.size());
}

std::u16string ResultList::row(std::size_t i) const {
  const std::size_t begin = i == 0 ? 0 : ends_.at(i - 1);
  std::u16string text =
      prefix_ + decode_gbk(std::string_view(bytes_).substr(begin, ends_.at(i) - begin));
  if (cut_[i]) text += kCutMark;
  return text;
}

}  // namespace vembrel
