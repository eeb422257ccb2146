#pragma once
// Loading a character file: its bytes read into memory and handed to the format's reader
// (character_format.hpp). Needs a QGuiApplication.

#include <QString>
#include <string>

#include "host/qt/character_format.hpp"

namespace vembrel {

// Reads the file at `path` and validates it. A file that changed while it was read is
// reported, not half read.
CharacterFileResult readCharacterFile(const QString& path);

// Bytes whose characterDigest is `digest` passed every check when the program was built (the
// shipped character): their frames are not checked again at start-up (see FrameChecks). Call
// it once, before the character is loaded.
void trustCheckedCharacter(std::string digest);

}  // namespace vembrel
