// The character file reader on arbitrary bytes: it either returns a character that keeps every
// promise the host relies on, or fails with a message naming the file.

#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "host/qt/character_file.hpp"
#include "host/qt/frame_cache.hpp"
#include "host/qt/mask_builder.hpp"
#include "host/qt/svg_render.hpp"
#include "tests/fuzz/fuzz_check.hpp"

namespace {

using namespace vembrel;

// The SVG parser warns about every broken document; the fuzzer's output should show findings.
void quiet(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtFatalMsg) {
    std::fprintf(stderr, "Qt fatal: %s\n", qPrintable(message));
    std::abort();
  }
}

QString g_file;  // where an input is written to be read back as a file

void check_character(const CharacterDefinition& character) {
  FUZZ_CHECK(!character.name.trimmed().isEmpty());
  const QSize size = character.natural_size;
  FUZZ_CHECK(size.width() >= 1 && size.width() <= kMaxCanvasPixels);
  FUZZ_CHECK(size.height() >= 1 && size.height() <= kMaxCanvasPixels);
  FUZZ_CHECK(!character.frames.empty());
  for (int i = 0; i < kRequiredAnimationCount; ++i)
    FUZZ_CHECK(character.animation(QString::fromLatin1(kRequiredAnimations[i])) != nullptr);
  for (const auto& [name, animation] : character.animations) {
    FUZZ_CHECK(!animation.steps.empty());
    for (const AnimationStep& step : animation.steps) {
      FUZZ_CHECK(character.frames.contains(step.frame));
      FUZZ_CHECK(step.duration_msec >= 1 && step.duration_msec <= kMaxStepMs);
    }
    FUZZ_CHECK(animation.return_animation.isEmpty() ||
               character.animation(animation.return_animation) != nullptr);
  }
  // The rest pose is never invisible: the user double-clicks it to reach the menu.
  const QString& rest = character.restFrame();
  const QImage rest_image = renderSvg(character.frames.at(rest), size, 1.0);
  FUZZ_CHECK(!maskFromAlpha(rest_image, kMaskThresholdWithoutCompositor).isEmpty());
  // The host can draw every frame it was promised, at the size the program shows it, and
  // shape its window from it.
  const QSize shown(130, 160);
  for (const auto& [id, svg] : character.frames) {
    const QImage image = renderSvg(svg, shown, 1.0);
    FUZZ_CHECK(image.size() == shown);
    const QRegion mask = maskFromAlpha(image, kMaskThresholdWithoutCompositor);
    FUZZ_CHECK(mask.isEmpty() || QRect(QPoint(0, 0), shown).contains(mask.boundingRect()));
  }
}

}  // namespace

// Fontconfig, which Qt asks when a frame has text, keeps its font list to the end.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\n";
}

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  // QSvgRenderer needs a QGuiApplication (fonts for <text>); no display is needed.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  qInstallMessageHandler(quiet);
  // Qt takes arguments out of argv; libFuzzer's own stay untouched.
  static int qt_argc = 1;
  static char* qt_argv[] = {(*argv)[0], nullptr};
  (void)argc;
  new QGuiApplication(qt_argc, qt_argv);
  static QTemporaryDir directory;
  g_file = directory.filePath(QStringLiteral("fuzz.vr"));
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  const QByteArray data(reinterpret_cast<const char*>(bytes), qsizetype(size));
  const CharacterFileResult parsed = parseCharacterFile(data, g_file);
  if (parsed.character) {
    FUZZ_CHECK(parsed.error.empty());
    check_character(*parsed.character);
  } else {
    const std::string where = g_file.toStdString() + ": ";
    FUZZ_CHECK(parsed.error.size() > where.size() && parsed.error.starts_with(where));
  }

  // Reading the same bytes from a file gives the same answer.
  QFile file(g_file);
  FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
  FUZZ_CHECK(file.write(data) == data.size());
  file.close();
  const CharacterFileResult read = readCharacterFile(g_file);
  FUZZ_CHECK(read.character.has_value() == parsed.character.has_value());
  FUZZ_CHECK(read.error == parsed.error);
  if (read.character) {
    FUZZ_CHECK(read.character->name == parsed.character->name);
    FUZZ_CHECK(read.character->frames == parsed.character->frames);
  }
  return 0;
}
