#include "lookup/byte_chunks.hpp"

#include <sys/mman.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <new>
#include <utility>

namespace vembrel {

ByteChunks::ByteChunks(ByteChunks&& other) noexcept
    : chunks_(std::move(other.chunks_)),
      next_(std::exchange(other.next_, nullptr)),
      free_(std::exchange(other.free_, 0)) {
  other.chunks_.clear();
}

ByteChunks& ByteChunks::operator=(ByteChunks&& other) noexcept {
  if (this != &other) {
    clear();
    chunks_ = std::move(other.chunks_);
    other.chunks_.clear();
    next_ = std::exchange(other.next_, nullptr);
    free_ = std::exchange(other.free_, 0);
  }
  return *this;
}

ByteChunks::Chunk ByteChunks::newChunk(std::size_t at_least, bool first) {
  if (first && at_least <= kFirstChunkBytes)
    return {static_cast<char*>(::operator new(kFirstChunkBytes)), kFirstChunkBytes, false};
  // A whole number of huge pages on a huge page boundary: map more and cut off both ends.
  const std::size_t size = (at_least + kLargeChunkBytes - 1) / kLargeChunkBytes * kLargeChunkBytes;
  void* area = ::mmap(nullptr, size + kLargeChunkBytes, PROT_READ | PROT_WRITE,
                      MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (area == MAP_FAILED) throw std::bad_alloc();
  char* const start = static_cast<char*>(area);
  const std::uintptr_t address = reinterpret_cast<std::uintptr_t>(start);
  char* const aligned = start + (kLargeChunkBytes - address % kLargeChunkBytes) % kLargeChunkBytes;
  if (aligned > start) ::munmap(start, static_cast<std::size_t>(aligned - start));
  const std::size_t after =
      static_cast<std::size_t>(start + size + kLargeChunkBytes - (aligned + size));
  if (after > 0) ::munmap(aligned + size, after);
  ::madvise(aligned, size, MADV_HUGEPAGE);  // only a hint: without huge pages it works the same
  return {aligned, size, true};
}

void ByteChunks::freeChunk(const Chunk& chunk) {
  if (chunk.mapped)
    ::munmap(chunk.bytes, chunk.size);
  else
    ::operator delete(chunk.bytes);
}

char* ByteChunks::room(std::size_t size, std::size_t align) {
  std::size_t skip = (align - reinterpret_cast<std::uintptr_t>(next_) % align) % align;
  if (free_ < skip || free_ - skip < size) {
    chunks_.reserve(chunks_.size() + 1);  // so that no chunk is ever left without an owner
    chunks_.push_back(newChunk(size, chunks_.empty()));
    next_ = chunks_.back().bytes;  // aligned for anything
    free_ = chunks_.back().size;
    skip = 0;
  }
  char* const start = next_ + skip;
  next_ = start + size;
  free_ -= skip + size;
  return start;
}

void* ByteChunks::allocate(std::size_t size) {
  return room(size, alignof(std::max_align_t));
}

std::string_view ByteChunks::add(std::string_view bytes) {
  if (bytes.empty()) return {};
  char* const copy = room(bytes.size(), 1);
  std::memcpy(copy, bytes.data(), bytes.size());
  return {copy, bytes.size()};
}

void ByteChunks::clear() {
  for (const Chunk& chunk : chunks_) freeChunk(chunk);
  chunks_ = std::vector<Chunk>();
  next_ = nullptr;
  free_ = 0;
}

}  // namespace vembrel
