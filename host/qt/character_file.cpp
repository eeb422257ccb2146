#include "host/qt/character_file.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSvgRenderer>
#include <QThread>
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <exception>
#include <latch>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

#include "host/qt/character_digest.hpp"
#include "host/qt/frame_cache.hpp"
#include "host/qt/split_work.hpp"
#include "host/qt/svg_outline.hpp"
#include "lookup/data_file.hpp"

namespace vembrel {

const Animation* CharacterDefinition::animation(const QString& name) const {
  const auto found = animations.find(name);
  return found == animations.end() ? nullptr : &found->second;
}

namespace {

constexpr char kFormatName[] = "vembrel-character";
constexpr int kFormatVersion = 1;

// Collects the first problem; every check below returns early once one is found.
class Checker {
 public:
  explicit Checker(QString where) : where_(std::move(where)) {}
  bool fail(const QString& message) {
    if (error_.empty()) error_ = (where_ + QStringLiteral(": ") + message).toStdString();
    return false;
  }
  const std::string& error() const { return error_; }

 private:
  QString where_;
  std::string error_;
};

QString quoted(const QString& text) {
  return QLatin1Char('"') + text + QLatin1Char('"');
}

int lineOfOffset(const QByteArray& bytes, int offset) {
  return int(bytes.left(offset).count('\n')) + 1;
}

bool readSize(const QJsonObject& root, Checker& check, QSize& size) {
  const QJsonValue width = root.value(QStringLiteral("width"));
  const QJsonValue height = root.value(QStringLiteral("height"));
  if (!width.isDouble() || !height.isDouble())
    return check.fail(QStringLiteral("\"width\" and \"height\" must be numbers"));
  const double w = width.toDouble(), h = height.toDouble();
  if (w < 1 || h < 1 || w > kMaxCanvasPixels || h > kMaxCanvasPixels)
    return check.fail(QStringLiteral("size %1 x %2 is outside 1 to %3 pixels")
                          .arg(w)
                          .arg(h)
                          .arg(kMaxCanvasPixels));
  size = QSize(int(w), int(h));
  return true;
}

// What is wrong with the size of an SVG document Qt can read, or nothing.
QString sizeProblem(const QByteArray& svg) {
  QSvgRenderer renderer(svg);
  if (!renderer.isValid()) return QStringLiteral(" is not a valid SVG");
  const QSize size = renderer.defaultSize();
  if (size.width() > kMaxCanvasPixels || size.height() > kMaxCanvasPixels)
    return QStringLiteral(" is larger than %1 pixels").arg(kMaxCanvasPixels);
  // A frame of no size draws nothing: the character would be invisible and unclickable.
  if (size.isEmpty() || renderer.viewBoxF().isEmpty()) return QStringLiteral(" has no size");
  return {};
}

// What is wrong with one frame, or nothing. With a viewBox the root element alone tells the
// size, and frames of one character mostly share their root, so each distinct root is read
// once; only a frame without a viewBox, whose size depends on what it draws, is read whole.
QString frameProblem(const SvgOutline& outline, const SvgDocument& svg,
                     std::map<QByteArray, QString>& problem_of_root) {
  if (!outline.well_formed) return QStringLiteral(" is not a valid SVG");
  if (!outline.has_view_box) return sizeProblem(svg.text());
  const auto known = problem_of_root.find(outline.root);
  if (known != problem_of_root.end()) return known->second;
  return problem_of_root.emplace(outline.root, sizeProblem(outline.root)).first->second;
}

// The frames' SVG documents in the order they are checked, with what their XML says: listed
// and read as XML before the GUI exists when the file is read ahead.
struct FrameList {
  bool listed = false;  // "frames" is an object of strings
  std::vector<std::pair<QString, SvgDocument>> svgs;
  std::vector<SvgOutline> outlines;  // outlines[i] tells of svgs[i]
  bool outlined = false;             // every outline is read
  bool known_sound = false;          // the build checked these very bytes (see characterDigest)
};

FrameList listFrames(const QJsonObject& root) {
  FrameList list;
  const QJsonValue frames = root.value(QStringLiteral("frames"));
  const QJsonObject object = frames.toObject();
  for (auto it = object.begin(); it != object.end(); ++it) {
    if (!it.value().isString()) return {};
    list.svgs.emplace_back(it.key(), SvgDocument(it.value()));
  }
  list.listed = !list.svgs.empty();
  list.outlines.resize(list.svgs.size());
  return list;
}

void outlineFrame(FrameList& list, std::size_t i) {
  list.outlines[i] = outlineSvg(list.svgs[i].second.text());
}

// Reads frames' XML until none is left to take: any number of threads may share a list, each
// frame is read once.
void outlineShared(FrameList& list, std::atomic<std::size_t>& next) {
  if (list.known_sound) return;
  for (std::size_t i; (i = next.fetch_add(1)) < list.svgs.size();) outlineFrame(list, i);
}

bool readFrames(const QJsonObject& root, Checker& check, FrameList& list,
                CharacterDefinition& out) {
  const QJsonValue frames = root.value(QStringLiteral("frames"));
  if (!frames.isObject() || frames.toObject().isEmpty())
    return check.fail(QStringLiteral("\"frames\" must be an object with at least one frame"));
  const QJsonObject object = frames.toObject();
  for (auto it = object.begin(); it != object.end(); ++it)
    if (!it.value().isString())
      return check.fail(QStringLiteral("frame ") + quoted(it.key()) +
                        QStringLiteral(" is not a string"));
  std::vector<std::pair<QString, SvgDocument>>& svgs = list.svgs;
  // Reading every frame's XML is most of the loading time: unless it was done while Qt
  // started, both cores share it. Drawing the frames waits until each is first shown. The
  // first problem in file order is reported.
  if (!list.outlined && !list.known_sound)
    forEachOnTwoThreads(svgs.size(), [&](std::size_t i) { outlineFrame(list, i); });
  std::map<QByteArray, QString> problem_of_root;
  for (std::size_t i = 0; i < svgs.size(); ++i) {
    const QString problem = list.known_sound
                                ? QString()
                                : frameProblem(list.outlines[i], svgs[i].second, problem_of_root);
    if (!problem.isEmpty())
      return check.fail(QStringLiteral("frame ") + quoted(svgs[i].first) + problem);
    out.frames.emplace(std::move(svgs[i].first), std::move(svgs[i].second));
  }
  return true;
}

bool readAnimation(const QString& name, const QJsonValue& value, Checker& check,
                   CharacterDefinition& out) {
  const QString where = QStringLiteral("animation ") + quoted(name);
  if (!value.isObject()) return check.fail(where + QStringLiteral(" is not an object"));
  const QJsonObject object = value.toObject();
  const QJsonValue steps = object.value(QStringLiteral("frames"));
  if (!steps.isArray() || steps.toArray().isEmpty())
    return check.fail(where + QStringLiteral(" needs a non-empty \"frames\" array"));
  Animation animation;
  int index = 0;
  for (const QJsonValue& step : steps.toArray()) {
    ++index;
    const QString at = where + QStringLiteral(" step %1").arg(index);
    const QJsonObject stepObject = step.toObject();
    const QJsonValue frame = stepObject.value(QStringLiteral("frame"));
    const QJsonValue ms = stepObject.value(QStringLiteral("ms"));
    if (!step.isObject() || !frame.isString() || !ms.isDouble())
      return check.fail(at + QStringLiteral(" must be {\"frame\": id, \"ms\": number}"));
    if (!out.frames.contains(frame.toString()))
      return check.fail(at + QStringLiteral(" names unknown frame ") + quoted(frame.toString()));
    if (ms.toDouble() < 1 || ms.toDouble() > kMaxStepMs)
      return check.fail(
          at + QStringLiteral(" lasts %1 ms, outside 1 to %2").arg(ms.toDouble()).arg(kMaxStepMs));
    animation.steps.push_back({frame.toString(), int(ms.toDouble())});
  }
  const QJsonValue after = object.value(QStringLiteral("return"));
  if (!after.isUndefined() && !after.isString())
    return check.fail(where + QStringLiteral(": \"return\" must be an animation name"));
  animation.return_animation = after.toString();
  out.animations.emplace(name, std::move(animation));
  return true;
}

bool readAnimations(const QJsonObject& root, Checker& check, CharacterDefinition& out) {
  const QJsonValue animations = root.value(QStringLiteral("animations"));
  if (!animations.isObject()) return check.fail(QStringLiteral("\"animations\" must be an object"));
  const QJsonObject object = animations.toObject();
  for (auto it = object.begin(); it != object.end(); ++it)
    if (!readAnimation(it.key(), it.value(), check, out)) return false;
  for (int i = 0; i < kRequiredAnimationCount; ++i)
    if (!out.animations.contains(QString::fromLatin1(kRequiredAnimations[i])))
      return check.fail(QStringLiteral("missing animation ") +
                        quoted(QString::fromLatin1(kRequiredAnimations[i])));
  for (const auto& [name, animation] : out.animations) {
    const QString& next = animation.return_animation;
    if (!next.isEmpty() && !out.animations.contains(next))
      return check.fail(QStringLiteral("animation ") + quoted(name) +
                        QStringLiteral(" returns through unknown animation ") + quoted(next));
  }
  return true;
}

// The rest pose is what a user double-clicks to reach the menu: one that draws nothing would
// leave an invisible character that can never be clicked.
bool checkRestIsVisible(CharacterDefinition& character, Checker& check) {
  const QString& id = character.animation(QStringLiteral("rest"))->steps.front().frame;
  // Drawn as the host draws it (aspect ratio kept, antialiased): a stretched drawing can show
  // pixels that the host's never does.
  QImage& image = character.drawn_ahead[id];
  if (image.size() != character.natural_size || image.devicePixelRatio() != 1.0)
    image = FrameCache::render(character.frames.at(id), character.natural_size, 1.0);
  for (int y = 0; y < image.height(); ++y) {
    const QRgb* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < image.width(); ++x)
      if (qAlpha(row[x]) >= 128) return true;
  }
  return check.fail(QStringLiteral("the rest pose (frame ") + quoted(id) +
                    QStringLiteral(") draws nothing opaque"));
}

}  // namespace

namespace {

// A character file's bytes and their JSON: what can be read before the GUI exists.
struct LoadedFile {
  QByteArray bytes;
  QJsonDocument document;
  QJsonParseError parse_error{};
  QString failure;  // why the file could not be read; empty when it was
  FrameList frames;
  std::map<QString, QImage> drawn_ahead;  // see CharacterDefinition
};

LoadedFile parseJson(QByteArray bytes) {
  LoadedFile loaded;
  loaded.document = QJsonDocument::fromJson(bytes, &loaded.parse_error);
  loaded.bytes = std::move(bytes);
  loaded.frames = listFrames(loaded.document.object());
  return loaded;
}

LoadedFile loadFile(const QString& path, const std::string& checked_digest = {}) {
  const QFileInfo info(path);
  const auto failure = [](const QString& message) {
    LoadedFile loaded;
    loaded.failure = message;
    return loaded;
  };
  if (!info.exists()) return failure(QStringLiteral("no such file"));
  if (!info.isFile()) return failure(QStringLiteral("not a regular file"));
  if (info.size() > kMaxCharacterFileBytes)
    return failure(QStringLiteral("larger than %1 MB").arg(kMaxCharacterFileBytes >> 20));
  // Plain system calls: this may run before Qt knows its main thread, and a QFile, being a
  // QObject, would make this thread Qt's main one.
  const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return failure(QString::fromLocal8Bit(std::strerror(errno)));
  const QString changed = QStringLiteral("changed while it was read");
  struct stat status {};
  if (::fstat(fd, &status) != 0 || status.st_size != info.size()) {
    ::close(fd);
    return failure(changed);
  }
  // Mapped rather than copied: the file's pages are already in the kernel's cache, while a
  // copy would fault in 150 fresh pages of memory (2 ms of the start-up here). A file cut
  // short meanwhile reads as zeros instead of crashing the program.
  const DataFile file = map_data_file(fd, std::size_t(status.st_size));
  ::close(fd);
  if (!file.ok()) return failure(QString::fromStdU16String(file.error));
  const std::string_view bytes = file.bytes();
  LoadedFile loaded = parseJson(QByteArray::fromRawData(bytes.data(), qsizetype(bytes.size())));
  loaded.frames.known_sound = !checked_digest.empty() && characterDigest(bytes) == checked_digest;
  if (file.changed_while_read()) return failure(changed);
  // The mapping goes with `file`: only a bad file keeps its text, to point at the error.
  loaded.bytes = loaded.parse_error.error == QJsonParseError::NoError
                     ? QByteArray()
                     : QByteArray(bytes.data(), qsizetype(bytes.size()));
  return loaded;
}

// Everything after the JSON, on the GUI thread.
CharacterFileResult checkCharacter(LoadedFile& loaded, const QString& where) {
  Checker check(where);
  if (!loaded.failure.isEmpty()) {
    check.fail(loaded.failure);
    return {std::nullopt, check.error()};
  }
  const QJsonParseError& parse_error = loaded.parse_error;
  if (parse_error.error != QJsonParseError::NoError) {
    check.fail(QStringLiteral("bad JSON at line %1: %2")
                   .arg(lineOfOffset(loaded.bytes, parse_error.offset))
                   .arg(parse_error.errorString()));
    return {std::nullopt, check.error()};
  }
  if (!loaded.document.isObject()) {
    check.fail(QStringLiteral("the top level must be a JSON object"));
    return {std::nullopt, check.error()};
  }
  const QJsonObject root = loaded.document.object();
  CharacterDefinition character;
  character.drawn_ahead = std::move(loaded.drawn_ahead);
  const bool ok = [&] {
    if (root.value(QStringLiteral("format")).toString() != QLatin1String(kFormatName))
      return check.fail(QStringLiteral("\"format\" is not \"%1\"").arg(kFormatName));
    const QJsonValue version = root.value(QStringLiteral("version"));
    if (!version.isDouble() || version.toDouble() != kFormatVersion)
      return check.fail(QStringLiteral("unsupported version %1 (this program reads version %2)")
                            .arg(version.toVariant().toString())
                            .arg(kFormatVersion));
    const QJsonValue name = root.value(QStringLiteral("name"));
    if (!name.isString() || name.toString().trimmed().isEmpty())
      return check.fail(QStringLiteral("\"name\" must be a non-empty string"));
    character.name = name.toString();
    return readSize(root, check, character.natural_size) &&
           readFrames(root, check, loaded.frames, character) &&
           readAnimations(root, check, character) &&
           (loaded.frames.known_sound || checkRestIsVisible(character, check));
  }();
  if (!ok) return {std::nullopt, check.error()};
  return {std::move(character), {}};
}

// Sizes and the rest pose are read by Qt's SVG renderer and painter, which need the GUI
// application (fonts, the paint engine): without it they fail in ways that look like a bad
// file, or crash.
void requireGuiApplication() {
  if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr)
    qFatal("vembrel: a character file is read only once a QGuiApplication exists");
}

// The frames a character shows first, as the file names them: what the thread reading ahead
// draws once the GUI exists. The rest pose is among them to be checked, unless the build
// checked these bytes. Empty when the file does not say.
struct FirstFrames {
  QSize size;
  std::vector<std::size_t> frames;  // indexes into FrameList::svgs
};

FirstFrames firstFrames(const LoadedFile& loaded) {
  const QJsonObject root = loaded.document.object();
  const double w = root.value(QStringLiteral("width")).toDouble();
  const double h = root.value(QStringLiteral("height")).toDouble();
  if (!(w >= 1 && h >= 1 && w <= kMaxCanvasPixels && h <= kMaxCanvasPixels)) return {};
  FirstFrames first;
  first.size = QSize(int(w), int(h));
  const QJsonObject animations = root.value(QStringLiteral("animations")).toObject();
  for (const char* name : {animations::kRest, animations::kShow}) {
    if (loaded.frames.known_sound && name == animations::kRest) continue;
    const QString id = animations.value(QLatin1String(name))
                           .toObject()
                           .value(QStringLiteral("frames"))
                           .toArray()
                           .at(0)
                           .toObject()
                           .value(QStringLiteral("frame"))
                           .toString();
    const auto& svgs = loaded.frames.svgs;
    for (std::size_t i = 0; i < svgs.size(); ++i)
      if (svgs[i].first == id &&
          std::find(first.frames.begin(), first.frames.end(), i) == first.frames.end())
        first.frames.push_back(i);
  }
  return first;
}

// A file being read ahead, and what came of it.
struct Prefetch {
  ~Prefetch() { allowDrawing(false); }  // before the thread is joined

  // Lets the thread go on to drawing, or to its end.
  void allowDrawing(bool allowed) {
    std::call_once(gui_known, [&] {
      may_draw = allowed;
      gui.count_down();
    });
  }

  QString path;
  std::string checked_digest;  // see prefetchCharacterFile
  LoadedFile loaded;
  std::exception_ptr error;                  // reading the file failed
  std::exception_ptr outline_error;          // reading the frames' XML failed
  std::latch listed{1};                      // `loaded` is set, its frames listed
  std::atomic<std::size_t> next_frame{0};    // the next frame whose XML nobody reads yet
  FirstFrames first;                         // read from `loaded` before it is shared
  std::vector<QImage> drawn;                 // drawn[i] is first.frames[i]'s, once drawn
  std::atomic<std::size_t> next_drawing{0};  // the next of them nobody draws yet
  std::once_flag gui_known;
  std::latch gui{1};  // whether drawing is allowed is known
  bool may_draw = false;
  std::jthread thread;  // joins however the prefetch ends
};
std::mutex g_prefetch_lock;
std::unique_ptr<Prefetch> g_prefetch;

// Draws the first frames as the host draws them, until none is left to take: both threads
// share them. The read-ahead thread leaves a frame with text to the GUI thread, which alone
// draws text here.
void drawFirstFrames(Prefetch& p, bool gui_thread) {
  for (std::size_t i; (i = p.next_drawing.fetch_add(1)) < p.first.frames.size();) {
    const QByteArray svg = p.loaded.frames.svgs[p.first.frames[i]].second.text();
    if (!gui_thread && (svg.contains("<text") || svg.contains("<tspan") || svg.contains("<font")))
      continue;
    p.drawn[i] = FrameCache::render(svg, p.first.size, 1.0);
  }
}

std::optional<LoadedFile> takePrefetched(const QString& path) {
  std::unique_ptr<Prefetch> prefetch;
  {
    const std::lock_guard<std::mutex> lock(g_prefetch_lock);
    if (!g_prefetch || g_prefetch->path != path) return std::nullopt;
    prefetch = std::move(g_prefetch);
  }
  prefetch->allowDrawing(false);  // unless it was allowed already
  // Whatever XML is still unread, this thread reads too.
  prefetch->listed.wait();
  if (!prefetch->error) {
    outlineShared(prefetch->loaded.frames, prefetch->next_frame);
    drawFirstFrames(*prefetch, true);
  }
  prefetch->thread.join();
  if (prefetch->error) std::rethrow_exception(prefetch->error);
  if (prefetch->outline_error) std::rethrow_exception(prefetch->outline_error);
  prefetch->loaded.frames.outlined = prefetch->loaded.frames.listed;
  for (std::size_t i = 0; i < prefetch->drawn.size(); ++i)
    if (!prefetch->drawn[i].isNull())
      prefetch->loaded.drawn_ahead.emplace(
          prefetch->loaded.frames.svgs[prefetch->first.frames[i]].first,
          std::move(prefetch->drawn[i]));
  return std::move(prefetch->loaded);
}

}  // namespace

void prefetchCharacterFile(const QString& path, const std::string& checked_digest) {
  // Qt takes the first thread that asks for its thread data as the main one: make sure it is
  // this one, whatever the other thread does first.
  QThread::currentThread();
  auto prefetch = std::make_unique<Prefetch>();
  prefetch->path = path;
  prefetch->checked_digest = checked_digest;
  Prefetch* const p = prefetch.get();
  try {
    p->thread = std::jthread([p] {
      // The file, its JSON and its frames' XML are read while Qt starts on the main thread,
      // which joins in on the frames once it needs them; then, once the GUI exists, the
      // first frames are drawn.
      try {
        p->loaded = loadFile(p->path, p->checked_digest);
        p->first = firstFrames(p->loaded);
        p->drawn.resize(p->first.frames.size());
      } catch (...) {
        p->error = std::current_exception();
      }
      const bool loaded = !p->error;
      p->listed.count_down();
      if (!loaded) return;
      try {
        outlineShared(p->loaded.frames, p->next_frame);
      } catch (...) {
        p->outline_error = std::current_exception();
        return;
      }
      p->gui.wait();
      if (!p->may_draw) return;
      try {
        drawFirstFrames(*p, false);
      } catch (...) {
        // a frame not drawn here is drawn when it is needed
      }
    });
  } catch (const std::system_error&) {
    return;  // no thread to be had: the file is read when it is needed
  }
  const std::lock_guard<std::mutex> lock(g_prefetch_lock);
  g_prefetch = std::move(prefetch);
}

void prefetchDrawings() {
  requireGuiApplication();
  const std::lock_guard<std::mutex> lock(g_prefetch_lock);
  if (g_prefetch) g_prefetch->allowDrawing(true);
}

CharacterFileResult parseCharacterFile(const QByteArray& bytes, const QString& where) {
  requireGuiApplication();
  LoadedFile loaded = parseJson(bytes);
  return checkCharacter(loaded, where);
}

CharacterFileResult readCharacterFile(const QString& path) {
  requireGuiApplication();
  std::optional<LoadedFile> loaded = takePrefetched(path);
  if (!loaded) loaded = loadFile(path);
  return checkCharacter(*loaded, path);
}

}  // namespace vembrel
