#ifndef SCRIPTSTATE_H
#define SCRIPTSTATE_H

#include <map>
#include <set>
#include <string>
#include <vector>

// What changes while a script game is played, everything named by name and
// never by an index into the game, so that it still means the same after the
// writer edits the files: the scene being played, the flags that are set,
// the counters and their values, what has been seen, and where a running
// script is.
class ScriptState {
public:
    std::string scene;                   // the current scene's name
    std::set<std::string> flags;         // flags that are set
    std::map<std::string, int> counters; // counters that are not 0
    // The "first time" blocks already played, as "<script key>#<ordinal>"
    // (e.g. "investigacion/Basurero/Examinar#1"), and the things acted on, as
    // "<scene>/<thing's name>" (e.g. "investigacion/Basurero").
    std::set<std::string> seen;
    // The running script's key (ScriptGame::Script::key), empty at rest.
    std::string script;
    // Where in it: for each nested block from the outermost, how many of its
    // statements have been started (the innermost one is playing). Empty at rest.
    std::vector<int> place;

    // A counter's value (0 when never set).
    int counter(const std::string& name) const;
    // Sets a counter; 0 removes it, so equal states compare equal.
    void setCounter(const std::string& name, int value);

    bool operator==(const ScriptState& other) const;
    bool operator<(const ScriptState& other) const;
};

#endif
