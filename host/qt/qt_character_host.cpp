#include "host/qt/qt_character_host.hpp"

#include <QGuiApplication>
#include <QMenu>
#include <QSystemTrayIcon>
#include <algorithm>
#include <cmath>

#include "host/qt/character_file.hpp"
#include "host/qt/compositing_probe.hpp"
#include "host/qt/screen_reach.hpp"
#include "host/qt/svg_render.hpp"

namespace vembrel {

namespace {

// At most this often, should a window manager insist on stacking a window above.
constexpr int kRaiseIntervalMsec = 100;

}  // namespace

QtCharacterHost::QtCharacterHost(QObject* parent)
    : QObject(parent), character_menu_([this] { hideCharacter(); }) {
  // A compositor may start or stop at any time; the windows change their shapes at once.
  connect(&desktop_watch_, &DesktopWatch::compositorChanged, this,
          &QtCharacterHost::checkCompositing);
  // The character's windows are unmanaged, so no window manager keeps them on top: some
  // (xfwm4) stack a newly managed window above them. Raise them again after such a change.
  raise_timer_.setSingleShot(true);
  connect(&raise_timer_, &QTimer::timeout, this, [this] {
    for (auto& [id, character] : characters_) character->keepOnTop();
    last_raise_.start();
  });
  connect(&desktop_watch_, &DesktopWatch::managedWindowRestacked, this, [this] {
    if (raise_timer_.isActive()) return;
    const qint64 since = last_raise_.isValid() ? last_raise_.elapsed() : kRaiseIntervalMsec;
    raise_timer_.start(int(std::max<qint64>(0, kRaiseIntervalMsec - since)));
  });
  // The watch needs its own connection to the X server, which takes a few round trips: it
  // opens once the event loop runs, so the character does not wait for it to appear. A
  // compositor that came or went meanwhile is caught by looking again.
  QTimer::singleShot(0, this, [this] {
    desktop_watch_.start();
    checkCompositing();
  });
}

QtCharacterHost::~QtCharacterHost() {
  delete tray_;
  characters_.clear();
}

LoadStatus QtCharacterHost::load(const std::u16string& id, const std::string& path) {
  if (characters_.contains(id))
    return {"a character is already loaded as " + QString::fromStdU16String(id).toStdString()};
  CharacterFileResult file = readCharacterFile(QString::fromStdString(path));
  if (!file.character) return {file.error};
  auto definition = std::make_shared<const CharacterDefinition>(std::move(*file.character));
  CharacterHostLinks links{[this](int msec) { return scaled(msec); },
                           [this] { return compositing(); },
                           [this](const DoubleClickEvent& event) {
                             if (dbl_click_) dbl_click_(event);
                           }};
  auto character = std::make_unique<QtCharacter>(id, std::move(definition), std::move(links));
  QtCharacter* const shown = character.get();
  connect(&character->window(), &CharacterWindow::contextMenuWanted, this,
          [this, shown](QPoint at) {
            if (shown->autoPopupMenu()) character_menu_.popup(at);
          });
  character->setReadingPace(reading_pace_);
  characters_.emplace(id, std::move(character));
  // The tray icon (a drawing, a menu, a D-Bus connection: several milliseconds) waits until
  // the event loop runs, so that it does not hold back the character's first appearance.
  QTimer::singleShot(0, this, [this, id] {
    if (QtCharacter* character = qtCharacter(id)) ensureTrayIcon(*character);
  });
  return {};
}

Character* QtCharacterHost::character(const std::u16string& id) {
  return qtCharacter(id);
}

QtCharacter* QtCharacterHost::qtCharacter(const std::u16string& id) {
  const auto found = characters_.find(id);
  return found == characters_.end() ? nullptr : found->second.get();
}

void QtCharacterHost::showCharacter() {
  for (auto& [id, character] : characters_) {
    character->bringWithinReach(home_position());
    character->showNow();
  }
}

void QtCharacterHost::hideCharacter() {
  for (auto& [id, character] : characters_) character->hideNow();
}

bool QtCharacterHost::isCharacterVisible() const {
  for (const auto& [id, character] : characters_)
    if (character->isShown()) return true;
  return false;
}

int QtCharacterHost::scaled(int msec) const {
  return std::max(0, int(std::lround(msec * time_scale_)));
}

void QtCharacterHost::setReadingPace(ReadingPace pace) {
  reading_pace_ = pace;
  for (auto& [id, character] : characters_) character->setReadingPace(pace);
}

void QtCharacterHost::checkCompositing() {
  const bool compositing = compositorActive();
  if (compositing_ == compositing) return;
  compositing_ = compositing;
  for (auto& [id, character] : characters_) character->setCompositing(compositing);
}

void QtCharacterHost::addTrayAction(QAction* action) {
  if (tray_menu_ && tray_actions_.isEmpty()) tray_menu_->addSeparator();
  tray_actions_.append(action);
  if (tray_menu_) tray_menu_->addAction(action);
}

void QtCharacterHost::ensureTrayIcon(QtCharacter& character) {
  // On X11 the icon is made even with no tray yet: Qt docks it as soon as a tray announces
  // itself (one often starts after the program at login) and again after a tray restarts.
  const bool x11 = QGuiApplication::platformName() == QLatin1String("xcb");
  if (tray_ || !(x11 || QSystemTrayIcon::isSystemTrayAvailable())) return;
  const CharacterDefinition& definition = character.definition();
  const SvgDocument& rest = definition.frames.at(definition.restFrame());
  const QImage portrait = renderSvg(rest, QSize(64, 64), 1.0);
  tray_ = new QSystemTrayIcon(QIcon(QPixmap::fromImage(portrait)), this);
  // The tray names the program; the character's own name is for its file.
  tray_->setToolTip(QGuiApplication::applicationDisplayName());
  tray_menu_ = std::make_unique<QMenu>();
  tray_menu_->setAccessibleName(QStringLiteral("托盘菜单"));  // read out when it opens
  tray_menu_->addAction(QStringLiteral("显示"), this, &QtCharacterHost::showCharacter);
  tray_menu_->addAction(QStringLiteral("隐藏"), this, &QtCharacterHost::hideCharacter);
  if (!tray_actions_.isEmpty()) tray_menu_->addSeparator();
  tray_menu_->addActions(tray_actions_);
  connect(tray_menu_.get(), &QMenu::aboutToShow, this, &QtCharacterHost::trayMenuAboutToShow);
  tray_->setContextMenu(tray_menu_.get());
  connect(tray_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason why) {
    if (why == QSystemTrayIcon::Trigger || why == QSystemTrayIcon::DoubleClick) showCharacter();
  });
  tray_->show();
}

}  // namespace vembrel
