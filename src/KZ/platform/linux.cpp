#include "KZ/Platform.h"

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

// On Linux SDL and the C library already do everything the engine needs.
void KZ_Platform::start() {}

// The window is enlarged, if at all, by SDL itself (sdl12-compat on Linux, the
// page in a browser): the game's screen is the window's as far as it knows.
void KZ_Platform::windowSize(int&, int&) {}

void KZ_Platform::windowOpened() {}

void KZ_Platform::beforeSwap() {}

void KZ_Platform::pointer(SDL_Event*) {}

std::string KZ_Platform::dataFolder() {
    const char* data = std::getenv("XDG_DATA_HOME");
    if (data != nullptr && data[0] == '/') {
        return data;
    }
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] == '/') {
        return std::string(home) + "/.local/share";
    }
    return "";
}

// Flushes a file or folder's data to the disk; false if it cannot be opened.
static bool sync(const std::string& path, int flags) {
    const int fd = open(path.c_str(), flags);
    if (fd < 0) {
        return false;
    }
    const bool synced = fsync(fd) == 0;
    close(fd);
    return synced;
}

bool KZ_Platform::replaceFile(const std::string& from, const std::string& to) {
    // The bytes first, then the name: a rename that reached the disk before
    // the data would leave an empty file after a power cut.
    if (!sync(from, O_RDONLY) || std::rename(from.c_str(), to.c_str()) != 0) {
        return false;
    }
    const std::string::size_type slash = to.rfind('/');
    sync(slash == std::string::npos ? "." : to.substr(0, slash + 1), O_RDONLY | O_DIRECTORY);
    return true;
}
