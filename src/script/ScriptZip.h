#ifndef SCRIPTZIP_H
#define SCRIPTZIP_H

#include <string>

// A game that comes as one .zip, unpacked (with zlib's minizip) into a fresh
// private folder so that the framework can read its pictures and font like
// any other game's. Entries are input from strangers: their names must stay
// inside the folder (no absolute paths, "..", backslashes or drive letters),
// links are refused, and sizes are bounded by what is really unpacked, not
// by what the archive claims.
class ScriptZip {
public:
    static const size_t MAX_ENTRIES = 4096;
    static const size_t MAX_ENTRY = 32 * 1024 * 1024;  // bytes in one unpacked file
    static const size_t MAX_TOTAL = 256 * 1024 * 1024; // bytes in all of them

    // Unpacks `zip` into a new folder, `root`, under the system's temporary
    // folder. On success `folder` is the game's folder in it (`root`, or its
    // one top folder when everything is in one); else `why` says what is
    // wrong, in a writer's words, and nothing is left behind.
    static bool unpack(const std::string& zip, std::string& root, std::string& folder,
                       std::string& why);

    // Removes a folder made by unpack() and everything in it.
    static void remove(const std::string& folder);
};

#endif
