#pragma once
// Reading a dictionary file a block of whole lines at a time through one reused buffer. A
// lookup that goes through the file once gets by with a buffer small enough to stay in the
// processor's cache, which is faster than mapping or copying the whole file.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "lookup/regular_file.hpp"

namespace vembrel {

inline constexpr std::size_t kLineBlockSize = 128 * 1024;

// Hands out the file as blocks of whole lines, each with its terminators, under the line rules
// of LineReader: scanning the blocks one by one finds the same lines as scanning the whole
// file. A line longer than the buffer grows it. When the first block holds no CR, the rest of
// the file is searched for one before any block is handed out, so that every block is split
// by the file's own terminator (a file without CR is thus read twice). Only the size the file
// had when it was opened is read; a file cut short meanwhile ends the reading
// (changed_while_read()).
class LineBlocks {
 public:
  // `file` must stay open while blocks are read. Only tests make the block smaller, to reach
  // every block edge.
  explicit LineBlocks(const OpenedFile& file, std::size_t block_size = kLineBlockSize);
  ~LineBlocks();
  LineBlocks(const LineBlocks&) = delete;
  LineBlocks& operator=(const LineBlocks&) = delete;

  // The next block, valid until the next call; false at the end of the file or when reading
  // failed.
  bool next(std::string_view& lines);

  // The byte that ends the file's lines: CR, or LF in a file without any CR. Known once the
  // first block is handed out.
  char terminator() const { return terminator_; }

  bool changed_while_read() const { return changed_; }
  const std::u16string& error() const { return error_; }  // empty unless a read failed

 private:
  bool fill();  // reads until the buffer is full or the file's size is reached
  bool grow();
  bool find_cr_in_rest();  // reads on from the first block and sets the terminator

  int fd_;
  std::size_t size_;        // the file's size when it was opened
  std::size_t offset_ = 0;  // where the next read starts
  // The buffer starts on the heap, which keeps its pages from one lookup to the next. A line
  // longer than that moves to mapped memory of its own, which grows without moving its bytes
  // and so never holds an old and a new copy of a huge line at once.
  std::vector<char> first_buffer_;
  char* buffer_;
  std::size_t capacity_;
  bool mapped_ = false;
  std::size_t begin_ = 0;  // the bytes [begin_, filled_) are read but not handed out
  std::size_t filled_ = 0;
  char terminator_ = '\n';
  bool terminator_known_ = false;
  bool lf_may_follow_ = false;  // the last block ended at a CR; an LF next belongs to it
  bool finished_ = false;
  bool changed_ = false;
  std::u16string error_;
};

}  // namespace vembrel
