#ifndef SCRIPT_PACKAGER_H
#define SCRIPT_PACKAGER_H

#include <string>
#include <vector>

class ScriptArchive;

/// `kz package` and `kz new`: ships a checked game to a platform with the
/// players built beforehand, and writes a starter game. No compiler, no
/// toolchain and no network: a package is the prebuilt player of its
/// platform with the game beside it, as the folder game/ (or, on the web,
/// game.zip), which the player plays, never reloaded, when it is started
/// with nothing else to play.
///
/// The players and the starter game are where the installed kz keeps them,
/// found from the program's own place (share/kz beside bin/, or share/kz
/// beside the program in a build folder; KZ_SHARE names another):
///
///   players/windows/   kz.exe, its DLLs and licenses/
///   players/web/       index.html, kz.js, kz.wasm, sw.js, icon.png
///   players/linux/     depends (what the player needs from the system)
///   starter/           the game `kz new` writes
///   icon.png           the icon of a game that has none
///
/// What is written, for a game titled "Demo" (names keep the title's letters
/// and digits; a Debian package's name is its lower-case ASCII form):
///
///   windows   Demo-windows-x64.zip: Demo/Demo.exe, the DLLs, game/, a
///             read-me and licenses/
///   web       Demo-web/: the player's page, game.zip, a manifest, icons and
///             a service worker that keeps them for offline play
///   linux     demo_1.0_amd64.deb (a menu entry, an icon and a launcher) and
///             Demo-linux-x64.tar.gz (Demo/: the player, game/, the licence)
///
/// The icon is the game's icon.png where it has one, the player's otherwise.
class ScriptPackager {
public:
    enum Target { LINUX, WINDOWS, WEB };

    /// The share folder is `share` (see above).
    explicit ScriptPackager(const std::string& share);

    /// The share folder of the kz at `program` (argv[0]).
    static std::string findShare(const char* program);

    /// `kz package GAME --for linux|windows|web [--out DIR]`, `args` being
    /// what follows "package": the game is checked as `kz check` does (its
    /// findings printed) and packaged only without errors. Returns the exit
    /// status.
    static int packageCommand(const std::vector<std::string>& args, const char* program);
    /// `kz new DIR`: the starter game into DIR. Returns the exit status.
    static int newCommand(const std::vector<std::string>& args, const char* program);

    /// Packages the game whose files are in `folder` for `target` into the
    /// folder `out`.
    bool package(const std::string& folder, const std::string& title, Target target,
                 const std::string& out);

    /// The title as a file name ("El faro" -> "El-faro") and as a Debian
    /// package name ("el-faro").
    static std::string fileName(const std::string& title);
    static std::string packageName(const std::string& title);

private:
    std::string icon(const ScriptArchive& game);
    bool windows(const std::string& title, const ScriptArchive& game, const std::string& out);
    bool web(const std::string& title, const ScriptArchive& game, const std::string& out);
    bool linux(const std::string& title, const ScriptArchive& game, const std::string& out);
    std::string readme(const std::string& title, const std::string& program) const;

    std::string share;
};

#endif
