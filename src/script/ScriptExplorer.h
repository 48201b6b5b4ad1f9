#ifndef SCRIPTEXPLORER_H
#define SCRIPTEXPLORER_H

#include "ScriptGame.h"
#include "ScriptState.h"

#include <cstddef>
#include <string>
#include <vector>

// Plays every path of a game without a window, for `kz explore`: from the
// start, every verb of every object, every topic, document and button shown,
// every line clicked through, in every state the game can reach. States are
// compared by value and visited breadth first, so the path found to each is
// a shortest one; at most `limit` states are visited, and the report says
// when that limit stopped the search.
//
// It reports each line of dialogue no path reaches, each state from which no
// ending can be reached any more (in a game that can end), and each fault met
// while playing: a portrait command for a character the scene does not show,
// or scripts that go from scene to scene for ever without waiting for a click.
//
// The scripts are played as the player plays them (ScriptPlayer): the same
// conditions, decided by a player that is never shown.
class ScriptExplorer {
public:
    static constexpr std::size_t DEFAULT_LIMIT = 200000;
    // Statements played in one go without a line before it is taken for a loop.
    static constexpr std::size_t MAX_STEPS = 100000;
    // Dead ends printed before "... and N more".
    static constexpr std::size_t MAX_SHOWN = 20;

    // Explores `game`, whose files are named under `path` in the report.
    ScriptExplorer(const ScriptGame& game, std::string path, std::size_t limit = DEFAULT_LIMIT);

    // Explores and prints the report; the exit status of `kz explore`: 1 when
    // a line is never reached, a dead end or a fault was found, else 0.
    int run();

    std::size_t states() const;

private:
    using Statement = ScriptGame::Statement;

    // What one click at rest leads to.
    struct Outcome {
        ScriptState next;
        std::vector<const Statement*> lines; // the lines played, in order
        bool ended = false;                  // the game ended
        std::string fault;                   // empty when none
    };
    // A choice at rest: the click, the script it plays and what it marks seen.
    struct Choice {
        std::string click;
        const ScriptGame::Script* script;
        std::string seen;
    };

    std::vector<Choice> choices(const ScriptState& at);
    // Plays `script` (or only the opening of the start scene, when null) from `from`.
    Outcome play(const ScriptState& from, const ScriptGame::Script* script,
                 const std::string& seen);

    const ScriptGame& game;
    std::string path;
    std::size_t limit;
    std::size_t visited;
};

#endif
