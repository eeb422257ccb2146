#include "lookup/line_blocks.hpp"

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace vembrel {

LineBlocks::LineBlocks(const OpenedFile& file, std::size_t block_size)
    : fd_(file.fd()),
      size_(file.size()),
      first_buffer_(std::max<std::size_t>(block_size, 1)),
      buffer_(first_buffer_.data()),
      capacity_(first_buffer_.size()) {}

LineBlocks::~LineBlocks() {
  if (mapped_) ::munmap(buffer_, capacity_);
}

bool LineBlocks::grow() {
  void* memory = mapped_ ? ::mremap(buffer_, capacity_, capacity_ * 2, MREMAP_MAYMOVE)
                         : ::mmap(nullptr, capacity_ * 2, PROT_READ | PROT_WRITE,
                                  MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (memory == MAP_FAILED) {
    error_ = read_failure_reason(errno);
    return false;
  }
  if (!mapped_) {
    std::memcpy(memory, buffer_, filled_);
    first_buffer_ = std::vector<char>();
    mapped_ = true;
  }
  buffer_ = static_cast<char*>(memory);
  capacity_ *= 2;
  return true;
}

bool LineBlocks::fill() {
  while (filled_ < capacity_ && offset_ < size_) {
    const std::size_t want = std::min(capacity_ - filled_, size_ - offset_);
    const ssize_t got = ::pread(fd_, buffer_ + filled_, want, static_cast<off_t>(offset_));
    if (got < 0) {
      if (errno == EINTR) continue;
      error_ = read_failure_reason(errno);
      return false;
    }
    if (got == 0) {  // the file ends before the size it had when it was opened
      changed_ = true;
      return false;
    }
    filled_ += static_cast<std::size_t>(got);
    offset_ += static_cast<std::size_t>(got);
  }
  return true;
}

bool LineBlocks::find_cr_in_rest() {
  while (offset_ < size_) {
    filled_ = 0;
    if (!fill()) return false;
    if (std::memchr(buffer_, '\r', filled_) != nullptr) {
      terminator_ = '\r';
      return true;
    }
  }
  return true;
}

bool LineBlocks::next(std::string_view& lines) {
  while (!finished_) {
    // Keep the unfinished line, at the front; a line that fills the whole buffer grows it.
    if (begin_ > 0) {
      std::memmove(buffer_, buffer_ + begin_, filled_ - begin_);
      filled_ -= begin_;
      begin_ = 0;
    }
    if ((filled_ == capacity_ && !grow()) || !fill()) {
      finished_ = true;
      return false;
    }
    if (lf_may_follow_ && filled_ > 0) {
      lf_may_follow_ = false;
      if (buffer_[0] == '\n') begin_ = 1;  // the LF of a CR LF belongs to no line
    }
    char* const data = buffer_ + begin_;
    const std::size_t size = filled_ - begin_;

    if (!terminator_known_) {
      terminator_known_ = true;
      if (std::memchr(data, '\r', size) != nullptr) {
        terminator_ = '\r';
      } else if (offset_ < size_) {
        // No CR in the first block: look for one in the rest of the file before any line is
        // handed out, then read from the top again.
        if (!find_cr_in_rest()) {
          finished_ = true;
          return false;
        }
        offset_ = begin_ = filled_ = 0;
        continue;
      }
    }
    if (offset_ == size_) {  // the rest of the file: its last line needs no terminator
      finished_ = true;
      if (size == 0) return false;
      lines = std::string_view(data, size);
      return true;
    }
    const void* last = ::memrchr(data, terminator_, size);
    if (last == nullptr) continue;  // not one whole line yet: read on
    std::size_t cut = static_cast<std::size_t>(static_cast<const char*>(last) - data) + 1;
    if (terminator_ == '\r') {
      if (cut < size) {
        if (data[cut] == '\n') ++cut;
      } else {
        lf_may_follow_ = true;
      }
    }
    lines = std::string_view(data, cut);
    begin_ += cut;
    return true;
  }
  return false;
}

}  // namespace vembrel
