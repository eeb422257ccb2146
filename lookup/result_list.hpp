#pragma once
// One of the two lists that hold a phrase result: the heads, or the definitions.
//
// A search can match tens of thousands of lines while only a few are ever announced, so rows
// are kept as the data file's GBK bytes and decoded when they are read. Every row of a list
// starts with the same prefix (the definition list's result label). A row longer than an
// entry may be (see entry_limit.hpp) keeps only its beginning and reads with a cut mark.
// Neither the rows' bytes nor their index move while the list grows: both live in chunks.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "lookup/byte_chunks.hpp"

namespace vembrel {

class ResultList {
 public:
  // Removes all rows and the prefix.
  void clear();
  void set_prefix(std::u16string prefix) { prefix_ = std::move(prefix); }
  // Adds a row from GBK bytes.
  void add_gbk(std::string_view bytes);
  std::size_t count() const { return count_; }
  // The row at `index` as text (prefix included); `index` must be below count().
  std::u16string row(std::size_t index) const;

 private:
  struct Row {
    const char* bytes;  // in chunks_
    std::uint32_t size;
    bool cut;
  };
  static constexpr std::size_t kRowsPerBlock = 1024;

  std::u16string prefix_;
  ByteChunks chunks_;         // the rows' bytes and the blocks of rows
  std::vector<Row*> blocks_;  // kRowsPerBlock rows each
  std::size_t count_ = 0;
};

}  // namespace vembrel
