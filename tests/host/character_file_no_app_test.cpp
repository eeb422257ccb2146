// Reading a character file draws its rest pose with Qt's SVG renderer and painter, which need
// a QGuiApplication. Without one the reader stops with a message that says so, instead of
// failing in ways that look like a bad file.

#include <gtest/gtest.h>

#include <QCoreApplication>

#include "host/qt/character_file.hpp"
#include "test_character.hpp"

namespace vembrel {
namespace {

TEST(CharacterFileDeathTest, NeedsAGuiApplication) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  ASSERT_EQ(QCoreApplication::instance(), nullptr);
  const QByteArray bytes = testing::toBytes(testing::tinyCharacter());
  EXPECT_DEATH(parseCharacterFile(bytes, "tiny.vr"), "only once a QGuiApplication exists");
  int argc = 1;
  char name[] = "test";
  char* argv[] = {name, nullptr};
  const QCoreApplication core(argc, argv);  // not a GUI application: still refused
  EXPECT_DEATH(parseCharacterFile(bytes, "tiny.vr"), "only once a QGuiApplication exists");
}

}  // namespace
}  // namespace vembrel
