// The autostart entry: its state read from the file, and writing or removing it.

#include "app/autostart_file.hpp"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

namespace vembrel {
namespace {

struct Fixture {
  QTemporaryDir dir;
  QString entry = dir.filePath("config/autostart/" + QLatin1String(kDesktopId) + ".desktop");
  QString installed_desktop = dir.filePath("share/applications/installed.desktop");
  QString installed_exe = dir.filePath("bin/vembrel");
  QString build_exe = dir.filePath("build dir/bin/vembrel");

  AutostartFile file(const QString& executable) const {
    return AutostartFile(entry, installed_desktop, installed_exe, executable);
  }
  static void write(const QString& path, const QByteArray& text) {
    QDir().mkpath(QFileInfo(path).path());
    QFile out(path);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(text);
  }
};

TEST(AutostartFile, StateComesFromTheFile) {
  struct Case {
    const char* name;
    const char* text;  // nullptr: no file
    AutostartState state;
  };
  const Case cases[] = {
      {"absent", nullptr, AutostartState::Absent},
      {"enabled", "[Desktop Entry]\nType=Application\nExec=vembrel\n", AutostartState::Enabled},
      {"enabled, full path and arguments", "[Desktop Entry]\nExec=/usr/bin/vembrel %U\n",
       AutostartState::Enabled},
      {"enabled, quoted path", "[Desktop Entry]\nExec=\"/opt/my apps/vembrel\"\n",
       AutostartState::Enabled},
      {"hidden", "[Desktop Entry]\nExec=vembrel\nHidden=true\n", AutostartState::Hidden},
      {"switched off for GNOME", "[Desktop Entry]\nExec=vembrel\nX-GNOME-Autostart-enabled=false\n",
       AutostartState::Hidden},
      {"foreign program", "[Desktop Entry]\nExec=/usr/bin/othertool --vembrel\n",
       AutostartState::Foreign},
      {"Exec only in another group", "[Desktop Entry]\nName=x\n[Desktop Action a]\nExec=vembrel\n",
       AutostartState::Foreign},
      {"not a desktop entry", "garbage\n", AutostartState::Foreign},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Fixture f;
    if (c.text) Fixture::write(f.entry, c.text);
    EXPECT_EQ(f.file(f.installed_exe).state(), c.state);
  }
}

TEST(AutostartFile, EnablingWritesAnEntryThatStartsThisProgramAndDisablingRemovesIt) {
  Fixture f;
  const AutostartFile file = f.file(f.build_exe);
  Fixture::write(f.entry, "[Desktop Entry]\nExec=vembrel\nHidden=true\n");
  EXPECT_EQ(file.setEnabled(true), QString());
  EXPECT_EQ(file.state(), AutostartState::Enabled);
  QFile written(f.entry);
  ASSERT_TRUE(written.open(QIODevice::ReadOnly));
  const QString text = QString::fromUtf8(written.readAll());
  // A program outside the install starts itself, its path quoted because of the blank.
  EXPECT_TRUE(text.contains("Exec=\"" + f.build_exe + "\"\n")) << text.toStdString();
  EXPECT_TRUE(text.startsWith("[Desktop Entry]\n"));
  EXPECT_FALSE(text.contains("Hidden"));

  EXPECT_EQ(file.setEnabled(false), QString());
  EXPECT_EQ(file.state(), AutostartState::Absent);
  EXPECT_EQ(file.setEnabled(false), QString());  // nothing to remove is no error
}

TEST(AutostartFile, TheInstalledProgramCopiesTheInstalledDesktopFile) {
  Fixture f;
  const QByteArray installed = "[Desktop Entry]\nType=Application\nName=Vembrel\nExec=vembrel\n";
  Fixture::write(f.installed_desktop, installed);
  Fixture::write(f.installed_exe, "");
  const AutostartFile file = f.file(f.installed_exe);
  EXPECT_EQ(file.setEnabled(true), QString());
  QFile written(f.entry);
  ASSERT_TRUE(written.open(QIODevice::ReadOnly));
  EXPECT_EQ(written.readAll(), installed);
  EXPECT_EQ(file.state(), AutostartState::Enabled);
}

TEST(AutostartFile, AnUnwritableFolderIsReported) {
  Fixture f;
  Fixture::write(f.dir.filePath("config/autostart"), "a file where the folder should be");
  EXPECT_FALSE(f.file(f.build_exe).setEnabled(true).isEmpty());
  EXPECT_EQ(f.file(f.build_exe).state(), AutostartState::Absent);
}

}  // namespace
}  // namespace vembrel
