#pragma once
// The character file format (see docs/character-format.md): bytes in, a checked definition
// out, no file system. Everything the host needs is validated here, before any window exists,
// so a bad file fails with a message saying what is wrong and where instead of misbehaving
// later: the JSON, the animations, every frame's SVG and size, and a rest pose that draws
// something. Frames are drawn when first shown (see FrameCache). Needs a QGuiApplication: Qt's
// SVG renderer and painter decide what a valid frame is.

#include <QByteArray>
#include <QString>
#include <optional>
#include <string>

#include "host/qt/character_definition.hpp"

namespace vembrel {

struct CharacterFileResult {
  std::optional<CharacterDefinition> character;
  std::string error;  // empty when `character` is set
};

enum class FrameChecks {
  kFull,
  // The bytes are those the build checked in full (see character_digest.hpp): the frames'
  // SVG, sizes and rest pose are not checked again; the JSON and animations are, as ever.
  kCheckedByBuild,
};

// Validates the bytes of a character file; `where` names it in messages.
CharacterFileResult parseCharacterFile(const QByteArray& bytes, const QString& where,
                                       FrameChecks checks = FrameChecks::kFull);

}  // namespace vembrel
