#pragma once
// A frame's SVG text. A character keeps every frame's text for as long as it lives, yet reads
// one only when that frame is drawn, seconds apart. Read from a character file, the text stays
// where the file's JSON holds it until it is needed (no second copy while the program starts);
// an idle character packs it to about a quarter, and drawing unpacks one in microseconds.

#include <QByteArray>
#include <QJsonValue>
#include <QString>
#include <utility>

namespace vembrel {

class SvgDocument {
 public:
  SvgDocument() = default;
  // A document is its text, so a QByteArray converts.
  SvgDocument(QByteArray text) : data_(std::move(text)) {}  // NOLINT(google-explicit-constructor)
  // A string of a parsed JSON document, which stays alive with it.
  explicit SvgDocument(QJsonValue string) : json_(std::move(string)) {}

  // The text (UTF-8), converted or unpacked if need be. Safe on any thread while nobody packs.
  QByteArray text() const {
    if (json_.isString()) return json_.toString().toUtf8();
    return packed_ ? qUncompress(data_) : data_;
  }
  bool isPacked() const { return packed_; }
  friend bool operator==(const SvgDocument& a, const SvgDocument& b) {
    return a.text() == b.text();
  }

  // Packs the text; text() gives the same bytes afterwards, hence const. Call it on the thread
  // that draws the frames.
  void pack() const {
    if (packed_) return;
    data_ = qCompress(text());
    data_.squeeze();  // qCompress leaves room for text that does not pack at all
    json_ = QJsonValue();
    packed_ = true;
  }

 private:
  mutable QByteArray data_;
  mutable QJsonValue json_;  // the text while it is still in the JSON, else null
  mutable bool packed_ = false;
};

}  // namespace vembrel
