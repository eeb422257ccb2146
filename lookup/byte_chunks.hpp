#pragma once
// Storage for many short byte strings that only ever grows until it is cleared. The bytes go
// into chunks that are never moved or copied once written, so adding tens of thousands of
// strings costs one copy of each and nothing more, and every stored string stays where it is
// until clear().
//
// Fresh memory is what a large result costs most: every page is a fault when it is first
// written. The first chunk is small, for the usual result of a few rows; a result that
// outgrows it goes on in chunks of one huge page each (where the system offers them), which
// take one fault instead of hundreds.

#include <cstddef>
#include <string_view>
#include <vector>

namespace vembrel {

class ByteChunks {
 public:
  static constexpr std::size_t kFirstChunkBytes = 64 * 1024;
  static constexpr std::size_t kLargeChunkBytes = 2 * 1024 * 1024;

  ByteChunks() = default;
  ~ByteChunks() { clear(); }
  ByteChunks(ByteChunks&& other) noexcept;
  ByteChunks& operator=(ByteChunks&& other) noexcept;
  ByteChunks(const ByteChunks&) = delete;
  ByteChunks& operator=(const ByteChunks&) = delete;

  // Copies `bytes` in and returns where the copy lives.
  std::string_view add(std::string_view bytes);
  // Room for `size` bytes aligned for any object, left unwritten.
  void* allocate(std::size_t size);
  // Frees every chunk.
  void clear();

 private:
  struct Chunk {
    char* bytes;
    std::size_t size;
    bool mapped;  // mmap'd, else from operator new
  };
  static Chunk newChunk(std::size_t at_least, bool first);
  char* room(std::size_t size, std::size_t align);
  static void freeChunk(const Chunk& chunk);

  std::vector<Chunk> chunks_;
  char* next_ = nullptr;  // the first unused byte of the last chunk
  std::size_t free_ = 0;  // unused bytes from there on
};

}  // namespace vembrel
