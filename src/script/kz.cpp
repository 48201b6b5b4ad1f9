// kz: plays, and checks, a game written as text files.
//
//   kz [--no-reload] [GAME]   plays the game in the folder or .zip GAME; with
//                             no GAME, the folder game/ or game.zip beside kz
//   kz check GAME             prints the game's findings; exit status 1 when
//                             one of them is an error
//   kz explore [--limit N] GAME
//                             plays every path without a window: lines never
//                             reached, dead ends, faults; exit status 1 on any
//
// Every command reads the game the same way (ScriptLoad), so a game that
// passes `kz check` is exactly a game that starts.
#include "ScriptExplorer.h"
#include "ScriptLoad.h"
#include "ScriptPlayer.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

int usage() {
    std::printf("usage: kz [--no-reload] [GAME]\n"
                "       kz check GAME\n"
                "       kz explore [--limit N] GAME\n"
                "GAME is a game's folder or a .zip of one.\n");
    return 2;
}

} // namespace

int main(int argc, char* argv[]) {
    // Line by line, so whoever reads the output through a pipe sees each
    // line as soon as it is written.
    std::setvbuf(stdout, nullptr, _IOLBF, BUFSIZ);
    std::string command = "play";
    std::string game;
    int i = 1;
    if (i < argc && (std::strcmp(argv[i], "check") == 0 || std::strcmp(argv[i], "explore") == 0)) {
        command = argv[i];
        i++;
    }
    bool reload = true;
    std::size_t limit = ScriptExplorer::DEFAULT_LIMIT;
    for (; i < argc; i++) {
        if (command == "play" && std::strcmp(argv[i], "--no-reload") == 0) {
            reload = false;
        } else if (command == "explore" && std::strcmp(argv[i], "--limit") == 0 && i + 1 < argc) {
            char* end = nullptr;
            const unsigned long long n = std::strtoull(argv[++i], &end, 10);
            if (*end != '\0' || n == 0 || n > 100000000ull || argv[i][0] == '-') {
                return usage();
            }
            limit = static_cast<std::size_t>(n);
        } else if (game.empty() && argv[i][0] != '-') {
            game = argv[i];
        } else {
            return usage();
        }
    }
    if (command == "check") {
        if (game.empty()) {
            return usage();
        }
        ScriptLoad load(game);
        std::fputs(load.report().c_str(), stdout);
        return load.ok ? 0 : 1;
    }
    if (command == "explore") {
        if (game.empty()) {
            return usage();
        }
        ScriptLoad load(game);
        std::fputs(load.report().c_str(), stdout);
        if (!load.ok) {
            std::printf("The game has errors and cannot be explored.\n");
            return 1;
        }
        return ScriptExplorer(load.game, load.path, limit).run();
    }
    // A game named on the command line is a writer's source folder: its
    // changes show while it plays. A player's copy (the game beside kz, or a
    // .zip) is not watched.
    bool watch = reload && !game.empty();
    if (game.empty()) {
        game = ScriptLoad::besideProgram(argv[0]);
    }
    ScriptLoad load(game);
    if (!load.ok) {
        std::fputs(load.report().c_str(), stdout);
        std::printf("The game has errors and cannot start.\n");
        return 1;
    }
    std::fputs(load.report().c_str(), stdout); // its warnings, if any
    return ScriptPlayer::play(load, watch && load.unpacked.empty());
}
