// What a screen reader is given: the balloon's notifications that say each new page once,
// as natural text and never for a hidden character; names on the character, its menu and the
// input dialog.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTimer>
#include <memory>

#include "app/qt_input_dialog.hpp"
#include "host/qt/balloon_window.hpp"
#include "menu/popup_menu.hpp"
#include "tests/host/host_test_support.hpp"

namespace vembrel {
namespace {

using testing::HostFixture;

BalloonGeometry someGeometry() {
  BalloonGeometry geometry;
  geometry.window = QRect(100, 100, 200, 120);
  geometry.cloud = QRectF(0, 0, 200, 100);
  geometry.text = QRectF(20, 20, 160, 60);
  return geometry;
}

// A screen reader asks for a notification's text when it comes to the event, which may be
// after the balloon has gathered the next thought: each page's announcement keeps its own text.
TEST(BalloonAccessible, EachPageIsANotificationOfItsOwnThatKeepsItsText) {
  struct Case {
    QString text;
    QString spoken;
    QString said;
  };
  const Case cases[] = {
      {"双 击 显 示 菜 单", "", "双击显示菜单"},
      // A page that gathers several thoughts says only the new one.
      {"成 语 词 典 共 有 2 条", "成 语 词 典", "成语词典"},
  };
  BalloonWindow balloon;
  balloon.show();
  QAccessibleInterface* window = QAccessible::queryAccessibleInterface(&balloon);
  ASSERT_NE(window, nullptr);
  EXPECT_NE(window->role(), QAccessible::Notification);  // the window itself says nothing
  QList<QAccessibleInterface*> said;
  for (const Case& c : cases) {
    balloon.showPage({{c.text}, c.text, c.spoken}, someGeometry());
    ASSERT_EQ(window->childCount(), said.size() + 1);
    QAccessibleInterface* page = window->child(window->childCount() - 1);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->role(), QAccessible::Notification);
    EXPECT_EQ(page->text(QAccessible::Name), "Vembrel");
    EXPECT_EQ(page->text(QAccessible::Description), c.said) << c.text.toStdString();
    EXPECT_FALSE(page->state().invisible);
    EXPECT_EQ(page->parent(), window);
    EXPECT_EQ(window->indexOfChild(page), said.size());
    EXPECT_EQ(balloon.spokenText(), c.said);
    EXPECT_EQ(balloon.windowTitle(), c.text);  // the title stays as drawn
    said.append(page);
  }
  EXPECT_EQ(said.front()->text(QAccessible::Description), cases[0].said);
  // Only the last few are kept.
  for (int i = 0; i < 40; ++i) balloon.showPage({{"好"}, "好", ""}, someGeometry());
  EXPECT_LE(window->childCount(), 16);
  EXPECT_EQ(window->child(window->childCount() - 1)->text(QAccessible::Description), "好");
}

// Once hidden, the character shows no balloon, so a screen reader is told nothing: neither
// the rest of the thought it was showing nor a thought that comes later.
TEST(BalloonAccessible, AHiddenCharacterShowsNoPage) {
  HostFixture fixture(1.0);  // a page stays up for seconds: time to hide the character on it
  ASSERT_NE(fixture.character, nullptr);
  Character& c = *fixture.character;
  BalloonWindow& balloon = fixture.character->balloon();
  QString long_text;
  for (int i = 0; i < 60; ++i) long_text += QStringLiteral("长 话 短 说 ");
  c.show();
  c.think(long_text.toStdU16String());
  ASSERT_TRUE(HostFixture::waitFor([&] { return balloon.isVisible(); }));
  const QString first_page = balloon.spokenText();
  fixture.character->hideNow();
  fixture.host.setTimeScale(0.01);
  c.think(u"藏 起 来 了");
  int shown_while_hidden = 0;
  ASSERT_TRUE(HostFixture::waitFor([&] {
    if (balloon.isVisible()) ++shown_while_hidden;
    return !fixture.character->isBusy();
  }));
  EXPECT_FALSE(fixture.character->window().isVisible());
  EXPECT_EQ(shown_while_hidden, 0);
  EXPECT_EQ(balloon.spokenText(), first_page);
}

TEST(Labels, TheCharacterAndItsMenuAreNamedAndTheCharacterDescribed) {
  HostFixture fixture;
  ASSERT_NE(fixture.character, nullptr);
  QAccessibleInterface* character =
      QAccessible::queryAccessibleInterface(&fixture.character->window());
  ASSERT_NE(character, nullptr);
  EXPECT_FALSE(character->text(QAccessible::Name).isEmpty());
  EXPECT_FALSE(character->text(QAccessible::Description).isEmpty());

  std::unique_ptr<QMenu> menu(make_popup_menu(nullptr, [](const MenuItem&) {}));
  QAccessibleInterface* menu_iface = QAccessible::queryAccessibleInterface(menu.get());
  ASSERT_NE(menu_iface, nullptr);
  EXPECT_TRUE(menu_iface->text(QAccessible::Name).contains("Vembrel"));
  ASSERT_EQ(menu_iface->childCount(), int(kMenuItems.size()));
  for (int i = 0; i < menu_iface->childCount(); ++i)
    EXPECT_FALSE(menu_iface->child(i)->text(QAccessible::Name).trimmed().isEmpty()) << i;
}

// The prompt names the text field and labels it, so it is what a screen reader says on focus.
TEST(Labels, TheInputDialogsPromptLabelsItsTextField) {
  const QString prompt = QStringLiteral("请输入要查的成语或所含的词:");
  QString field_name;
  bool labelled_by_prompt = false;
  // Runs inside the dialog's own event loop, so the dialog is up; closing it is Cancel.
  QTimer::singleShot(0, [&] {
    for (QWidget* window : QApplication::topLevelWidgets()) {
      auto* dialog = qobject_cast<QInputDialog*>(window);
      if (!dialog || !dialog->isVisible()) continue;
      if (auto* field = dialog->findChild<QLineEdit*>()) {
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(field);
        field_name = iface->text(QAccessible::Name);
        for (const auto& [other, relation] : iface->relations(QAccessible::Label)) {
          if (auto* label = qobject_cast<QLabel*>(other->object()))
            labelled_by_prompt = labelled_by_prompt || label->text() == prompt;
        }
      }
      dialog->reject();
    }
  });
  QtInputDialog dialog;
  EXPECT_EQ(dialog.ask_text(prompt.toStdU16String(), u"Vembrel"), u"");
  EXPECT_EQ(field_name, prompt);
  EXPECT_TRUE(labelled_by_prompt);
}

}  // namespace
}  // namespace vembrel
