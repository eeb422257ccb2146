#include "lookup/data_file.hpp"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <functional>
#include <vector>

#include "lookup/gbk.hpp"
#include "tests/support/fixtures.hpp"

namespace vembrel {
namespace {

using testing::TempDir;

TEST(SplitLines, EndsLinesAtCrOrCrLfAndAtLfOnlyWithoutAnyCr) {
  using Lines = std::vector<std::string_view>;
  const struct {
    std::string_view data;
    Lines lines;
  } cases[] = {
      {"", {}},
      {"a\r\nb\r\n", {"a", "b"}},
      {"a\rb\r", {"a", "b"}},
      {"a\r\nb", {"a", "b"}},        // a final line without terminator is still a line
      {"a\nb\rc", {"a\nb", "c"}},    // with a CR in the file, a lone LF stays in its line
      {"a\r\r\nb", {"a", "", "b"}},  // CR CR LF: an empty line in between
      {"a\nb\n", {"a", "b"}},        // no CR at all: a file made on Linux
      {"\r\n", {""}},
      {"x\n\ny", {"x", "", "y"}},
  };
  for (const auto& c : cases) EXPECT_EQ(split_lines(c.data), c.lines) << c.data;
}

TEST(Gbk, DecodesTheWindowsTableAndReplacesInvalidBytes) {
  EXPECT_EQ(decode_gbk("\x80"), u"€");
  EXPECT_EQ(decode_gbk("\xC4\xE3\x83\x7E"), u"你儈");  // 0x7E as a second byte
  EXPECT_EQ(decode_gbk("a\xC4"), u"a\uFFFD");          // a lead byte at the end
  EXPECT_EQ(decode_gbk("\x81\x30z"), u"\uFFFD0z");     // an invalid second byte is kept
  EXPECT_EQ(encode_gbk(u"你儈~"), std::string("\xC4\xE3\x83\x7E~"));
  EXPECT_FALSE(encode_gbk(u"😀").has_value());
  EXPECT_FALSE(encode_gbk(std::u16string{u'\xD800'}).has_value());
}

TEST(ReadDataFile, RefusesWhatIsNoRegularFileWithAReason) {
  TempDir dir;
  const auto file = dir.write("data/cy.mdb", "a~b\r\n");
  ASSERT_EQ(::mkfifo((dir.path() / "fifo").c_str(), 0600), 0);

  EXPECT_EQ(read_data_file(file.string()).bytes(), "a~b\r\n");
  EXPECT_EQ(read_data_file((dir.path() / "missing").string()).error, u"文件不存在");
  EXPECT_EQ(read_data_file(dir.path().string()).error, u"这是一个目录，不是词典文件");
  EXPECT_EQ(read_data_file((dir.path() / "fifo").string()).error, u"这不是普通文件");  // no hang
  EXPECT_EQ(read_data_file("/dev/null").error, u"这不是普通文件");
}

// The bytes are a copy: a file cut short or rewritten afterwards changes nothing read.
TEST(ReadDataFile, KeepsItsCopyWhenTheFileChangesAfterwards) {
  TempDir dir;
  const auto path = dir.write("big.mdb", std::string(3 * 4096, 'x'));
  const DataFile file = read_data_file(path.string());
  ASSERT_TRUE(file.ok());
  EXPECT_FALSE(file.changed_while_read());
  std::filesystem::resize_file(path, 0);
  EXPECT_EQ(file.bytes(), std::string(3 * 4096, 'x'));
}

// A file whose size or modification time differs from when it was opened, or that gives more
// or fewer bytes than its size said, changed while it was read.
TEST(ReadOpenedFile, TellsAFileChangedSinceItWasOpened) {
  TempDir dir;
  const auto path = dir.write("a.mdb", std::string(4096, 'a'));
  const struct {
    const char* what;
    std::function<void()> change;
    bool changed;
  } cases[] = {
      {"nothing", [] {}, false},
      {"cut short", [&] { std::filesystem::resize_file(path, 100); }, true},
      {"grown", [&] { std::filesystem::resize_file(path, 8192); }, true},
      {"same size, new time",
       [&] {
         const timespec times[2] = {{0, UTIME_OMIT}, {12345, 0}};
         ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
       },
       true},
  };
  for (const auto& c : cases) {
    dir.write("a.mdb", std::string(4096, 'a'));
    const OpenedFile opened = open_regular_file(path.string());
    ASSERT_TRUE(opened.ok());
    c.change();
    const DataFile file = read_opened_file(opened.fd(), opened.stamp());
    EXPECT_TRUE(file.ok()) << c.what;
    EXPECT_EQ(file.changed_while_read(), c.changed) << c.what;
  }
}

TEST(AppFilePath, JoinsTheBackslashPathToTheApplicationDirectory) {
  EXPECT_EQ(app_file_path("/opt/vembrel", "\\data\\cy.mdb"), "/opt/vembrel/data/cy.mdb");
  EXPECT_EQ(app_file_path("/a\\b", "\\dh.vr"), "/a\\b/dh.vr");  // the directory is kept as is
}

}  // namespace
}  // namespace vembrel
