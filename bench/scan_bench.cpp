// Scan throughput: bytes of dictionary searched per second, per dictionary, for one-, two- and
// four-character queries, plus the single-character lookup, and a search that keeps its rows
// as the program does (a one-character query in the largest file matches tens of thousands).
// Also the lookup as the program makes it, reading the largest file in blocks, and the byte
// search's kernels on their own.

#include <benchmark/benchmark.h>

#include <cstring>
#include <string>

#include "lookup/byte_search.hpp"
#include "lookup/data_file.hpp"
#include "lookup/gbk.hpp"
#include "lookup/hanzi_lookup.hpp"
#include "lookup/line_blocks.hpp"
#include "lookup/phrase_search.hpp"
#include "lookup/result_list.hpp"
#include "lookup/text.hpp"

namespace {

using namespace vembrel;

std::string data_path(const char* name) {
  return std::string(VEMBREL_DATA_DIR "/") + name;
}

// Scans a dictionary for the query and counts the matching lines; with keep_rows, also fills
// both result lists with them and empties them again, as every search does.
void BM_PhraseScan(benchmark::State& state, const char* file, const char* query_utf8,
                   bool keep_rows = false) {
  const DataFile data = read_data_file(data_path(file));
  if (!data.ok()) {
    state.SkipWithError("cannot read the dictionary");
    return;
  }
  const std::u16string query = utf8_to_utf16(query_utf8);
  ResultList words, definitions;
  std::size_t rows = 0;
  for (auto _ : state) {
    rows = 0;
    words.clear();
    definitions.clear();
    for_each_phrase_match(data.bytes(), query, [&](std::string_view head, std::string_view tail) {
      ++rows;
      if (!keep_rows) return;
      words.add_gbk(head);
      definitions.add_gbk(tail);
    });
    benchmark::DoNotOptimize(rows);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * data.bytes().size()));
  state.counters["rows"] = static_cast<double>(rows);
}

void BM_CharacterScan(benchmark::State& state, const char* query_utf8) {
  const DataFile data = read_data_file(data_path("zd.mdb"));
  const std::u16string query = utf8_to_utf16(query_utf8);
  for (auto _ : state) benchmark::DoNotOptimize(scan_hanzi(data.bytes(), query));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * data.bytes().size()));
}

// Opens the file and reads it in blocks for every search, as a lookup does.
void BM_PhraseFileScan(benchmark::State& state, const char* file, const char* query_utf8) {
  const std::string path = data_path(file);
  const std::u16string query = utf8_to_utf16(query_utf8);
  std::size_t rows = 0, size = 0;
  for (auto _ : state) {
    rows = 0;
    const OpenedFile opened = open_regular_file(path);
    LineBlocks blocks(opened);
    for_each_phrase_match(blocks, query, [&](std::string_view, std::string_view) { ++rows; });
    size = opened.size();
    benchmark::DoNotOptimize(rows);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * size));
  state.counters["rows"] = static_cast<double>(rows);
}

// The C library's memmem alone: what find_bytes's SSE2 loop has to beat.
std::size_t find_with_memmem(std::string_view haystack, std::string_view needle, std::size_t from) {
  const void* hit =
      ::memmem(haystack.data() + from, haystack.size() - from, needle.data(), needle.size());
  return hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - haystack.data())
             : std::string_view::npos;
}

// Every occurrence of the query's GBK bytes in the file, with find_bytes or memmem alone.
void BM_FindAll(benchmark::State& state, bool memmem_alone, const char* file,
                const char* query_utf8) {
  const auto find = memmem_alone ? find_with_memmem : find_bytes;
  const DataFile data = read_data_file(data_path(file));
  const std::string needle = encode_gbk(utf8_to_utf16(query_utf8)).value();
  std::size_t finds = 0;
  for (auto _ : state) {
    finds = 0;
    for (std::size_t at = find(data.bytes(), needle, 0); at != std::string_view::npos;
         at = find(data.bytes(), needle, at + 1))
      ++finds;
    benchmark::DoNotOptimize(finds);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * data.bytes().size()));
  state.counters["finds"] = static_cast<double>(finds);
}

BENCHMARK_CAPTURE(BM_PhraseScan, xh_1, "xh.mdb", "灯");
BENCHMARK_CAPTURE(BM_PhraseScan, xh_2, "xh.mdb", "灯笼");
BENCHMARK_CAPTURE(BM_PhraseScan, xh_4, "xh.mdb", "外甥打灯");
BENCHMARK_CAPTURE(BM_PhraseScan, cy_1, "cy.mdb", "一");
BENCHMARK_CAPTURE(BM_PhraseScan, cy_2, "cy.mdb", "一心");
BENCHMARK_CAPTURE(BM_PhraseScan, cy_4, "cy.mdb", "一心一意");
BENCHMARK_CAPTURE(BM_PhraseScan, ty_1, "ty.mdb", "美");
BENCHMARK_CAPTURE(BM_PhraseScan, ty_2, "ty.mdb", "美丽");
BENCHMARK_CAPTURE(BM_PhraseScan, ty_4, "ty.mdb", "风和日丽");
BENCHMARK_CAPTURE(BM_PhraseScan, fy_1, "fy.mdb", "高");
BENCHMARK_CAPTURE(BM_PhraseScan, fy_2, "fy.mdb", "高兴");
BENCHMARK_CAPTURE(BM_PhraseScan, fy_4, "fy.mdb", "兴高采烈");
BENCHMARK_CAPTURE(BM_PhraseScan, gw_1, "gw.mdb", "之");
BENCHMARK_CAPTURE(BM_PhraseScan, gw_2, "gw.mdb", "学而");
BENCHMARK_CAPTURE(BM_PhraseScan, gw_4, "gw.mdb", "学而时习");
BENCHMARK_CAPTURE(BM_PhraseScan, gw_1_kept, "gw.mdb", "之", true);
BENCHMARK_CAPTURE(BM_PhraseScan, gw_2_kept, "gw.mdb", "学而", true);
BENCHMARK_CAPTURE(BM_PhraseFileScan, gw_1, "gw.mdb", "之");
BENCHMARK_CAPTURE(BM_PhraseFileScan, gw_2, "gw.mdb", "学而");
BENCHMARK_CAPTURE(BM_PhraseFileScan, gw_4, "gw.mdb", "学而时习");
BENCHMARK_CAPTURE(BM_FindAll, gw_1, false, "gw.mdb", "之");
BENCHMARK_CAPTURE(BM_FindAll, gw_1_memmem, true, "gw.mdb", "之");
BENCHMARK_CAPTURE(BM_FindAll, gw_4, false, "gw.mdb", "学而时习");
BENCHMARK_CAPTURE(BM_FindAll, gw_4_memmem, true, "gw.mdb", "学而时习");
BENCHMARK_CAPTURE(BM_CharacterScan, zd_1, "好");

}  // namespace

BENCHMARK_MAIN();
