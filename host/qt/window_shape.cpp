#include "host/qt/window_shape.hpp"

#include <QGuiApplication>
#include <QWidget>
#include <QWindow>
#include <cmath>
#include <vector>

#include "host/qt/compositing_probe.hpp"

#if QT_CONFIG(xcb)
#include <QtGui/qguiapplication_platform.h>
#include <xcb/shape.h>
#include <xcb/xcb.h>
#endif

namespace vembrel {

namespace {

#if QT_CONFIG(xcb)
xcb_connection_t* x11Connection() {
  if (QGuiApplication::platformName() != QLatin1String("xcb")) return nullptr;
  auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
  if (!connection) return nullptr;
  const xcb_query_extension_reply_t* shape = xcb_get_extension_data(connection, &xcb_shape_id);
  return shape && shape->present ? connection : nullptr;
}

// Sets the X input shape: `shape` in device-independent pixels, or the whole window when
// `whole` is true.
void setInputShape(QWidget& window, const QRegion& shape, bool whole) {
  xcb_connection_t* connection = x11Connection();
  if (!connection) return;
  const auto id = xcb_window_t(window.winId());
  if (whole) {
    xcb_shape_mask(connection, XCB_SHAPE_SO_SET, XCB_SHAPE_SK_INPUT, id, 0, 0, XCB_NONE);
    return;
  }
  // Qt's coordinates are device-independent; the X server counts device pixels.
  const qreal ratio = window.windowHandle() ? window.windowHandle()->devicePixelRatio() : 1.0;
  std::vector<xcb_rectangle_t> rectangles;
  for (const QRect& r : shape) {
    const int left = int(std::floor(r.left() * ratio));
    const int top = int(std::floor(r.top() * ratio));
    const int right = int(std::ceil((r.left() + r.width()) * ratio));
    const int bottom = int(std::ceil((r.top() + r.height()) * ratio));
    rectangles.push_back(
        {int16_t(left), int16_t(top), uint16_t(right - left), uint16_t(bottom - top)});
  }
  xcb_shape_rectangles(connection, XCB_SHAPE_SO_SET, XCB_SHAPE_SK_INPUT, XCB_CLIP_ORDERING_UNSORTED,
                       id, 0, 0, uint32_t(rectangles.size()), rectangles.data());
}
#else
void setInputShape(QWidget&, const QRegion&, bool) {}
#endif

}  // namespace

void applyWindowShape(QWidget& widget, const QRegion& shape, bool compositing) {
  // The shape goes on the native window, not on the widget: a widget mask would also clip
  // every paint to it, and the paint engine keeps that clip's span tables (about 400 KB for
  // the character) for as long as the window lives. Pixels outside the shape are never shown
  // anyway.
  widget.winId();
  QWindow* window = widget.windowHandle();
  if (!window) return;
  if (compositing && onXWayland()) {
    if (!window->mask().isEmpty()) window->setMask(QRegion());
    setInputShape(widget, shape, false);
  } else {
    // The input shape is set only under XWayland, and then the window has no mask.
    if (window->mask().isEmpty()) setInputShape(widget, shape, true);
    // An empty mask would mean no mask at all: keep one pixel instead.
    window->setMask(shape.isEmpty() ? QRegion(0, 0, 1, 1) : shape);
  }
}

}  // namespace vembrel
