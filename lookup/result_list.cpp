#include "lookup/result_list.hpp"

#include <new>
#include <stdexcept>

#include "lookup/entry_limit.hpp"
#include "lookup/gbk.hpp"

namespace vembrel {

void ResultList::clear() {
  prefix_.clear();
  // A large result should not stay in memory after it is gone.
  chunks_.clear();
  blocks_ = std::vector<Row*>();
  count_ = 0;
}

void ResultList::add_gbk(std::string_view bytes) {
  if (count_ == blocks_.size() * kRowsPerBlock) {
    blocks_.reserve(blocks_.size() + 1);
    blocks_.push_back(static_cast<Row*>(chunks_.allocate(kRowsPerBlock * sizeof(Row))));
  }
  const std::string_view kept = chunks_.add(clip_entry(bytes));
  new (&blocks_.back()[count_ % kRowsPerBlock])
      Row{kept.data(), static_cast<std::uint32_t>(kept.size()), kept.size() < bytes.size()};
  ++count_;
}

std::u16string ResultList::row(std::size_t index) const {
  if (index >= count_) throw std::out_of_range("ResultList::row");
  const Row& stored = blocks_[index / kRowsPerBlock][index % kRowsPerBlock];
  std::u16string text = prefix_ + decode_gbk(std::string_view(stored.bytes, stored.size));
  if (stored.cut) text += kCutMark;
  return text;
}

}  // namespace vembrel
