#include "host/qt/svg_outline.hpp"

#include <expat.h>

#include <cstring>
#include <memory>

namespace vembrel {
namespace {

// Qt's SVG reader refuses documents nested deeper than this.
constexpr int kMaxDepth = 2048;

struct Reading {
  XML_Parser parser = nullptr;
  SvgOutline outline;
  int depth = 0;
  bool refused = false;
};

void appendEscaped(QByteArray& out, const char* value) {
  for (const char* c = value; *c != '\0'; ++c) {
    switch (*c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '\'':
        out += "&apos;";
        break;
      case '\t':
        out += "&#9;";
        break;
      case '\n':
        out += "&#10;";
        break;
      case '\r':
        out += "&#13;";
        break;
      default:
        out += *c;
    }
  }
}

void refuse(Reading& reading) {
  reading.refused = true;
  XML_StopParser(reading.parser, XML_FALSE);
}

void XMLCALL startElement(void* data, const XML_Char* name, const XML_Char** attributes) {
  Reading& reading = *static_cast<Reading*>(data);
  if (++reading.depth > kMaxDepth) return refuse(reading);
  if (reading.depth > 1) return;
  // Qt reads names as written, prefix and all: only a plain <svg> root is an SVG document.
  if (std::strcmp(name, "svg") != 0) return refuse(reading);
  QByteArray& root = reading.outline.root;
  root = "<svg xmlns='http://www.w3.org/2000/svg'";
  for (const XML_Char** a = attributes; *a != nullptr; a += 2) {
    const bool view_box = std::strcmp(a[0], "viewBox") == 0;
    if (!view_box && std::strcmp(a[0], "width") != 0 && std::strcmp(a[0], "height") != 0) continue;
    reading.outline.has_view_box |= view_box;
    root += ' ';
    root += a[0];
    root += "='";
    appendEscaped(root, a[1]);
    root += '\'';
  }
  root += "/>";
}

void XMLCALL endElement(void* data, const XML_Char*) {
  --static_cast<Reading*>(data)->depth;
}

struct ParserFree {
  void operator()(XML_Parser parser) const { XML_ParserFree(parser); }
};

}  // namespace

SvgOutline outlineSvg(const QByteArray& svg) {
  // The bytes are UTF-8 whatever the document declares: they come from a JSON string.
  const std::unique_ptr<XML_ParserStruct, ParserFree> parser(XML_ParserCreate("UTF-8"));
  if (!parser) return {};
  Reading reading;
  reading.parser = parser.get();
  XML_SetUserData(parser.get(), &reading);
  XML_SetElementHandler(parser.get(), startElement, endElement);
  const bool parsed =
      XML_Parse(parser.get(), svg.constData(), int(svg.size()), XML_TRUE) == XML_STATUS_OK;
  if (!parsed || reading.refused) return {};
  reading.outline.well_formed = true;
  return reading.outline;
}

}  // namespace vembrel
