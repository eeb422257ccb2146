// The character lookup and the line reader under it, on arbitrary bytes. Input: query bytes,
// NUL, data bytes (see query_input.hpp).

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "lookup/data_file.hpp"
#include "lookup/hanzi_lookup.hpp"
#include "tests/fuzz/fuzz_check.hpp"
#include "tests/fuzz/query_input.hpp"

namespace {

using namespace vembrel;

// The lines are the data cut at its terminators: consecutive slices without a terminator,
// each followed by one (CR LF counting as one where lines end at CR) except perhaps the last.
void check_lines(std::string_view data) {
  const char terminator = LineReader::line_terminator(data);
  FUZZ_CHECK(terminator == '\r' || data.find('\r') == std::string_view::npos);
  std::size_t pos = 0;
  for (const std::string_view line : split_lines(data)) {
    FUZZ_CHECK(pos < data.size() && line.data() == data.data() + pos);
    FUZZ_CHECK(line.find(terminator) == std::string_view::npos);
    pos += line.size();
    if (pos == data.size()) continue;
    FUZZ_CHECK(data[pos++] == terminator);
    if (terminator == '\r' && pos < data.size() && data[pos] == '\n') ++pos;
  }
  FUZZ_CHECK(pos == data.size());
}

void check_lookup(std::string_view data, const std::u16string& query) {
  const std::vector<HanziLine> lines = scan_hanzi(data, query);
  if (query.size() != 1) {
    FUZZ_CHECK(lines.empty());  // only a one-unit query can match a header
    return;
  }
  FUZZ_CHECK(lines.empty() || lines.front().header);
  int definitions = 0;
  for (const HanziLine& line : lines) {
    if (line.header) {
      FUZZ_CHECK(!line.text.empty() && line.text.front() == query.front());
      definitions = 0;
    } else {
      FUZZ_CHECK(++definitions <= kMaxDefinitionLines);
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  const fuzz::QueryInput input = fuzz::split_query_input(bytes, size);
  check_lines(input.data);
  for (const std::u16string& query : input.queries()) check_lookup(input.data, query);
  for (const std::u16string& query : fuzz::queries_from_data(input.data, 1))
    check_lookup(input.data, query);
  return 0;
}
