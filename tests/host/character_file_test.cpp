#include "host/qt/character_file.hpp"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QTemporaryDir>
#include <functional>

#include "host/qt/character_digest.hpp"
#include "host/qt/frame_cache.hpp"
#include "test_character.hpp"

namespace vembrel {
namespace {

using testing::tinyCharacter;
using testing::toBytes;

TEST(CharacterFile, ReadsTheShippedCharacterWithEveryAnimationTheProgramPlays) {
  const CharacterFileResult result = readCharacterFile(VEMBREL_SHIPPED_CHARACTER);
  ASSERT_TRUE(result.character) << result.error;
  EXPECT_EQ(result.character->natural_size, QSize(130, 160));
  using namespace animations;
  const char* const program[] = {kWave, kCongratulate2, kGestureRight, kDecline, kDontRecognize};
  for (const char* name : program) EXPECT_NE(result.character->animation(name), nullptr) << name;
  for (const char* name : {kShow, kHide, kRest, kBlink, kLookAround})
    EXPECT_NE(result.character->animation(name), nullptr) << name;
  // Smooth motion: the program's animations have several frames each.
  for (const char* name : program)
    EXPECT_GE(result.character->animation(name)->steps.size(), 8u) << name;
  // The frames' text, read where the file's JSON holds it, outlives the file's bytes.
  for (const auto& [id, svg] : result.character->frames)
    EXPECT_TRUE(svg.text().startsWith("<svg")) << id.toStdString();
}

TEST(CharacterFile, ReadsAMinimalCharacter) {
  const CharacterFileResult result = parseCharacterFile(toBytes(tinyCharacter()), "tiny.vr");
  ASSERT_TRUE(result.character) << result.error;
  EXPECT_EQ(result.character->name, "Tiny");
  EXPECT_EQ(result.character->animation("wave")->steps[1].frame, "square");
}

struct BadFile {
  const char* what;
  std::function<void(QJsonObject&)> spoil;
  const char* message;  // expected in the error
};

void setAnimation(QJsonObject& root, const QString& name, const QJsonValue& value) {
  QJsonObject animations = root["animations"].toObject();
  animations[name] = value;
  root["animations"] = animations;
}

QJsonObject oneStep(const QJsonValue& frame, const QJsonValue& ms) {
  return QJsonObject{{"frames", QJsonArray{QJsonObject{{"frame", frame}, {"ms", ms}}}}};
}

TEST(CharacterFile, RejectsBrokenFilesSayingWhatAndWhere) {
  const BadFile cases[] = {
      {"other format", [](QJsonObject& c) { c["format"] = "something-else"; },
       "\"format\" is not \"vembrel-character\""},
      {"newer version", [](QJsonObject& c) { c["version"] = 2; }, "unsupported version 2"},
      {"no name", [](QJsonObject& c) { c.remove("name"); }, "\"name\" must be a non-empty"},
      {"size as text", [](QJsonObject& c) { c["width"] = "130"; }, "must be numbers"},
      {"zero height", [](QJsonObject& c) { c["height"] = 0; }, "size 20 x 0 is outside"},
      {"absurd width", [](QJsonObject& c) { c["width"] = 100000; }, "outside 1 to 4096"},
      {"no frames", [](QJsonObject& c) { c["frames"] = QJsonObject{}; }, "\"frames\" must be"},
      {"frame not text",
       [](QJsonObject& c) {
         QJsonObject frames = c["frames"].toObject();
         frames["half"] = 3;
         c["frames"] = frames;
       },
       "frame \"half\" is not a string"},
      {"frame not SVG",
       [](QJsonObject& c) {
         QJsonObject frames = c["frames"].toObject();
         frames["square"] = "<svg><rect";
         c["frames"] = frames;
       },
       "frame \"square\" is not a valid SVG"},
      {"huge frame",
       [](QJsonObject& c) {
         QJsonObject frames = c["frames"].toObject();
         frames["square"] =
             "<svg xmlns='http://www.w3.org/2000/svg' width='9000' height='20'>"
             "<rect width='5' height='5'/></svg>";
         c["frames"] = frames;
       },
       "frame \"square\" is larger than 4096"},
      {"huge frame with a viewBox",
       [](QJsonObject& c) {
         QJsonObject frames = c["frames"].toObject();
         frames["square"] =
             "<svg xmlns='http://www.w3.org/2000/svg' width='20' height='9000' "
             "viewBox='0 0 20 9000'><rect width='5' height='5'/></svg>";
         c["frames"] = frames;
       },
       "frame \"square\" is larger than 4096"},
      {"frame nested deeper than Qt reads",
       [](QJsonObject& c) {
         QJsonObject frames = c["frames"].toObject();
         frames["square"] =
             "<svg xmlns='http://www.w3.org/2000/svg' width='20' height='20' "
             "viewBox='0 0 20 20'>" +
             QString("<g>").repeated(2048) + QString("</g>").repeated(2048) + "</svg>";
         c["frames"] = frames;
       },
       "frame \"square\" is not a valid SVG"},
      {"frame of no size with a viewBox",
       [](QJsonObject& c) {
         QJsonObject frames = c["frames"].toObject();
         frames["square"] =
             "<svg xmlns='http://www.w3.org/2000/svg' width='20' height='20' viewBox='0 0 0 0'/>";
         c["frames"] = frames;
       },
       "frame \"square\" has no size"},
      {"frame of no size",
       [](QJsonObject& c) {
         QJsonObject frames = c["frames"].toObject();
         frames["square"] = "<svg xmlns='http://www.w3.org/2000/svg' width='0' height='0'/>";
         c["frames"] = frames;
       },
       "frame \"square\" has no size"},
      {"rest pose draws nothing",
       [](QJsonObject& c) {
         QJsonObject frames = c["frames"].toObject();
         frames["half"] =
             "<svg xmlns='http://www.w3.org/2000/svg' width='40' height='40' viewBox='0 0 40 40'>"
             "<rect width='40' height='40' fill='none'/></svg>";
         c["frames"] = frames;
       },
       "the rest pose (frame \"half\") draws nothing opaque"},
      {"missing wave",
       [](QJsonObject& c) {
         QJsonObject animations = c["animations"].toObject();
         animations.remove("wave");
         c["animations"] = animations;
       },
       "missing animation \"wave\""},
      {"missing rest",
       [](QJsonObject& c) {
         QJsonObject animations = c["animations"].toObject();
         animations.remove("rest");
         c["animations"] = animations;
       },
       "missing animation \"rest\""},
      {"unknown frame", [](QJsonObject& c) { setAnimation(c, "decline", oneStep("nope", 80)); },
       "animation \"decline\" step 1 names unknown frame \"nope\""},
      {"empty animation",
       [](QJsonObject& c) {
         setAnimation(c, "wave", QJsonObject{{"frames", QJsonArray{}}});
       },
       "animation \"wave\" needs a non-empty \"frames\" array"},
      {"step without time",
       [](QJsonObject& c) {
         setAnimation(c, "wave",
                      QJsonObject{{"frames", QJsonArray{QJsonObject{{"frame", "half"}}}}});
       },
       "animation \"wave\" step 1 must be"},
      {"negative time", [](QJsonObject& c) { setAnimation(c, "blink", oneStep("half", -5)); },
       "animation \"blink\" step 1 lasts -5 ms"},
      {"return to nowhere",
       [](QJsonObject& c) {
         QJsonObject wave = oneStep("half", 50);
         wave["return"] = "lower-arm";
         setAnimation(c, "wave", wave);
       },
       "animation \"wave\" returns through unknown animation \"lower-arm\""},
  };
  for (const BadFile& bad : cases) {
    QJsonObject character = tinyCharacter();
    bad.spoil(character);
    const CharacterFileResult result = parseCharacterFile(toBytes(character), "bad.vr");
    EXPECT_FALSE(result.character) << bad.what;
    EXPECT_NE(result.error.find(bad.message), std::string::npos)
        << bad.what << ": " << result.error;
    EXPECT_EQ(result.error.rfind("bad.vr: ", 0), 0u) << bad.what << ": " << result.error;
  }
}

TEST(CharacterFile, ReportsTheLineOfAJsonError) {
  const QByteArray text = "{\n  \"format\": \"vembrel-character\",\n  \"version\": 1,,\n}\n";
  const CharacterFileResult result = parseCharacterFile(text, "broken.vr");
  EXPECT_FALSE(result.character);
  EXPECT_NE(result.error.find("broken.vr: bad JSON at line 3"), std::string::npos) << result.error;
  // Read from a file, whose bytes are let go once parsed.
  QTemporaryDir directory;
  QFile file(directory.filePath("broken.vr"));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(text);
  file.close();
  const std::string error = readCharacterFile(file.fileName()).error;
  EXPECT_NE(error.find("broken.vr: bad JSON at line 3"), std::string::npos) << error;
  EXPECT_FALSE(parseCharacterFile("[1, 2]", "list.vr").character);
  EXPECT_FALSE(parseCharacterFile("", "empty.vr").character);
}

TEST(CharacterFile, RejectsPathsThatAreNotASmallRegularFile) {
  QTemporaryDir directory;
  const QString missing = directory.filePath("absent.vr");
  EXPECT_NE(readCharacterFile(missing).error.find("absent.vr: no such file"), std::string::npos);
  EXPECT_NE(readCharacterFile(directory.path()).error.find("not a regular file"),
            std::string::npos);

  QFile huge(directory.filePath("huge.vr"));
  ASSERT_TRUE(huge.open(QIODevice::WriteOnly));
  ASSERT_TRUE(huge.resize(kMaxCharacterFileBytes + 1));  // sparse: costs no disk
  huge.close();
  EXPECT_NE(readCharacterFile(huge.fileName()).error.find("larger than 32 MB"), std::string::npos);

  const QString good = testing::writeTemporary(toBytes(tinyCharacter()));
  EXPECT_TRUE(readCharacterFile(good).character) << readCharacterFile(good).error;
}

// Only the bytes the build checked are spared the frames' check; any other bytes at the same
// path are checked as ever.
TEST(CharacterFile, OnlyTheBytesTheBuildCheckedAreNotCheckedAgain) {
  QTemporaryDir directory;
  const QString path = directory.filePath("character.vr");
  const auto readAhead = [&](const QByteArray& bytes, const QByteArray& checked) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
    file.close();
    trustCheckedCharacter(characterDigest(checked.toStdString()));
    CharacterFileResult result = readCharacterFile(path);
    trustCheckedCharacter({});
    return result;
  };
  const QByteArray good = toBytes(tinyCharacter());
  QJsonObject spoiled = tinyCharacter();
  QJsonObject frames = spoiled["frames"].toObject();
  frames["square"] = "<svg><rect";
  spoiled["frames"] = frames;
  const QByteArray bad = toBytes(spoiled);

  EXPECT_NE(characterDigest(good.toStdString()), characterDigest(bad.toStdString()));
  EXPECT_EQ(characterDigest(good.toStdString()).size(), 64u);
  const CharacterFileResult read = readAhead(good, good);
  ASSERT_TRUE(read.character) << read.error;
  EXPECT_EQ(read.character->frames.size(), 2u);
  EXPECT_NE(readAhead(bad, good).error.find("frame \"square\" is not a valid SVG"),
            std::string::npos);

  // Bytes the build did not check cannot pass for checked ones; were the digest given wrong,
  // the frame that cannot be drawn shows the rest pose, not nothing.
  const CharacterFileResult trusted = readAhead(bad, bad);
  ASSERT_TRUE(trusted.character) << trusted.error;
  FrameCache cache(std::make_shared<const CharacterDefinition>(*trusted.character));
  cache.setSize(QSize(20, 20));
  const QImage rest = cache.frame("half")->image;
  EXPECT_EQ(cache.frame("square")->image, rest);
}

}  // namespace
}  // namespace vembrel
