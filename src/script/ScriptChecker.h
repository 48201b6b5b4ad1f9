#ifndef SCRIPTCHECKER_H
#define SCRIPTCHECKER_H

#include "ScriptFinding.h"
#include "ScriptFolder.h"
#include "ScriptGame.h"

#include <string>
#include <vector>

// Finds every mistake in a game read by ScriptParser, all at once: names
// that mean nothing (speakers, portraits, scenes, objects, verbs), pictures
// and fonts that are missing, misspelt in letter case, outside the folder or
// not what they claim to be, flags and counters read but never set (or set
// and never read), names given twice and scenes no one can reach.
class ScriptChecker {
public:
    static const size_t MAX_PICTURE = 32 * 1024 * 1024; // bytes in one picture
    static const size_t MAX_FONT = 16 * 1024 * 1024;    // bytes in the font

    // Adds the findings about `game`, whose files are in `folder`.
    static void check(const ScriptFolder& folder, const ScriptGame& game,
                      std::vector<ScriptFinding>& findings);

    // Reads and checks the game in `folder`: `findings` gets everything,
    // in file and line order. True when there is no error (warnings allowed).
    static bool load(const ScriptFolder& folder, ScriptGame& game,
                     std::vector<ScriptFinding>& findings);

    // What is wrong with `bytes` as a PNG picture, or empty.
    static std::string pngProblem(const std::string& bytes);
    // What is wrong with `bytes` as a TrueType font, or empty.
    static std::string fontProblem(const std::string& bytes);
};

#endif
