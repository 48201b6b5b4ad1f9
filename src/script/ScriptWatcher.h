#ifndef SCRIPT_WATCHER_H
#define SCRIPT_WATCHER_H

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

// Notices that a file of a game's folder was saved, added or removed, so the
// player can take the change while the game runs, within two looks (a tenth
// of a second). It polls: every INTERVAL_MS
// it looks at the size and time of every file in the folder (at most
// MAX_FILES files, MAX_DEPTH folders deep), which costs a few microseconds for
// a game's files; between two looks poll() costs nothing. Hidden files and an
// editor's backups and swap files are not the game's and are left out, as are
// links to folders (which could lead out of the game's folder or round in a
// circle).
class ScriptWatcher {
public:
    static constexpr unsigned INTERVAL_MS = 50;
    static constexpr std::size_t MAX_FILES = 2000;
    static constexpr int MAX_DEPTH = 8;

    // Watches `folder`; what is there now is the starting point.
    explicit ScriptWatcher(std::string folder);

    // Looks at the files if INTERVAL_MS have passed since the last look (`now`
    // is a millisecond clock, such as SDL_GetTicks()). True when a file was
    // saved, added or removed and two looks in a row have seen it so (a file
    // still being written is waited for); changed() names them.
    bool poll(std::uint32_t now);

    // The files (paths relative to the folder, with '/') that changed at the
    // last poll() that returned true, in name order.
    const std::vector<std::string>& changed() const;

    // Whether the folder holds more than MAX_FILES files (the rest are not watched).
    bool isLimited() const;

private:
    struct Stamp {
        std::filesystem::file_time_type time;
        std::uintmax_t size;
        bool operator!=(const Stamp& other) const;
    };

    std::map<std::string, Stamp> look();
    static bool sameStamps(const std::map<std::string, Stamp>& a,
                           const std::map<std::string, Stamp>& b);

    std::string folder;
    std::map<std::string, Stamp> files;    // as last reported
    std::map<std::string, Stamp> settling; // as at the last look
    std::vector<std::string> changes;
    std::uint32_t lastLook;
    bool limited;
};

#endif
