#pragma once
// A frame's SVG text. A character keeps every frame's text for as long as it lives, yet reads
// one only when that frame is drawn, seconds apart; an idle character packs them to about a
// quarter, and drawing unpacks one in microseconds.

#include <QByteArray>
#include <utility>

namespace vembrel {

class SvgDocument {
 public:
  SvgDocument() = default;
  // A document is its text, so a QByteArray converts.
  SvgDocument(QByteArray text) : data_(std::move(text)) {}  // NOLINT(google-explicit-constructor)

  // The text, unpacked if need be.
  QByteArray text() const { return packed_ ? qUncompress(data_) : data_; }
  bool isPacked() const { return packed_; }
  friend bool operator==(const SvgDocument& a, const SvgDocument& b) {
    return a.text() == b.text();
  }

  // Packs the text; text() gives the same bytes afterwards, hence const. Call it on the thread
  // that draws the frames.
  void pack() const {
    if (packed_) return;
    data_ = qCompress(data_);
    data_.squeeze();  // qCompress leaves room for text that does not pack at all
    packed_ = true;
  }

 private:
  mutable QByteArray data_;
  mutable bool packed_ = false;
};

}  // namespace vembrel
