#ifndef SCRIPT_PNG_PACKER_H
#define SCRIPT_PNG_PACKER_H

#include <string>

/// Makes a game's PNG pictures smaller for shipping without changing a pixel:
/// each row is filtered the way that suits it best and the picture data is
/// compressed as tightly as zlib can. Pictures drawn with one filter for
/// every row (as many tools write them) shrink by up to a third, which a
/// page sent down a phone's network feels.
///
/// Only what the player reads is redone: 8-bit pictures, not interlaced.
/// Anything else, anything damaged, and any picture that would not get
/// smaller comes back as it was.
class ScriptPngPacker {
public:
    /// `png` packed smaller, or `png` itself.
    static std::string smaller(const std::string& png);
};

#endif
