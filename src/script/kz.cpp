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
// A command is a word first, then its arguments; without one, kz plays.
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

// kz check GAME
int check(int argc, char* argv[]) {
    if (argc != 1 || argv[0][0] == '-') {
        return usage();
    }
    ScriptLoad load(argv[0]);
    std::fputs(load.report().c_str(), stdout);
    return load.ok ? 0 : 1;
}

// kz [--no-reload] [GAME]
int play(int argc, char* argv[], const char* program) {
    std::string game;
    for (int i = 0; i < argc; i++) {
        if (std::strcmp(argv[i], "--no-reload") == 0) {
            // Nothing is watched yet: accepted so that launchers can pass it.
        } else if (game.empty() && argv[i][0] != '-') {
            game = argv[i];
        } else {
            return usage();
        }
    }
    if (game.empty()) {
        game = ScriptLoad::besideProgram(program);
    }
    ScriptLoad load(game);
    // The findings first: a game with errors says why it does not start; a
    // good one may still have warnings.
    std::fputs(load.report().c_str(), stdout);
    if (!load.ok) {
        std::printf("The game has errors and cannot start.\n");
        return 1;
    }
    return ScriptPlayer::play(load);
}

} // namespace

// SDL's entry wrapper calls this on Windows, main() (src/main.cpp) elsewhere.
extern "C" int SDL_main(int argc, char* argv[]) {
    // Line by line, so whoever reads the output through a pipe sees each
    // line as soon as it is written.
    std::setvbuf(stdout, nullptr, _IOLBF, BUFSIZ);
    if (argc > 1 && std::strcmp(argv[1], "check") == 0) {
        return check(argc - 2, argv + 2);
    }
    if (argc > 1 && std::strcmp(argv[1], "package") == 0) {
        return ScriptPackager::packageCommand(std::vector<std::string>(argv + 2, argv + argc),
                                              argv[0]);
    }
    if (argc > 1 && std::strcmp(argv[1], "new") == 0) {
        return ScriptPackager::newCommand(std::vector<std::string>(argv + 2, argv + argc), argv[0]);
    }
    return play(argc - 1, argv + 1, argv[0]);
}
