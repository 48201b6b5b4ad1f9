#include "KZ/Platform.h"

#include <cstdio>
#include <fcntl.h>
#include <io.h>

// A Windows program started from the desktop has no console. SDL 1.2's
// WinMain (SDLmain) therefore sends standard output and standard error to
// stdout.txt and stderr.txt beside the .exe (the working directory when the
// game is double-clicked) and deletes whichever stayed empty when the game
// ends. It opens them in text mode and fully buffered; the game wants them
// otherwise:
// - binary, so they hold the very bytes the game prints on every other
//   system (lines end in "\n" alone, which every editor on Windows 10 and
//   later shows as lines);
// - unbuffered, so a line is in the file as soon as it is printed, for
//   whoever watches the file and in case the game is killed (the C library
//   on Windows has no line buffering).

namespace {

void plain(std::FILE* stream) {
    std::fflush(stream);
    _setmode(_fileno(stream), _O_BINARY);
    std::setvbuf(stream, nullptr, _IONBF, 0);
}

} // namespace

void KZ_Platform::start() {
    plain(stdout);
    plain(stderr);
}
