#include "host/qt/font_pages.hpp"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "host/qt/balloon_layout.hpp"
#include "host/qt/thought_pager.hpp"

namespace vembrel {
namespace {

TEST(FontFileMappings, TakesOnlyReadOnlyMappingsOfFontFiles) {
  const std::string maps =
      "7f0000000000-7f0000400000 r--p 00000000 fe:00 11 /usr/share/fonts/a/Noto CJK.ttc\n"
      "7f0000400000-7f0000401000 r--s 00000000 fe:00 12 /fonts/B.OTF\n"
      "7f0000500000-7f0000600000 rw-p 00000000 fe:00 13 /fonts/written.ttf\n"
      "7f0000600000-7f0000700000 r-xp 00000000 fe:00 14 /fonts/code.otf\n"
      "7f0000700000-7f0000800000 r--p 00000000 fe:00 15 /usr/lib/libfreetype.so.6\n"
      "7f0000800000-7f0000900000 r--p 00000000 fe:00 16 /fonts/gone.ttf (deleted)\n"
      "7f0000900000-7f0000a00000 rw-p 00000000 00:00 0 \n"
      "7f0000a00000-7f0000b00000 r--p 00000000 fe:00 17 /fonts/last.otc";
  const std::vector<MappedRange> ranges = fontFileMappings(maps);
  ASSERT_EQ(ranges.size(), 3u);
  EXPECT_EQ(ranges[0].begin, 0x7f0000000000u);
  EXPECT_EQ(ranges[0].end, 0x7f0000400000u);
  EXPECT_EQ(ranges[1].begin, 0x7f0000400000u);
  EXPECT_EQ(ranges[2].end, 0x7f0000b00000u);
  EXPECT_TRUE(fontFileMappings("garbage\n\n-\nzz-yy r--p 0 0 0 /x.ttf\n").empty());
}

// Resident kilobytes of the mapping that starts at `begin`, from /proc/self/smaps.
long residentKb(const void* begin) {
  char start[32];
  std::snprintf(start, sizeof start, "%lx-", reinterpret_cast<unsigned long>(begin));
  std::ifstream smaps("/proc/self/smaps");
  bool in_mapping = false;
  for (std::string line; std::getline(smaps, line);) {
    const std::size_t space = line.find(' ');
    if (space != std::string::npos && line.find('-') < space)  // a mapping's first line
      in_mapping = line.rfind(start, 0) == 0;
    else if (in_mapping && line.rfind("Rss:", 0) == 0)
      return std::strtol(line.c_str() + 4, nullptr, 10);
  }
  return -1;
}

TEST(FontFilePages, AreGivenBackAndReadAgainWhenNeeded) {
  char path[] = "/tmp/vembrel-font-XXXXXX.ttf";
  const int fd = ::mkstemps(path, 4);
  ASSERT_GE(fd, 0);
  const std::string bytes(256 * 1024, 'g');
  ASSERT_EQ(::write(fd, bytes.data(), bytes.size()), ssize_t(bytes.size()));
  auto* font =
      static_cast<const char*>(::mmap(nullptr, bytes.size(), PROT_READ, MAP_PRIVATE, fd, 0));
  ASSERT_NE(font, MAP_FAILED);
  // A writable mapping of the same file is the program's own memory: it is left alone.
  auto* own =
      static_cast<char*>(::mmap(nullptr, bytes.size(), PROT_READ | PROT_WRITE, MAP_PRIVATE, fd, 0));
  ASSERT_NE(own, MAP_FAILED);
  own[0] = 'x';
  long sum = 0;
  for (std::size_t i = 0; i < bytes.size(); i += 4096) sum += font[i] + own[i];
  EXPECT_GT(residentKb(font), 0);

  releaseFontFilePages();
  EXPECT_EQ(residentKb(font), 0);
  EXPECT_GT(residentKb(own), 0);
  EXPECT_EQ(own[0], 'x');
  EXPECT_EQ(font[0], 'g');  // read again from the file
  EXPECT_EQ(font[bytes.size() - 1], 'g');
  EXPECT_GT(sum, 0);
  ::munmap(const_cast<char*>(font), bytes.size());
  ::munmap(own, bytes.size());
  ::close(fd);
  ::unlink(path);
}

// An idle character also lets go of Qt's font cache. Text drawn afterwards, with a font and
// metrics that outlived the cache, is the same text.
TEST(FontCache, TextDrawsTheSameAfterQtLetsGoOfItsFonts) {
  const QFont font = BalloonWindow::textFont();
  const QFontMetricsF metrics(font);
  const QString text = QStringLiteral("子曰：学而时习之，不亦说乎？ Vembrel 2026");
  const auto draw = [&] {
    const ThoughtPages laid = layOutThought(text);
    const BalloonGeometry geometry =
        placeBalloon(laid.text_size, QRect(1000, 0, 130, 160), QRect(0, 0, 1280, 800));
    return BalloonWindow::render(laid.pages.front(), geometry, 1.0);
  };
  const QImage before = draw();
  const qreal width = metrics.horizontalAdvance(text);

  QFont::cleanup();
  releaseFontFilePages();
  EXPECT_EQ(metrics.horizontalAdvance(text), width);
  EXPECT_EQ(draw(), before);
  QFont::cleanup();  // twice in a row is harmless
  EXPECT_EQ(draw(), before);
}

}  // namespace
}  // namespace vembrel
