#pragma once
// A host with the tiny test character loaded as "aaa", sped up a hundredfold.

#include <QElapsedTimer>
#include <QStringList>
#include <QTest>
#include <functional>
#include <memory>

#include "host/qt/qt_character.hpp"
#include "host/qt/qt_character_host.hpp"
#include "test_character.hpp"

namespace vembrel::testing {

struct HostFixture {
  explicit HostFixture(double time_scale = 0.01) {
    host.setTimeScale(time_scale);
    const LoadStatus status =
        host.load(u"aaa", writeTemporary(toBytes(tinyCharacter())).toStdString());
    character = host.qtCharacter(u"aaa");
    if (character)
      character->setActionObserver([this](const QString& action) { started << action; });
    load_error = status.error;
  }

  // Lets the event loop run until `done` or the deadline; returns `done`'s last value. The
  // deadline is generous: it only bounds a failing test, and a loaded machine is slow.
  static bool waitFor(const std::function<bool()>& done, int ms = 20000) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < ms) QTest::qWait(2);
    return done();
  }
  bool waitUntilIdle(int ms = 20000) {
    return waitFor([this] { return !character->isBusy(); }, ms);
  }

  QtCharacterHost host;
  QtCharacter* character = nullptr;
  QStringList started;
  std::string load_error;
};

}  // namespace vembrel::testing
