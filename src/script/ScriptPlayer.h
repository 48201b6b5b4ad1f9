#ifndef SCRIPTPLAYER_H
#define SCRIPTPLAYER_H

#include "ScriptGame.h"
#include "ScriptState.h"

#include <map>
#include <string>
#include <vector>

class CharacterSprite;
class SceneCommand;
class ScriptLive;
class ScriptLoad;
class ScriptScene;

// Plays a checked game on the framework: builds each scene (ScriptScene)
// the first time it is entered, and runs the scripts. A script is walked one
// statement at a time in its turn: what takes a turn of the framework (a line,
// hiding or centring a portrait, the end) is queued as the framework's own
// command, followed by a call back here that goes on from there; what does
// not (flags, counters, conditions) happens when the walk reaches it. So a
// "set" written after two lines happens once they have been clicked away,
// and an "if" looks at the state as it is when its turn comes.
//
// One script runs at a time (objects, topics and buttons ignore clicks while
// one plays), and everything it changes is in `state`, named by name.
class ScriptPlayer {
public:
    const ScriptGame& game; // the game played; must outlive the player
    ScriptState state;      // what has changed so far
    ScriptScene* current;   // the scene being played; null before start()
    ScriptLive* live;       // shows faults and takes changes of the files; may be null

    explicit ScriptPlayer(const ScriptGame& game);

    // Plays the game `load` has read: opens the window titled with the game's
    // title, plays from its first scene until the window is closed or the
    // game ends, and returns the program's exit status. Runs in the game's
    // folder, where the framework finds res/. With `watch`, a saved change
    // of the game's files shows in the running game (ScriptLive).
    static int play(ScriptLoad& load, bool watch = false);

    // Enters the first scene: the display stack's top from the next frame.
    void start();
    // Enters scene `name` (it must exist) and plays its opening.
    void go(const std::string& name);
    // Starts `script` in `scene` now, for a click on something in it.
    void run(ScriptScene* scene, const ScriptGame::Script& script);
    // Does what a set, unset or counter statement `s` does to the state.
    void apply(const ScriptGame::Statement& s);
    // The block an if or "first time" statement `s` goes into now (a first
    // time is remembered as seen).
    const std::vector<ScriptGame::Statement>& branch(const ScriptGame::Statement& s);
    // Whether `condition` holds in the current state.
    bool holds(const ScriptGame::Condition& condition) const;
    // The picture `thing`'s conditions choose now: the first conditional one
    // that holds, else its first.
    const std::string& picture(const ScriptGame::Thing& thing) const;
    // Remembers that the player has acted on `thing` in the current scene.
    void markSeen(const std::string& thing);

    // Goes on from `saved`, a state of this game or of an earlier version of
    // its files (its scene must exist): the scene, built afresh, at rest; or,
    // where `saved` is in a script whose place still holds a line, that line
    // shown again and the script going on from it. `line` is the text the
    // line had: where the place could be in either branch of a block, the
    // one with that text wins. True when the script goes on.
    bool restore(const ScriptState& saved, const std::string& line);
    // The line being shown, or null when none is.
    const ScriptGame::Statement* playing() const;
    // The game's script whose key is `key`, or null.
    const ScriptGame::Script* script(const std::string& key) const;

private:
    // A block being walked and the index of its next statement.
    struct Frame {
        const std::vector<ScriptGame::Statement>* block;
        size_t next;
    };
    std::vector<Frame> frames;                  // the running script's blocks, outermost first
    ScriptScene* runningScene;                  // where the running script's commands go
    std::map<std::string, ScriptScene*> scenes; // built on first entry; live for the program

    // The scene `name`, built the first time it is asked for.
    ScriptScene* build(const std::string& name);
    // Makes `scene` the one shown from the next frame.
    void show(ScriptScene* scene);
    // Rebuilds `frames` for place[depth...] in `block`; true when it leads to
    // a line (with the text `line`, when `exact`).
    bool findPlace(const std::vector<ScriptGame::Statement>& block, const std::vector<int>& place,
                   size_t depth, const std::string& line, bool exact);
    // Walks the running script on from where it stopped.
    void resume();
    // Queues `command` and, behind it, the walk's next step.
    void queue(SceneCommand* command);
    // The state changed: the current scene shows what its conditions now allow.
    void changed();
    // Copies the walk's position into `state`.
    void remember();
};

#endif
