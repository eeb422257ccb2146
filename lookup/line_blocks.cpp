#include "lookup/line_blocks.hpp"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace vembrel {

LineBlocks::LineBlocks(const OpenedFile& file, std::size_t block_size)
    : fd_(file.fd()), size_(file.size()), buffer_(std::max<std::size_t>(block_size, 1)) {}

bool LineBlocks::fill() {
  while (filled_ < buffer_.size() && offset_ < size_) {
    const std::size_t want = std::min(buffer_.size() - filled_, size_ - offset_);
    const ssize_t got = ::pread(fd_, buffer_.data() + filled_, want, static_cast<off_t>(offset_));
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

bool LineBlocks::next(std::string_view& lines) {
  while (!finished_) {
    // Keep the unfinished line, at the front; a line that fills the whole buffer grows it.
    if (begin_ > 0) {
      std::memmove(buffer_.data(), buffer_.data() + begin_, filled_ - begin_);
      filled_ -= begin_;
      begin_ = 0;
    }
    if (filled_ == buffer_.size()) buffer_.resize(buffer_.size() * 2);
    if (!fill()) {
      finished_ = true;
      return false;
    }
    if (lf_may_follow_ && filled_ > 0) {
      lf_may_follow_ = false;
      if (buffer_[0] == '\n') begin_ = 1;  // the LF of a CR LF belongs to no line
    }
    char* const data = buffer_.data() + begin_;
    const std::size_t size = filled_ - begin_;

    if (!terminator_known_ && std::memchr(data, '\r', size) != nullptr) {
      terminator_ = '\r';
      terminator_known_ = true;
      if (handed_out_) {  // the blocks so far were split at LF: start again
        offset_ = begin_ = filled_ = 0;
        continue;
      }
    }
    if (offset_ == size_) {  // the rest of the file: its last line needs no terminator
      finished_ = true;
      if (size == 0) return false;
      lines = std::string_view(data, size);
      handed_out_ = true;
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
    handed_out_ = true;
    return true;
  }
  return false;
}

}  // namespace vembrel
