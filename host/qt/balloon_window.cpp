#include "host/qt/balloon_window.hpp"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>

#include "host/qt/balloon_accessible.hpp"
#include "host/qt/character_window.hpp"
#include "host/qt/cloud_shape.hpp"
#include "host/qt/mask_builder.hpp"
#include "host/qt/natural_text.hpp"
#include "host/qt/window_shape.hpp"

namespace vembrel {

namespace {

const QColor kInk(0x2a, 0x2f, 0x3a);
const QColor kOutline(0x4b, 0x55, 0x63);

void paintBalloon(QPainter& painter, const BalloonPage& page, const BalloonGeometry& geometry) {
  painter.setRenderHint(QPainter::Antialiasing);
  QLinearGradient fill(geometry.cloud.topLeft(), geometry.cloud.bottomLeft());
  fill.setColorAt(0, QColor(0xff, 0xff, 0xff));
  fill.setColorAt(1, QColor(0xee, 0xf3, 0xf9));
  painter.setPen(QPen(kOutline, 1.6));
  painter.setBrush(fill);
  painter.drawPath(cloudPath(geometry.cloud.adjusted(1, 1, -1, -1)));
  for (const QRectF& bubble : geometry.bubbles) painter.drawEllipse(bubble.adjusted(1, 1, -1, -1));

  const QFont font = BalloonWindow::textFont();
  const QFontMetricsF metrics(font);
  painter.setFont(font);
  painter.setPen(kInk);
  qreal y = geometry.text.top() + metrics.ascent() + (metrics.lineSpacing() - metrics.height()) / 2;
  for (const QString& line : page.lines) {
    painter.drawText(QPointF(geometry.text.left(), y), line);
    y += metrics.lineSpacing();
  }
  if (page.count > 1) {
    QFont small = font;
    small.setPixelSize(11);
    painter.setFont(small);
    painter.setPen(kOutline);
    const QRectF below(geometry.text.left(), geometry.text.bottom() + 1, geometry.text.width(), 14);
    painter.drawText(below, Qt::AlignRight | Qt::AlignVCenter,
                     QStringLiteral("(%1/%2)").arg(page.number).arg(page.count));
  }
}

}  // namespace

BalloonWindow::BalloonWindow() {
  installBalloonAccessible(staticMetaObject.className());
  makeFloatingWindow(*this);
  setAccessibleName(QStringLiteral("Vembrel"));
}

QFont BalloonWindow::textFont() {
  QFont font;
  font.setFamilies({QStringLiteral("Noto Sans CJK SC"), QStringLiteral("WenQuanYi Micro Hei"),
                    QStringLiteral("Noto Sans CJK")});
  font.setPixelSize(15);
  font.setHintingPreference(QFont::PreferNoHinting);
  return font;
}

QImage BalloonWindow::render(const BalloonPage& page, const BalloonGeometry& geometry,
                             qreal ratio) {
  QImage image(geometry.window.size() * ratio, QImage::Format_ARGB32_Premultiplied);
  image.setDevicePixelRatio(ratio);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  paintBalloon(painter, page, geometry);
  return image;
}

void BalloonWindow::setMaskThreshold(int threshold) {
  if (threshold == threshold_) return;
  threshold_ = threshold;
  if (!image_.isNull()) applyWindowShape(*this, maskFromAlpha(image_, threshold_), compositing_);
}

void BalloonWindow::setCompositing(bool on) {
  if (on == compositing_) return;
  compositing_ = on;
  if (!image_.isNull()) applyWindowShape(*this, maskFromAlpha(image_, threshold_), compositing_);
  update();
}

void BalloonWindow::showPage(const BalloonPage& page, const BalloonGeometry& geometry) {
  page_ = page;
  geometry_ = geometry;
  setWindowTitle(page.text);
  reshape();
  announce(naturalText(page.new_text.isEmpty() ? page.text : page.new_text));
}

// A screen reader may come to an announcement seconds late, when a burst of events has kept
// it busy, so the last few stay to be asked about; they are a few bytes each.
void BalloonWindow::announce(const QString& text) {
  constexpr int kKept = 16;
  const QList<BalloonAnnouncement*> kept = announcementsOf(this);
  for (qsizetype i = 0; i + kKept <= kept.size(); ++i) delete kept[i];
  auto* announcement = new BalloonAnnouncement(this, text);
  if (isVisible())
    announcement->announce();
  else
    unannounced_ = announcement;
}

QString BalloonWindow::spokenText() const {
  const QList<BalloonAnnouncement*> all = announcementsOf(this);
  return all.isEmpty() ? QString() : all.last()->text();
}

void BalloonWindow::showEvent(QShowEvent*) {
  if (unannounced_) unannounced_->announce();
  unannounced_ = nullptr;
}

void BalloonWindow::place(const BalloonGeometry& geometry) {
  const bool same_shape = geometry.window.size() == geometry_.window.size() &&
                          geometry.cloud == geometry_.cloud &&
                          geometry.bubbles == geometry_.bubbles;
  geometry_ = geometry;
  if (same_shape && !image_.isNull())
    move(geometry.window.topLeft());
  else
    reshape();
}

void BalloonWindow::reshape() {
  image_ = render(page_, geometry_, devicePixelRatioF());
  setGeometry(geometry_.window);
  applyWindowShape(*this, maskFromAlpha(image_, threshold_), compositing_);
  update();
}

void BalloonWindow::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setCompositionMode(QPainter::CompositionMode_Source);
  painter.drawImage(0, 0, image_);
}

// A hidden balloon keeps no drawing: the next page is drawn anew anyway.
void BalloonWindow::hideEvent(QHideEvent*) {
  image_ = QImage();
}

void BalloonWindow::mousePressEvent(QMouseEvent* event) {
  if (!isOpaqueAt(image_, event->position().toPoint(), threshold_)) return event->ignore();
  emit clicked();
}

}  // namespace vembrel
