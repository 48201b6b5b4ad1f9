#ifndef SCRIPTPARSER_H
#define SCRIPTPARSER_H

#include "ScriptFinding.h"
#include "ScriptFolder.h"
#include "ScriptGame.h"

#include <string>
#include <vector>

// Reads a game's files (the game file "game.kz" and every "*.scene" beside
// it) into a ScriptGame, with a finding for every line it cannot read. It
// knows the shape of each line, not what the names mean: that is
// ScriptChecker's business. The grammar is written down in docs/WRITING.md.
class ScriptParser {
public:
    static const int MAX_DEPTH = 16;    // indentation levels in one file
    static const int MAX_SCENES = 1000; // scene files in one game

    // Reads the game in `folder` into `game`; findings go to `findings`.
    static void parse(const ScriptFolder& folder, ScriptGame& game,
                      std::vector<ScriptFinding>& findings);

    // Reads one file from its text alone (for the game file, `isGame`).
    static void parseSource(const ScriptSource& source, bool isGame, ScriptGame& game,
                            std::vector<ScriptFinding>& findings);

    // The closest of `candidates` to `name` (ignoring letter case), if one
    // is close enough to be a slip of the fingers; else empty.
    static std::string closest(const std::string& name, const std::vector<std::string>& candidates);
};

#endif
