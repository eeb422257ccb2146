// Reading a file in blocks of whole lines: the same lines as reading it whole, however small
// the block, and a file cut short while it is read is noticed.

#include "lookup/line_blocks.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "host/op_log.hpp"
#include "lookup/data_file.hpp"
#include "lookup/dictionary_file.hpp"
#include "lookup/phrase_search.hpp"
#include "lookup/text.hpp"
#include "tests/support/fixtures.hpp"

namespace vembrel {
namespace {

using testing::TempDir;
using Lines = std::vector<std::string>;

// The lines of a file as a lookup reading it in blocks sees them.
Lines lines_in_blocks(LineBlocks& blocks) {
  Lines lines;
  for (std::string_view block; blocks.next(block);) {
    // A block holds whole lines only, so a block on its own splits as the file does.
    EXPECT_NE(block, "");
    std::string_view rest = block;
    while (!rest.empty()) {
      std::size_t end = rest.find(blocks.terminator());
      const bool terminated = end != std::string_view::npos;
      if (!terminated) end = rest.size();
      lines.emplace_back(rest.substr(0, end));
      rest.remove_prefix(terminated ? end + 1 : end);
      if (terminated && blocks.terminator() == '\r' && !rest.empty() && rest[0] == '\n')
        rest.remove_prefix(1);
    }
  }
  return lines;
}

TEST(LineBlocks, GiveTheLinesOfTheWholeFileForEveryBlockSize) {
  const std::string files[] = {
      "",
      "a~b\r\nc~d\r\n",
      "a~b\r\nc~d",              // the last line without terminator
      "abc\r",                   // a CR at the very end
      "a\r\n\nb\r\r\nc\n",       // a lone LF stays in its line; CR CR LF holds an empty line
      "a\nb\nc",                 // no CR: lines end at LF
      "a\nbb\nccc\ndddd\re\nf",  // the first CR comes late: the lines end at CR all the same
      "\r\n\r\n\r\n",
      "\n\n",
      "long line without any terminator at all",
  };
  TempDir dir;
  for (const std::string& data : files) {
    const auto path = dir.write("f.mdb", data);
    Lines whole;
    for (std::string_view line : split_lines(data)) whole.emplace_back(line);
    for (std::size_t block_size = 1; block_size <= data.size() + 2; ++block_size) {
      const OpenedFile file = open_regular_file(path.string());
      ASSERT_TRUE(file.ok());
      LineBlocks blocks(file, block_size);
      EXPECT_EQ(lines_in_blocks(blocks), whole) << ::testing::PrintToString(data) << block_size;
      EXPECT_FALSE(blocks.changed_while_read());
      EXPECT_EQ(blocks.error(), u"");
    }
  }
}

TEST(LineBlocks, ReadOnlyTheSizeSeenAtOpenAndNoticeAFileCutShort) {
  TempDir dir;
  std::string data;
  for (int i = 0; i < 100; ++i) data += "line " + std::to_string(i) + "~x\r\n";
  const auto path = dir.write("f.mdb", data);

  {  // grown meanwhile: read to its old end, and nothing is wrong
    const OpenedFile file = open_regular_file(path.string());
    std::ofstream(path, std::ios::app) << "more~y\r\n";
    LineBlocks blocks(file, 64);
    Lines lines = lines_in_blocks(blocks);
    EXPECT_EQ(lines.size(), 100u);
    EXPECT_EQ(lines.back(), "line 99~x");
    EXPECT_FALSE(blocks.changed_while_read());
  }
  {  // cut short meanwhile: the reading stops and says so
    dir.write("f.mdb", data);
    const OpenedFile file = open_regular_file(path.string());
    std::filesystem::resize_file(path, data.size() / 2);
    LineBlocks blocks(file, 64);
    lines_in_blocks(blocks);
    EXPECT_TRUE(blocks.changed_while_read());
    EXPECT_EQ(blocks.error(), u"");
  }
}

TEST(LineBlocks, ALookupInAFileCutShortIsAnnouncedAsChanged) {
  TempDir dir;
  std::string data;
  for (int i = 0; i < 200; ++i) data += testing::gbk("之乎~者也") + "\r\n";
  const auto path = dir.write("data/gw.mdb", data);
  RecordingHost host;
  host.load(u"panda", "panda.vr");

  const OpenedFile file = open_regular_file(path.string());
  ASSERT_TRUE(file.ok());
  std::filesystem::resize_file(path, data.size() - 100);
  LineBlocks blocks(file, 256);
  for_each_phrase_match(blocks, u"之", [](std::string_view, std::string_view) {});
  const std::u16string_view fault = read_fault(blocks);
  EXPECT_EQ(fault, u"文件在读取时被改动了，请再查一次");
  host.ops.clear();
  announce_failure(*host.character(u"panda"), unreadable_dictionary_message(path.string(), fault));
  EXPECT_EQ(
      host.ops,
      (std::vector<std::string>{
          "Play decline",
          "Think " + utf16_to_utf8(spaced_text(u"无法读取词典文件 " + utf8_to_utf16(path.string()) +
                                               u"：文件在读取时被改动了，请再查一次"))}));
}

}  // namespace
}  // namespace vembrel
