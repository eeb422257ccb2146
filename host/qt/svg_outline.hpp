#pragma once
// A first look at an SVG document that does not draw it: whether it is well-formed XML whose
// root is <svg>, and the root's size attributes. Reading XML is all it does, so it is quick,
// safe on any thread, and needs no QGuiApplication.

#include <QByteArray>

namespace vembrel {

struct SvgOutline {
  bool well_formed = false;  // well-formed XML with <svg> as its root
  bool has_view_box = false;
  // The root element alone, with only its width, height and viewBox: enough to tell the
  // document's size when it has a viewBox (without one the size depends on what it draws).
  QByteArray root;
};

SvgOutline outlineSvg(const QByteArray& svg);

}  // namespace vembrel
