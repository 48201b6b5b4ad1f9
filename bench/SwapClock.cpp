// Preloaded into a program under measurement (LD_PRELOAD), so that the game
// and the yardstick are timed the same way without either knowing: every
// SDL_GL_SwapBuffers() call is passed on to SDL and, once the frame is on
// screen, its time on the monotonic clock (the clock Python's
// time.monotonic_ns() reads) is appended in nanoseconds, one line per frame,
// to the file named by PERF_SWAP_LOG.

#include <SDL/SDL.h>
#include <cstdio>
#include <cstdlib>
#include <dlfcn.h>
#include <fcntl.h>
#include <time.h>
#include <unistd.h>

namespace {

int logFile = -2; // -2: not opened yet; -1: no log wanted

void logSwap() {
    if (logFile == -2) {
        const char* path = std::getenv("PERF_SWAP_LOG");
        logFile = path == nullptr ? -1 : open(path, O_WRONLY | O_CREAT | O_APPEND, 0644);
    }
    if (logFile < 0) {
        return;
    }
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    char line[32];
    const int n = std::snprintf(line, sizeof line, "%lld\n",
                                static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
    if (write(logFile, line, static_cast<size_t>(n)) != n) {
        logFile = -1;
    }
}

} // namespace

extern "C" void SDL_GL_SwapBuffers(void) {
    using Swap = void (*)(void);
    static Swap next = reinterpret_cast<Swap>(dlsym(RTLD_NEXT, "SDL_GL_SwapBuffers"));
    if (next != nullptr) {
        next();
    }
    logSwap();
}
