#ifndef SCRIPT_SAVE_H
#define SCRIPT_SAVE_H

#include "ScriptState.h"

#include <cstddef>
#include <map>
#include <set>
#include <string>
#include <vector>

// What a save holds: the state of a game in play (ScriptState: the scene,
// flags, counters, what has been seen, the place in a running script),
// everything by the name the game's files give it, so that a save still
// means something after the writer has added, moved or reordered things;
// and the text of the line the place shows, which tells, after an edit,
// whether the place still holds the same line.
struct ScriptSaved : public ScriptState {
    std::string line; // the line shown at `place`, as written; empty at rest

    bool operator==(const ScriptSaved& other) const;
};

// The names a game has now, which a save made by an older version of it is
// held to when it is read (ScriptSave::keepWhatFits).
struct ScriptSaveNames {
    std::string firstScene;
    std::set<std::string> scenes;
    std::set<std::string> flags;
    std::set<std::string> counters;
    std::set<std::string> blocks;                         // "first time" blocks
    std::map<std::string, std::set<std::string>> scripts; // each script's lines
};

// A game's save file: a readable JSON file with a version, written whole to a
// new file that then replaces the old one in one step, so a kill or a full
// disk at any moment loses at most the last change and never the save.
// Reading trusts nothing in the file: a save that is cut short, damaged,
// hostile, too large or not a file at all is reported on standard output and
// ignored, and the game starts without it.
class ScriptSave {
public:
    // The version written into every save; a save of a later version is not read.
    static constexpr int VERSION = 1;
    // A save larger than this is not read: real ones are a few kilobytes.
    static constexpr std::size_t MAX_BYTES = 1024 * 1024;
    // Longest name read from a save, in bytes.
    static constexpr std::size_t MAX_NAME = 1000;

    // The save file at `path`.
    explicit ScriptSave(std::string path);

    // Where the save of the game titled `title` lives on this system: a
    // folder named after the game in the system's data folder
    // (KZ_Platform::dataFolder). Empty when the system has none.
    static std::string pathFor(const std::string& title);

    const std::string& getPath() const;

    // Whether there is something at the save's path (it may still not be a
    // save that can be read).
    bool exists() const;

    // Writes `state`, replacing the old save only once the new one is whole.
    // On failure says why on standard output, keeps the old save and returns false.
    bool write(const ScriptSaved& state);

    // Reads the save into `state`. False, with one line on standard output
    // saying why, when there is none or it cannot be used; `state` is then
    // untouched.
    bool read(ScriptSaved& state);

    // The save's text for `state`.
    static std::string toText(const ScriptSaved& state);

    // Reads a save's text into `state`; false with the reason in `why`
    // (state untouched) when it is not a save this version can use.
    static bool fromText(const std::string& text, ScriptSaved& state, std::string& why);

    // Drops from `state` whatever the game no longer has, saying on standard
    // output what was dropped: a flag, counter or block no longer in the game
    // is forgotten, a scene that is gone gives way to the first scene, a
    // place in a script that is gone gives way to the scene at rest.
    static void keepWhatFits(ScriptSaved& state, const ScriptSaveNames& names);

private:
    std::string path;
};

#endif
