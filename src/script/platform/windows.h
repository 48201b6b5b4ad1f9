#ifndef SCRIPT_PLATFORM_WINDOWS_H
#define SCRIPT_PLATFORM_WINDOWS_H

// The few POSIX calls the script player's reader makes, by the names Windows
// lacks. Included before every source of the player on Windows (CMakeLists.txt),
// so the reader is the same code everywhere. Windows has no links a game
// could use to leave its folder, so a link is never found here.
#include <direct.h>
#include <sys/stat.h>
#include <sys/types.h>

extern "C" {
// The absolute path of an existing `path`, with '/' between its parts.
char* realpath(const char* path, char* resolved);
// Always -1: there are no links to read.
ssize_t readlink(const char* path, char* buffer, size_t size);
int lstat(const char* path, struct stat* info);
char* mkdtemp(char* pattern);
}

// Windows' mkdir takes no permissions.
inline int mkdir(const char* path, int) {
    return _mkdir(path);
}

#endif
