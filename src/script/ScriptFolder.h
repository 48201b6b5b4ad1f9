#ifndef SCRIPTFOLDER_H
#define SCRIPTFOLDER_H

#include <map>
#include <string>
#include <vector>

// The game's folder, the only place a game may read from. A game comes from
// strangers, so every name it uses is checked before anything is opened: no
// absolute paths, no "..", no link that leads out of the folder, and the
// letter case must be exactly the file's (a game that works on Windows by
// luck would fail on Linux and the web). Files are read with a size bound.
//
// A folder can also be held in memory (add()), for tests and the fuzzer.
class ScriptFolder {
public:
    // What looking a name up found.
    enum Lookup {
        FOUND,      // a regular file inside the folder
        MISSING,    // nothing of that name
        WRONG_CASE, // only under other letter case (`actual` says how)
        OUTSIDE,    // the name, or a link on its way, leads out of the folder
        INVALID,    // not a name a game may use (absolute, "..", empty, a backslash)
        NOT_A_FILE  // a folder or a device, not a file
    };

    std::string root; // the folder on disk; empty for a folder held in memory

    // The folder at `root`, or an empty one in memory when `root` is empty.
    explicit ScriptFolder(std::string root = "");

    // In memory: adds (or replaces) the file `name` with `bytes`.
    void add(const std::string& name, const std::string& bytes);

    // Looks `name` (relative, '/' between folders) up without opening it.
    // On WRONG_CASE, `actual` gets the name as the folder spells it.
    Lookup find(const std::string& name, std::string* actual = nullptr) const;

    // Reads the file `name` (which must be FOUND) into `bytes`, at most
    // `limit` bytes. False, with `why` in a writer's words, when it cannot be
    // read or is larger than `limit`.
    bool read(const std::string& name, size_t limit, std::string& bytes, std::string& why) const;

    // The names of the files directly in the folder that end with `suffix`,
    // in byte order.
    std::vector<std::string> list(const std::string& suffix) const;

    // Why a lookup failed, in a writer's words, to follow the file's name.
    static std::string explain(Lookup lookup, const std::string& actual);

private:
    std::map<std::string, std::string> memory; // the files of a folder held in memory
    std::string realRoot;                      // `root` with its links resolved

    // Whether `name`, its links resolved, is inside the folder (false when
    // it cannot be resolved).
    bool inside(const std::string& name) const;
    // The entries of folder `dir` (relative, "" for the root), cached.
    const std::vector<std::string>& entries(const std::string& dir) const;
    mutable std::map<std::string, std::vector<std::string>> listings;
};

#endif
