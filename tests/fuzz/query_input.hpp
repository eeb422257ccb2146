#pragma once
// How the lookup fuzzers read their input: the query's bytes, one NUL, then the data the
// query is looked up in. An input without NUL is a query alone, looked up in no data.

#include <cstddef>
#include <cstdint>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "lookup/gbk.hpp"
#include "lookup/text.hpp"

namespace vembrel::fuzz {

struct QueryInput {
  std::string_view query_bytes;
  std::string_view data;

  // The query read both ways a query can reach a lookup: as GBK, which lets the fuzzer copy
  // bytes from the data and so find matches, and as UTF-8 typed by the user, which also
  // yields characters without a GBK form. The second is left out when it says the same.
  std::vector<std::u16string> queries() const {
    std::vector<std::u16string> out{decode_gbk(query_bytes)};
    std::u16string typed = utf8_to_utf16(query_bytes);
    if (typed != out.front()) out.push_back(std::move(typed));
    return out;
  }
};

// Queries the fuzzer would rarely build by itself: every distinct run of 1 to `longest` units
// of the data's text, which puts each character of the data, tricky ones included, to the
// test. Only for small data, as each query is a scan of its own.
inline std::set<std::u16string> queries_from_data(std::string_view data, std::size_t longest) {
  std::set<std::u16string> out;
  if (data.size() > 128) return out;
  const std::u16string text = decode_gbk(data);
  for (std::size_t i = 0; i < text.size(); ++i)
    for (std::size_t n = 1; n <= longest && i + n <= text.size(); ++n)
      out.insert(text.substr(i, n));
  return out;
}

inline QueryInput split_query_input(const std::uint8_t* bytes, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(bytes), size);
  const std::size_t nul = input.find('\0');
  if (nul == std::string_view::npos) return {input, {}};
  return {input.substr(0, nul), input.substr(nul + 1)};
}

}  // namespace vembrel::fuzz
