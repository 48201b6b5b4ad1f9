#include "KZ/Platform.h"

#include <cstdio>
#include <cstdlib>

// A Windows program started from the desktop has no console, so whatever it
// prints would be lost. As SDL 1.2 programs have always done there, the game
// writes its standard output and standard error to stdout.txt and stderr.txt
// in the working directory: the game's own folder when it is double-clicked.
//
// The files are opened in binary mode, so they hold the very bytes the game
// prints on every other system (lines end in "\n" alone, which every editor
// on Windows 10 and later shows as lines). They are unbuffered: the C library
// on Windows has no line buffering, and a line must be in the file as soon as
// it is printed, for whoever watches the file and in case the game is killed.

namespace {

const char* const OUTPUT_FILE = "stdout.txt";
const char* const ERROR_FILE = "stderr.txt";

// Nearly every session writes nothing to standard error; leaving an empty
// file beside the game would only puzzle the player.
void removeEmptyErrorFile() {
    if (std::ftell(stderr) == 0 && std::fclose(stderr) == 0) {
        std::remove(ERROR_FILE);
    }
}

// False when the file cannot be made (a folder the player may not write to):
// the game then runs without its trace.
bool sendToFile(const char* name, std::FILE* stream) {
    if (std::freopen(name, "wb", stream) == nullptr) {
        return false;
    }
    std::setvbuf(stream, nullptr, _IONBF, 0);
    return true;
}

} // namespace

void KZ_Platform::start() {
    sendToFile(OUTPUT_FILE, stdout);
    if (sendToFile(ERROR_FILE, stderr)) {
        std::atexit(removeEmptyErrorFile);
    }
}
