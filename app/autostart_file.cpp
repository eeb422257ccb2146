#include "app/autostart_file.hpp"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStringList>

namespace vembrel {

namespace {

// The keys of the [Desktop Entry] group; empty when the file has no such group.
struct DesktopEntry {
  bool found = false;
  QString exec;
  QString hidden;
  QString gnome_enabled;
};

DesktopEntry read_entry(const QString& path) {
  DesktopEntry entry;
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return entry;
  bool inside = false;
  while (!file.atEnd()) {
    const QString line = QString::fromUtf8(file.readLine()).trimmed();
    if (line.startsWith(u'[')) {
      inside = line == QLatin1String("[Desktop Entry]");
      entry.found = entry.found || inside;
      continue;
    }
    const qsizetype equals = line.indexOf(u'=');
    if (!inside || equals < 0) continue;
    const QString key = line.left(equals).trimmed();
    const QString value = line.mid(equals + 1).trimmed();
    if (key == QLatin1String("Exec")) entry.exec = value;
    if (key == QLatin1String("Hidden")) entry.hidden = value;
    if (key == QLatin1String("X-GNOME-Autostart-enabled")) entry.gnome_enabled = value;
  }
  return entry;
}

// The program an Exec line runs: its first word, unquoted.
QString exec_program(QString exec) {
  exec.replace(QLatin1String("\\\\"), QLatin1String("\\"));
  if (exec.startsWith(u'"')) {
    QString program;
    for (qsizetype i = 1; i < exec.size() && exec[i] != u'"'; ++i) {
      if (exec[i] == u'\\' && i + 1 < exec.size()) ++i;
      program += exec[i];
    }
    return program;
  }
  return exec.section(u' ', 0, 0);
}

// An Exec value that runs `program` whatever characters its path holds.
QString exec_value(const QString& program) {
  static const QString kPlain =
      QStringLiteral("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789/._-+");
  bool plain = !program.isEmpty();
  for (const QChar c : program) plain = plain && kPlain.contains(c);
  if (plain) return program;
  QString quoted = QStringLiteral("\"");
  for (const QChar c : program) {
    // The Exec quoting escapes these with a backslash, and the string value escapes that
    // backslash again.
    if (c == u'"' || c == u'`' || c == u'$' || c == u'\\') quoted += QStringLiteral("\\\\");
    quoted += c;
  }
  return quoted + u'"';
}

}  // namespace

AutostartFile::AutostartFile(QString entry, QString installed_desktop, QString installed_executable,
                             QString executable)
    : entry_(std::move(entry)),
      installed_desktop_(std::move(installed_desktop)),
      installed_executable_(std::move(installed_executable)),
      executable_(std::move(executable)) {}

AutostartFile AutostartFile::forThisUser(const QString& executable) {
  const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
  const QString name = QLatin1String(kDesktopId) + QLatin1String(".desktop");
  return AutostartFile(config + QLatin1String("/autostart/") + name,
                       QStringLiteral(VEMBREL_INSTALLED_APPLICATIONS_DIR "/") + name,
                       QStringLiteral(VEMBREL_INSTALLED_EXECUTABLE), executable);
}

AutostartState AutostartFile::state() const {
  if (!QFileInfo::exists(entry_)) return AutostartState::Absent;
  const DesktopEntry entry = read_entry(entry_);
  const QString program = QFileInfo(exec_program(entry.exec)).fileName();
  if (!entry.found || program != QFileInfo(executable_).fileName()) return AutostartState::Foreign;
  if (entry.hidden.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0 ||
      entry.gnome_enabled.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
    return AutostartState::Hidden;
  return AutostartState::Enabled;
}

QString AutostartFile::entryText() const {
  if (QFileInfo(executable_).canonicalFilePath() ==
      QFileInfo(installed_executable_).canonicalFilePath()) {
    QFile installed(installed_desktop_);
    if (installed.open(QIODevice::ReadOnly)) return QString::fromUtf8(installed.readAll());
  }
  return QStringLiteral(
             "[Desktop Entry]\nType=Application\nName=Vembrel\nComment=A desktop companion for "
             "Chinese\nExec=%1\nIcon=%2\nTerminal=false\n")
      .arg(exec_value(executable_), QLatin1String(kDesktopId));
}

QString AutostartFile::setEnabled(bool enabled) const {
  if (!enabled) {
    QFile file(entry_);
    if (file.exists() && !file.remove())
      return QStringLiteral("cannot remove %1: %2").arg(entry_, file.errorString());
    return {};
  }
  if (!QDir().mkpath(QFileInfo(entry_).path()))
    return QStringLiteral("cannot create %1").arg(QFileInfo(entry_).path());
  QSaveFile file(entry_);
  if (!file.open(QIODevice::WriteOnly))
    return QStringLiteral("cannot write %1: %2").arg(entry_, file.errorString());
  file.write(entryText().toUtf8());
  if (!file.commit()) return QStringLiteral("cannot write %1: %2").arg(entry_, file.errorString());
  return {};
}

}  // namespace vembrel
