#ifndef SCRIPTLOAD_H
#define SCRIPTLOAD_H

#include "ScriptFinding.h"
#include "ScriptFolder.h"
#include "ScriptGame.h"

#include <string>
#include <vector>

// A game found, read and checked: what `kz` and `kz check` both start from.
// GAME may be a folder or a .zip (unpacked into a private folder first, which
// goes when this does).
class ScriptLoad {
public:
    static const size_t MAX_SHOWN = 100; // findings printed before "... more"

    std::string path;                    // GAME as given, which findings are shown under
    std::string folderPath;              // the game's folder on disk (unpacked, for a .zip)
    std::string unpacked;                // the private folder a .zip went to, or empty
    ScriptFolder folder;                 // the game's folder, for reading
    ScriptGame game;                     // the game read
    std::vector<ScriptFinding> findings; // in file and line order
    bool ok;                             // read, and no finding is an error

    explicit ScriptLoad(const std::string& path);
    ~ScriptLoad();
    ScriptLoad(const ScriptLoad&) = delete;
    ScriptLoad& operator=(const ScriptLoad&) = delete;

    // The findings as `kz check` prints them, each file named under `path`,
    // the last line counting errors and warnings (empty when there are none).
    std::string report() const;

    // Where `kz` alone looks for its game: game/ beside the program, or
    // game.zip when there is no such folder.
    static std::string besideProgram(const char* argv0);
};

#endif
