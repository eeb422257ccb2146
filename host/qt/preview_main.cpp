// Renders a character file for people to look at: one contact sheet per animation and a
// scene with a long thought balloon, as PNG files.
//
//   vembrel-preview [character file] [output directory]
//   vembrel-preview --frame <character file> <animation> <width>x<height> <ratio> <out.png>
//
// Defaults: dh.vr beside the executable, and preview/ beside the executable's directory. The
// second form draws one animation's first frame as the character window does (transparent
// around it), for comparing with screenshots.

#include <QApplication>
#include <QDir>
#include <QPainter>
#include <cstdio>

#include "host/qt/balloon_window.hpp"
#include "host/qt/character_file.hpp"
#include "host/qt/frame_cache.hpp"
#include "host/qt/svg_render.hpp"
#include "host/qt/thought_pager.hpp"
#include "lookup/character_place.hpp"

namespace {

using namespace vembrel;

constexpr int kColumns = 8;
constexpr int kLabelHeight = 18;
const QColor kPaper(0xf3, 0xf1, 0xec);

QImage contactSheet(const CharacterDefinition& character, const Animation& animation) {
  const QSize cell = character.natural_size;
  const int count = int(animation.steps.size());
  const int columns = std::min(count, kColumns);
  const int rows = (count + kColumns - 1) / kColumns;
  QImage sheet(columns * cell.width(), rows * (cell.height() + kLabelHeight),
               QImage::Format_ARGB32_Premultiplied);
  sheet.fill(kPaper);
  QPainter painter(&sheet);
  QFont font = painter.font();
  font.setPixelSize(11);
  painter.setFont(font);
  for (int i = 0; i < count; ++i) {
    const QPoint origin((i % kColumns) * cell.width(),
                        (i / kColumns) * (cell.height() + kLabelHeight));
    const AnimationStep& step = animation.steps[size_t(i)];
    painter.drawImage(origin, renderSvg(character.frames.at(step.frame), cell, 1.0));
    painter.setPen(QColor(0x55, 0x55, 0x55));
    painter.drawText(QRect(origin + QPoint(0, cell.height()), QSize(cell.width(), kLabelHeight)),
                     Qt::AlignCenter,
                     QStringLiteral("%1 · %2 ms").arg(i + 1).arg(step.duration_msec));
  }
  return sheet;
}

// The top right of a 1280 x 800 screen: the character where the program puts it and a long
// thought beside it.
QImage balloonScene(const CharacterDefinition& character, const QString& text) {
  const QRect screen(0, 0, 1280, 800);
  const QRect where(character_x(screen.width() * kTwipsPerPixel), 0, kCharacterWidth,
                    kCharacterHeight);
  const ThoughtPages thought = layOutThought(text);
  const BalloonGeometry geometry = placeBalloon(thought.text_size, where, screen);
  const QRect crop(screen.width() - 480, 0, 480, 320);
  QImage scene(crop.size() * 2, QImage::Format_ARGB32_Premultiplied);
  scene.setDevicePixelRatio(2);
  scene.fill(QColor(0x3d, 0x6b, 0x8c));
  QPainter painter(&scene);
  painter.translate(-crop.topLeft());
  painter.drawImage(where.topLeft(),
                    renderSvg(character.frames.at(character.restFrame()), where.size(), 2));
  painter.drawImage(geometry.window.topLeft(),
                    BalloonWindow::render(thought.pages.front(), geometry, 2));
  return scene;
}

const char kLongThought[] =
    "第 1条： 【 学 】 xué ① 学 习 ； 模 仿 。 如 ： 学 画 、 学 唱 歌 。 ② 学 问 ， 知 识 。 "
    "如 ： 博 学 多 才 。 ③ 学 科 。 如 ： 数 学 、 文 学 、 哲 学 。 ④ 学 校 。 如 ： 中 学 、 "
    "大 学 、 上 学 。 ⑤ 说 ； 讲 述 。 如 ： 他 把 经 过 学 了 一 遍 。 学 而 时 习 之 ， "
    "不 亦 说 乎 ？ 温 故 而 知 新 ， 可 以 为 师 矣 。 ";

int writeFrame(char** argv) {
  const CharacterFileResult result = readCharacterFile(QString::fromLocal8Bit(argv[2]));
  if (!result.character) {
    std::fprintf(stderr, "%s\n", result.error.c_str());
    return 1;
  }
  const Animation* animation = result.character->animation(QString::fromLocal8Bit(argv[3]));
  const QStringList size = QString::fromLocal8Bit(argv[4]).split('x');
  const qreal ratio = QString::fromLocal8Bit(argv[5]).toDouble();
  if (!animation || size.size() != 2 || ratio <= 0) {
    std::fprintf(stderr, "usage: vembrel-preview --frame FILE ANIMATION WxH RATIO OUT.png\n");
    return 2;
  }
  const SvgDocument& frame = result.character->frames.at(animation->steps.front().frame);
  QImage image = renderSvg(frame, QSize(size[0].toInt(), size[1].toInt()), ratio);
  image.setDevicePixelRatio(1);  // the file holds device pixels, like a screenshot
  if (image.save(QString::fromLocal8Bit(argv[6]))) return 0;
  std::fprintf(stderr, "cannot write %s\n", argv[6]);
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  if (argc == 7 && QByteArray(argv[1]) == "--frame") return writeFrame(argv);
  const QString file =
      argc > 1 ? QString::fromLocal8Bit(argv[1]) : app.applicationDirPath() + "/dh.vr";
  const QString out_dir =
      argc > 2 ? QString::fromLocal8Bit(argv[2]) : app.applicationDirPath() + "/../preview";
  const CharacterFileResult result = readCharacterFile(file);
  if (!result.character) {
    std::fprintf(stderr, "%s\n", result.error.c_str());
    return 1;
  }
  QDir().mkpath(out_dir);
  const CharacterDefinition& character = *result.character;
  int written = 0;
  const auto save = [&](const QImage& image, const QString& name) {
    const QString path = QDir(out_dir).filePath(name);
    if (!image.save(path)) {
      std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
      return false;
    }
    ++written;
    return true;
  };
  for (const auto& [name, animation] : character.animations)
    if (!save(contactSheet(character, animation), name + ".png")) return 1;
  if (!save(balloonScene(character, QString::fromUtf8(kLongThought)), "balloon.png")) return 1;
  std::printf("%d images in %s\n", written, qPrintable(QDir(out_dir).absolutePath()));
  return 0;
}
