#include "host/qt/character_file.hpp"

#include <fcntl.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <string_view>

#include "host/qt/character_digest.hpp"
#include "lookup/data_file.hpp"

namespace vembrel {

namespace {

std::string g_checked_digest;  // see trustCheckedCharacter

CharacterFileResult failure(const QString& path, const QString& message) {
  return {std::nullopt, (path + QStringLiteral(": ") + message).toStdString()};
}

}  // namespace

void trustCheckedCharacter(std::string digest) {
  g_checked_digest = std::move(digest);
}

CharacterFileResult readCharacterFile(const QString& path) {
  const QFileInfo info(path);
  if (!info.exists()) return failure(path, QStringLiteral("no such file"));
  if (!info.isFile()) return failure(path, QStringLiteral("not a regular file"));
  if (info.size() > kMaxCharacterFileBytes)
    return failure(path, QStringLiteral("larger than %1 MB").arg(kMaxCharacterFileBytes >> 20));
  // O_NONBLOCK: should a FIFO take the file's place meanwhile, opening it does not hang.
  const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return failure(path, QString::fromLocal8Bit(std::strerror(errno)));
  const QString changed = QStringLiteral("changed while it was read");
  bool stamped = false;
  const FileStamp opened = stamp_of(fd, &stamped);
  if (!stamped || qint64(opened.size) > kMaxCharacterFileBytes) {
    ::close(fd);
    return failure(path, changed);
  }
  const DataFile file = read_opened_file(fd, opened);
  ::close(fd);
  if (!file.ok()) return failure(path, QString::fromStdU16String(file.error));
  if (file.changed_while_read()) return failure(path, changed);
  const std::string_view bytes = file.bytes();
  const FrameChecks checks = !g_checked_digest.empty() && characterDigest(bytes) == g_checked_digest
                                 ? FrameChecks::kCheckedByBuild
                                 : FrameChecks::kFull;
  return parseCharacterFile(QByteArray::fromRawData(bytes.data(), qsizetype(bytes.size())), path,
                            checks);
}

}  // namespace vembrel
