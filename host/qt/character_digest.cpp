#include "host/qt/character_digest.hpp"

#include <QByteArray>
#include <QCryptographicHash>
#include <QtGlobal>

namespace vembrel {

std::string characterDigest(std::string_view bytes) {
  // BLAKE2b: a cryptographic digest, about 1 ms for the shipped character's 0.5 MB.
  QCryptographicHash hash(QCryptographicHash::Blake2b_256);
  hash.addData(QByteArrayLiteral("vembrel character, Qt "));
  hash.addData(QByteArrayView(qVersion()));
  hash.addData(QByteArrayView("\n", 1));
  hash.addData(QByteArrayView(bytes.data(), qsizetype(bytes.size())));
  return hash.result().toHex().toStdString();
}

}  // namespace vembrel
