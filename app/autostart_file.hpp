#pragma once
// Starting with the session: the freedesktop autostart entry ~/.config/autostart/<id>.desktop.
// The file itself is the state, read each time it is asked for; nothing else remembers it.
//
//   vembrel::AutostartFile file = vembrel::AutostartFile::forThisUser(executable);
//   if (file.state() != vembrel::AutostartState::Enabled) file.setEnabled(true);

#include <QString>

namespace vembrel {

// The one id of the program: desktop file, metainfo, icon and autostart entry.
inline constexpr char kDesktopId[] = VEMBREL_DESKTOP_ID;

enum class AutostartState {
  Absent,   // no entry
  Enabled,  // an entry that starts this program
  Hidden,   // an entry of ours switched off (Hidden=true or X-GNOME-Autostart-enabled=false)
  Foreign,  // a file by that name that does not start this program
};

class AutostartFile {
 public:
  // `entry` is the autostart file, `installed_desktop` the desktop file the package installs,
  // `installed_executable` the program it starts, and `executable` the running program.
  AutostartFile(QString entry, QString installed_desktop, QString installed_executable,
                QString executable);
  // The user's autostart folder (XDG_CONFIG_HOME) and the installed paths.
  static AutostartFile forThisUser(const QString& executable);

  AutostartState state() const;
  // Writes the entry (atomically) or removes it; returns what went wrong, or an empty text.
  QString setEnabled(bool enabled) const;
  // What setEnabled(true) writes: the installed desktop file when this is the installed program,
  // otherwise an entry that starts the running executable.
  QString entryText() const;

  const QString& path() const { return entry_; }

 private:
  QString entry_;
  QString installed_desktop_;
  QString installed_executable_;
  QString executable_;
};

}  // namespace vembrel
