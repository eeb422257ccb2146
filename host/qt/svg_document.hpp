#pragma once
// A frame's SVG text. Read from a character file, the text stays where the file's JSON holds
// it until the frame is drawn, so that starting makes no second copy of every frame.

#include <QByteArray>
#include <QJsonValue>
#include <QString>
#include <utility>

namespace vembrel {

class SvgDocument {
 public:
  SvgDocument() = default;
  // A document is its text, so a QByteArray converts.
  SvgDocument(QByteArray text) : text_(std::move(text)) {}  // NOLINT(google-explicit-constructor)
  // A string of a parsed JSON document, which stays alive with it.
  explicit SvgDocument(QJsonValue string) : json_(std::move(string)) {}

  // The text (UTF-8).
  QByteArray text() const { return json_.isString() ? json_.toString().toUtf8() : text_; }
  friend bool operator==(const SvgDocument& a, const SvgDocument& b) {
    return a.text() == b.text();
  }

 private:
  QByteArray text_;
  QJsonValue json_;  // the text while it is in the JSON, else null
};

}  // namespace vembrel
