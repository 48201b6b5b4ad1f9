#include "Soak.h"

#include <GL/gl.h>
#include <cstdio>
#include <malloc.h>
#include <unistd.h>

namespace soak {

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
