// Preloaded into the game and the soak when scripts/sanitize checks them for
// leaks (and into whatever else an end-to-end test starts, where it does
// nothing: only programs that call these SDL functions meet it).
//
// Two things stand between LeakSanitizer and a report about our code only:
//  - SDL keeps, and never frees, memory that it allocates while starting up
//    (its D-Bus connection) and while opening the window (sdl12-compat's
//    screen surface in OpenGL mode). The system's libraries have no frame
//    pointers, so LeakSanitizer's stacks stop at SDL's allocator and a
//    suppression could not tell those blocks from a surface the game forgot
//    to free. Instead SDL_Init() and SDL_SetVideoMode() run here with leak
//    detection off: exactly what SDL allocates for itself in those two calls
//    is left out, and nothing else (tests/sanitizers/valgrind.supp leaves out
//    the same for memcheck).
//  - The OpenGL driver holds some of its memory from its own globals. SDL_Quit()
//    unloads the driver before the leak check, and that memory would look
//    lost. The driver is kept mapped once the window is open, so that what it
//    holds stays held, as it is while the game runs.

#include <SDL/SDL.h>
#include <cstring>
#include <dlfcn.h>
#include <link.h>

namespace {

template <typename Function> Function next(const char* name) {
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

// LeakSanitizer's switches, looked up in the running program (which carries
// the sanitizer runtime); without one they do nothing.
void leakDetection(bool on) {
    static auto disable = reinterpret_cast<void (*)()>(dlsym(RTLD_DEFAULT, "__lsan_disable"));
    static auto enable = reinterpret_cast<void (*)()>(dlsym(RTLD_DEFAULT, "__lsan_enable"));
    void (*change)() = on ? enable : disable;
    if (change != nullptr) {
        change();
    }
}

// Keeps every loaded OpenGL driver (a *_dri.so) mapped until the process ends.
int pinDriver(struct dl_phdr_info* info, size_t, void*) {
    if (info->dlpi_name != nullptr && std::strstr(info->dlpi_name, "_dri.so") != nullptr) {
        dlopen(info->dlpi_name, RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
    }
    return 0;
}

} // namespace

extern "C" {

int SDL_Init(Uint32 flags) {
    static auto real = next<int (*)(Uint32)>("SDL_Init");
    leakDetection(false);
    const int result = real(flags);
    leakDetection(true);
    return result;
}

SDL_Surface* SDL_SetVideoMode(int width, int height, int bpp, Uint32 flags) {
    static auto real = next<SDL_Surface* (*)(int, int, int, Uint32)>("SDL_SetVideoMode");
    leakDetection(false);
    SDL_Surface* screen = real(width, height, bpp, flags);
    leakDetection(true);
    dl_iterate_phdr(pinDriver, nullptr);
    return screen;
}

} // extern "C"
