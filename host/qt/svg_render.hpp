#pragma once
// Draws an SVG document as the character's window shows it: the aspect ratio kept,
// antialiased, on a transparent image at a device pixel ratio.

#include <QByteArray>
#include <QImage>
#include <QSize>

#include "host/qt/svg_document.hpp"

namespace vembrel {

// `size` in device-independent pixels. `drawn`, when given, says whether Qt could read the
// SVG; the image is transparent when it could not.
QImage renderSvg(const QByteArray& svg, QSize size, qreal ratio, bool* drawn = nullptr);
inline QImage renderSvg(const SvgDocument& svg, QSize size, qreal ratio, bool* drawn = nullptr) {
  return renderSvg(svg.text(), size, ratio, drawn);
}

}  // namespace vembrel
