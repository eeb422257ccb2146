// The fast byte scan of a phrase dictionary, of the data in memory and of the data as a file
// read in small blocks, against the plain scan that decodes every line, on arbitrary bytes.
// Input: query bytes, NUL, data bytes (see query_input.hpp).

#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "lookup/data_file.hpp"
#include "lookup/gbk.hpp"
#include "lookup/phrase_search.hpp"
#include "tests/fuzz/fuzz_check.hpp"
#include "tests/fuzz/query_input.hpp"
#include "tests/support/block_scan.hpp"
#include "tests/support/phrase_scans.hpp"

namespace {

using namespace vembrel;

// True when `at` is where a line of `data` begins.
bool starts_line(std::string_view data, std::size_t at, char terminator) {
  if (at == 0) return true;
  if (data[at - 1] == terminator) return true;
  return terminator == '\r' && data[at - 1] == '\n' && at >= 2 && data[at - 2] == '\r';
}

// The data as a file in memory, rewritten for every input.
const std::string& data_file_path(std::string_view data) {
  static const int fd = ::memfd_create("fuzz-data", MFD_CLOEXEC);
  static const std::string path = "/proc/self/fd/" + std::to_string(fd);
  FUZZ_CHECK(fd >= 0 && ::ftruncate(fd, 0) == 0);
  FUZZ_CHECK(::pwrite(fd, data.data(), data.size(), 0) == static_cast<ssize_t>(data.size()));
  return path;
}

void check_query(std::string_view data, const std::string& path, const std::u16string& query) {
  const char terminator = LineReader::line_terminator(data);
  const char* const begin = data.data();
  const char* const end = begin + data.size();

  std::vector<PhraseRow> rows;
  for_each_phrase_match(data, query, [&](std::string_view head, std::string_view tail) {
    // Head and tail are the two sides of one line's first "~", inside the data.
    FUZZ_CHECK(head.data() >= begin && tail.data() + tail.size() <= end);
    FUZZ_CHECK(head.data() + head.size() + 1 == tail.data());
    FUZZ_CHECK(head.data()[head.size()] == '~');
    FUZZ_CHECK(starts_line(data, static_cast<std::size_t>(head.data() - begin), terminator));
    FUZZ_CHECK(tail.find(terminator) == std::string_view::npos);
    const char* const line_end = tail.data() + tail.size();
    FUZZ_CHECK(line_end == end || *line_end == terminator);
    rows.push_back({decode_gbk(head), decode_gbk(tail)});
  });

  for (const PhraseRow& row : rows) {
    FUZZ_CHECK(row.head.find(query) != std::u16string::npos);
    FUZZ_CHECK(row.head.find(u'~') == std::u16string::npos);
  }
  FUZZ_CHECK(testing::scan_phrases(data, query) == rows);
  // Blocks of a few bytes put every line end on a block edge somewhere.
  const testing::BlockScan blocks =
      testing::scan_phrases_in_blocks(path, query, 1 + (data.size() + query.size()) % 13);
  FUZZ_CHECK(blocks.read_whole && blocks.rows == rows);
  if (encode_gbk(query))
    FUZZ_CHECK(rows == testing::scan_phrases_plain(data, query));
  else
    FUZZ_CHECK(rows.empty());  // a text without GBK form occurs in no data file
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  const fuzz::QueryInput input = fuzz::split_query_input(bytes, size);
  const std::string& path = data_file_path(input.data);
  for (const std::u16string& query : input.queries()) check_query(input.data, path, query);
  for (const std::u16string& query : fuzz::queries_from_data(input.data, 2))
    check_query(input.data, path, query);
  return 0;
}
