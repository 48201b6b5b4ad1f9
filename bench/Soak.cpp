#include "Soak.h"

#include <GL/gl.h>
#include <cstdio>
#include <malloc.h>
#ifdef _WIN32
#include <windows.h>
// windows.h first: psapi.h builds on its types.
#include <psapi.h>
#else
#include <unistd.h>
#endif

namespace soak {

#ifdef _WIN32

// Windows: the working set, and the C runtime's heap walked block by block.
long residentKiB() {
    PROCESS_MEMORY_COUNTERS counters;
    if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)) {
        return -1;
    }
    return static_cast<long>(counters.WorkingSetSize / 1024);
}

long heapInUseKiB() {
    _HEAPINFO entry;
    entry._pentry = nullptr;
    size_t used = 0;
    while (_heapwalk(&entry) == _HEAPOK) {
        if (entry._useflag == _USEDENTRY) {
            used += entry._size;
        }
    }
    return static_cast<long>(used / 1024);
}

#else

long residentKiB() {
    long pages = 0;
    long resident = 0;
    FILE* f = std::fopen("/proc/self/statm", "r");
    if (f == nullptr) {
        return -1;
    }
    if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) {
        resident = -1;
    }
    std::fclose(f);
    return resident < 0 ? -1 : resident * (sysconf(_SC_PAGESIZE) / 1024);
}

long heapInUseKiB() {
    const struct mallinfo2 info = mallinfo2();
    return static_cast<long>((info.uordblks + info.hblkhd) / 1024);
}

#endif

int liveTextures() {
    // A fresh name is past every live one when names are handed out in
    // increasing order, and the lowest free one when freed names are reused;
    // probing well beyond it covers both.
    GLuint probe = 0;
    glGenTextures(1, &probe);
    glDeleteTextures(1, &probe);
    int live = 0;
    for (GLuint name = 1; name < probe + 4096; name++) {
        if (glIsTexture(name)) {
            live++;
        }
    }
    return live;
}

} // namespace soak
