#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <windows.h>

char* realpath(const char* path, char* resolved) {
    char full[PATH_MAX];
    if (_fullpath(full, path, sizeof full) == nullptr ||
        GetFileAttributesA(full) == INVALID_FILE_ATTRIBUTES) {
        errno = ENOENT;
        return nullptr;
    }
    for (char* c = full; *c != '\0'; c++) {
        if (*c == '\\') {
            *c = '/';
        }
    }
    if (resolved == nullptr) {
        return _strdup(full);
    }
    std::strcpy(resolved, full);
    return resolved;
}

ssize_t readlink(const char*, char*, size_t) {
    errno = EINVAL;
    return -1;
}

int lstat(const char* path, struct stat* info) {
    return stat(path, info);
}

char* mkdtemp(char* pattern) {
    const size_t length = std::strlen(pattern);
    if (length < 6 || std::strcmp(pattern + length - 6, "XXXXXX") != 0) {
        errno = EINVAL;
        return nullptr;
    }
    static const char letters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    unsigned seed = GetTickCount() ^ GetCurrentProcessId();
    for (int attempt = 0; attempt < 100; attempt++) {
        for (size_t i = length - 6; i < length; i++) {
            seed = seed * 1103515245 + 12345;
            pattern[i] = letters[(seed >> 16) % (sizeof letters - 1)];
        }
        if (_mkdir(pattern) == 0) {
            return pattern;
        }
    }
    return nullptr;
}
