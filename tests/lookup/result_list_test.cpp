// The result store: rows stay where they were put while tens of thousands more are added, and
// read back exactly, cut where an entry is too long.

#include "lookup/result_list.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "lookup/byte_chunks.hpp"
#include "lookup/entry_limit.hpp"
#include "tests/support/fixtures.hpp"

namespace vembrel {
namespace {

using testing::gbk;
using testing::u16;

TEST(ByteChunks, StoredBytesNeverMoveWhileMoreAreAdded) {
  ByteChunks chunks;
  std::vector<std::pair<std::string_view, std::string>> stored;
  // Past the small first chunk, over several large ones, with one string larger than a chunk.
  for (int i = 0; i < 60000; ++i) {
    std::string bytes(1 + i % 300, static_cast<char>('a' + i % 26));
    if (i == 30000) bytes.assign(3 * ByteChunks::kLargeChunkBytes, 'x');
    stored.emplace_back(chunks.add(bytes), bytes);
    if (i % 1000 == 0) {
      void* room = chunks.allocate(24);
      EXPECT_EQ(reinterpret_cast<std::uintptr_t>(room) % alignof(std::max_align_t), 0u);
    }
  }
  for (const auto& [view, bytes] : stored) ASSERT_EQ(view, bytes);
  chunks.clear();
  EXPECT_EQ(chunks.add("again"), "again");
}

TEST(ResultList, HoldsManyRowsAndReadsEachBackWithThePrefix) {
  ResultList list;
  list.set_prefix(u"古文意思是:");
  const std::vector<std::string> texts = {"学而时习之", "不亦说乎", "", "有朋自远方来"};
  constexpr std::size_t kRows = 40000;  // as many as a one-character search in the largest file
  for (std::size_t i = 0; i < kRows; ++i) list.add_gbk(gbk(texts[i % texts.size()]));
  ASSERT_EQ(list.count(), kRows);
  for (std::size_t i = 0; i < kRows; ++i)
    ASSERT_EQ(list.row(i), u"古文意思是:" + u16(texts[i % texts.size()])) << "row " << i;
  EXPECT_THROW(list.row(kRows), std::out_of_range);

  list.clear();
  EXPECT_EQ(list.count(), 0u);
  list.add_gbk(gbk("再"));
  EXPECT_EQ(list.row(0), u"再");  // the prefix went with the rows
}

TEST(ResultList, CutsAnOverlongRowOnACharacterBoundary) {
  ResultList list;
  // One byte short of the limit, then a two-byte character that would cross it.
  const std::string overlong = std::string(kMaxEntryBytes - 1, 'a') + gbk("之之");
  list.add_gbk(overlong);
  list.add_gbk(gbk("之"));
  EXPECT_EQ(list.row(0), std::u16string(kMaxEntryBytes - 1, u'a') + std::u16string(kCutMark));
  EXPECT_EQ(list.row(1), u"之");
}

}  // namespace
}  // namespace vembrel
