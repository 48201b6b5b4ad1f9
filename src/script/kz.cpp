// kz: plays, and checks, a game written as text files.
//
//   kz [--no-reload] [GAME]   plays the game in the folder or .zip GAME; with
//                             no GAME, the folder game/ or game.zip beside kz
//   kz check GAME             prints the game's findings; exit status 1 when
//                             one of them is an error
//   kz package GAME --for linux|windows|web [--out DIR]
//                             checks the game and ships it with the prebuilt
//                             player of that platform (ScriptPackager)
//   kz new DIR                writes a starter game into DIR
//
// A game beside kz is a packaged one: it plays as it is, never reloaded.
//
// Every command reads the game the same way (ScriptLoad), so a game that
// passes `kz check` is exactly a game that starts.
#include "SDLMain.h"
#include "ScriptLoad.h"
#include "ScriptPackager.h"
#include "ScriptPlayer.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

int usage() {
    std::printf("usage: kz [--no-reload] [GAME]\n"
                "       kz check GAME\n"
                "       kz package GAME --for linux|windows|web [--out DIR]\n"
                "       kz new DIR\n"
                "GAME is a game's folder or a .zip of one.\n");
    return 2;
}

} // namespace

// SDL's entry wrapper calls this on Windows, main() (src/main.cpp) elsewhere.
extern "C" int SDL_main(int argc, char* argv[]) {
    // Line by line, so whoever reads the output through a pipe sees each
    // line as soon as it is written.
    std::setvbuf(stdout, nullptr, _IOLBF, BUFSIZ);
    if (argc > 1 && (std::strcmp(argv[1], "package") == 0 || std::strcmp(argv[1], "new") == 0)) {
        const std::vector<std::string> rest(argv + 2, argv + argc);
        if (argv[1][0] == 'n') {
            return ScriptPackager::newCommand(rest, argv[0]);
        }
        return ScriptPackager::packageCommand(rest, argv[0]);
    }
    std::string command = "play";
    std::string game;
    int i = 1;
    if (i < argc && std::strcmp(argv[i], "check") == 0) {
        command = "check";
        i++;
    }
    bool reload = true;
    for (; i < argc; i++) {
        if (command == "play" && std::strcmp(argv[i], "--no-reload") == 0) {
            reload = false;
        } else if (game.empty() && argv[i][0] != '-') {
            game = argv[i];
        } else {
            return usage();
        }
    }
    // Watching for changes is not built yet: the option is accepted so that
    // launchers can pass it already.
    (void)reload;
    if (command == "check") {
        if (game.empty()) {
            return usage();
        }
        ScriptLoad load(game);
        std::fputs(load.report().c_str(), stdout);
        return load.ok ? 0 : 1;
    }
    if (game.empty()) {
        game = ScriptLoad::besideProgram(argv[0]);
        reload = false;
    }
    ScriptLoad load(game);
    if (!load.ok) {
        std::fputs(load.report().c_str(), stdout);
        std::printf("The game has errors and cannot start.\n");
        return 1;
    }
    std::fputs(load.report().c_str(), stdout); // its warnings, if any
    return ScriptPlayer::play(load);
}
