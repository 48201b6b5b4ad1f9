// A long run of the real game: the engine's own main loop plays the demo for
// tens of thousands of frames, with real SDL events read by the engine's event
// pump, and hides and shows the investigation scene over and over through the
// display stack (the path the menu swap takes: hideNotify() unloads every
// picture and text, showNotify() loads them again from disk). Resident memory
// and live OpenGL textures are sampled along the way; both must stay flat.
//
//   soak [--frames N] [--cycles C] [--every K] [--warmup W] [--sample-every S]
//        [--bound-kib B]
//
// Only time is faked: the loop's sleep is skipped, so frames follow each other
// as fast as the machine draws them. The link wraps three calls for that
// (see CMakeLists.txt): SDL_Delay (no sleep), SDL_GL_SwapBuffers (the end of
// a frame: the driver queues the next events there) and glGenTextures /
// glDeleteTextures (a ledger of the texture names the game holds).
//
// The last line states the figures; the status is 0 only when every bound held.

#include "Soak.h"
#include "DemoInvestigacion.h"
#include "Events.h"
#include "InteractiveScenePlanet.h"
#include "KZ/BoundingBox.h"
#include "KZ/SerialSpace.h"
#include "KZ/Space.h"
#include "MainMenu.h"
#include "XarnInvestigableObject.h"
#include "XarnMenuOpciones.h"
#include "XarnTextClickable.h"

#include <GL/gl.h>
#include <SDL/SDL.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <malloc.h>
#include <set>
#include <vector>

#if defined(__SANITIZE_ADDRESS__)
#define SOAK_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define SOAK_ASAN 1
#endif
#endif

// --- The wrapped calls ---------------------------------------------------------

extern "C" {
void __real_SDL_GL_SwapBuffers(void);
void __real_glGenTextures(GLsizei n, GLuint* textures);
void __real_glDeleteTextures(GLsizei n, const GLuint* textures);
}

namespace {

// Texture names handed out to the game and not yet deleted.
std::set<GLuint> liveNames;
GLuint highestName = 0;
// Deletions of names the game did not hold: a double delete, or a stray name.
long strayDeletes = 0;

void afterFrame();

} // namespace

extern "C" {

// No sleeping: the next frame starts as soon as this one is presented.
void __wrap_SDL_Delay(Uint32) {}

void __wrap_SDL_GL_SwapBuffers(void) {
    __real_SDL_GL_SwapBuffers();
    afterFrame();
}

void __wrap_glGenTextures(GLsizei n, GLuint* textures) {
    __real_glGenTextures(n, textures);
    for (GLsizei i = 0; i < n; i++) {
        liveNames.insert(textures[i]);
        highestName = std::max(highestName, textures[i]);
    }
}

void __wrap_glDeleteTextures(GLsizei n, const GLuint* textures) {
    for (GLsizei i = 0; i < n; i++) {
        // Deleting 0 is allowed and does nothing.
        if (textures[i] != 0 && liveNames.erase(textures[i]) == 0) {
            strayDeletes++;
            std::printf("soak: texture %u deleted but not held\n", textures[i]);
        }
    }
    __real_glDeleteTextures(n, textures);
}

} // extern "C"

namespace {

// --- What is measured ------------------------------------------------------------

// Texture names the context itself says are textures, among every name ever
// handed out: must agree with the ledger.
int texturesByContext() {
    int live = 0;
    for (GLuint name = 1; name <= highestName; name++) {
        if (glIsTexture(name)) {
            live++;
        }
    }
    return live;
}

struct Sample {
    int frame;
    long rssKiB;
    long heapKiB;
    int textures;
};

// --- Settings ----------------------------------------------------------------------

struct Settings {
    int frames = 20000;    // at least this many frames
    int cycles = 1000;     // and at least this many hide/show cycles
    int every = 10;        // frames of play between two hide/show cycles
    int warmup = 2000;     // frames before the memory baseline is taken
    long boundKiB = 1024;  // resident memory may grow at most this much after warm-up
    int sampleEvery = 250; // frames between two samples
};

Settings settings;

// --- The player ----------------------------------------------------------------

// Queues a player's event; the soak goes on without one SDL refused.
void push(Uint8 type, int x, int y) {
    if (!bench::pushEvent(type, x, y)) {
        std::printf("soak: SDL's queue refused an event\n");
    }
}

// The middle of a clickable's area, or false when it has none yet.
bool centreOf(KZ_Clickable* clickable, int* x, int* y) {
    if (clickable == nullptr || clickable->bb == nullptr || clickable->bb->width <= 0) {
        return false;
    }
    *x = clickable->bb->x + clickable->bb->width / 2;
    *y = clickable->bb->y + clickable->bb->height / 2;
    return *x >= 0 && *y >= 0 && *x < 640 && *y < 480;
}

// Plays the demo between frames: it reads the scene's state and queues the
// events a player would produce next; they reach the game through SDL's queue
// and the engine's event pump at the start of the next frame.
struct Player {
    MainMenu* menu = nullptr;
    DemoInvestigacion* scene = nullptr;
    int frame = 0;
    int cycles = 0;
    int sinceCycle = 0;     // frames since the scene was last shown again
    int nextSample = 0;     // the first frame of the next sample
    bool menuOnTop = false; // a hide/show cycle is half-way: the menu covers the scene
    bool releasePending = false;
    int pressX = 0;
    int pressY = 0;
    int nextObject = 0;
    int nextVerb = 0;
    int hovered = 0;    // frames the pointer has rested on the current object
    int menuFrames = 0; // frames the verb menu has been open
    unsigned seed = 12345;
    long clicks = 0;
    long linesFinished = 0;
    long verbsChosen = 0;
    bool quitSent = false;
    std::vector<Sample> samples;
    // Live textures, read at the end of every frame: the most before and
    // after warm-up, and the fewest after.
    int warmPeak = 0;
    int latePeak = 0;
    int lateFloor = 1 << 30;

    unsigned random() {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) & 0x7fff;
    }

    void press(int x, int y) {
        push(SDL_MOUSEMOTION, x, y);
        push(SDL_MOUSEBUTTONDOWN, x, y);
        pressX = x;
        pressY = y;
        releasePending = true;
        clicks++;
    }

    std::vector<XarnInvestigableObject*> objects() {
        std::vector<XarnInvestigableObject*> found;
        for (KZ_Invader* invader : scene->invaders) {
            if (XarnInvestigableObject* object = dynamic_cast<XarnInvestigableObject*>(invader)) {
                found.push_back(object);
            }
        }
        return found;
    }

    void sample() {
        samples.push_back(
            {frame, soak::residentKiB(), soak::heapInUseKiB(), static_cast<int>(liveNames.size())});
        std::printf("soak: frame %d, %d cycles, resident %ld KiB, heap %ld KiB, %d textures\n",
                    frame, cycles, samples.back().rssKiB, samples.back().heapKiB,
                    samples.back().textures);
    }

    // Called once per frame, right after it was presented.
    void step() {
        frame++;
        const int textures = static_cast<int>(liveNames.size());
        int& peak = frame < settings.warmup ? warmPeak : latePeak;
        peak = std::max(peak, textures);
        if (frame >= settings.warmup) {
            lateFloor = std::min(lateFloor, textures);
        }
        // Samples are taken on frames that showed the investigation scene,
        // so that they compare like with like.
        if (frame >= nextSample && scene != nullptr &&
            KZ_SerialSpace::getInstance()->currentDisplayable == scene) {
            sample();
            nextSample = frame + settings.sampleEvery;
        }
        if (scene == nullptr) {
            scene = dynamic_cast<DemoInvestigacion*>(KZ_Space::displayStack.getTop());
        }
        if (releasePending) {
            push(SDL_MOUSEBUTTONUP, pressX, pressY);
            releasePending = false;
            return;
        }
        if (frame >= settings.frames && cycles >= settings.cycles) {
            if (!quitSent) {
                push(SDL_QUIT, 0, 0);
                quitSent = true;
            }
            return;
        }
        if (scene == nullptr) {
            startFromMenu();
            return;
        }
        if (menuOnTop) {
            // The menu was shown for one frame; the scene comes back next frame.
            KZ_Space::displayStack.pop();
            menuOnTop = false;
            cycles++;
            sinceCycle = 0;
            return;
        }
        // Hide and show at whatever stage the play is in: mid-line, with the
        // verb menu open, or while the player only points at things.
        if (++sinceCycle >= settings.every) {
            KZ_Space::displayStack.push(menu);
            menuOnTop = true;
            return;
        }
        play();
    }

    void startFromMenu() {
        int x = 0;
        int y = 0;
        for (KZ_Invader* invader : menu->invaders) {
            XarnTextClickable* button = dynamic_cast<XarnTextClickable*>(invader);
            if (button != nullptr && centreOf(button, &x, &y)) {
                press(x, y);
                return;
            }
        }
    }

    void play() {
        if (scene->mode == scene->MODE_SCRIPT) {
            // A line waits for a click anywhere; over no object.
            if (!scene->dialogBox->isDone()) {
                linesFinished++;
            }
            press(620, 20);
            return;
        }
        std::vector<XarnInvestigableObject*> found = objects();
        if (found.empty()) {
            return;
        }
        XarnMenuOpciones* verbs = scene->optionsMenu;
        if (!verbs->hidden && !verbs->options.empty()) {
            // One frame for the menu to lay its buttons out, then a choice;
            // now and then a click beside it, which closes it unchosen.
            if (++menuFrames < 2) {
                return;
            }
            menuFrames = 0;
            if (random() % 8 == 0) {
                press(static_cast<int>(random() % 640), static_cast<int>(random() % 360));
                return;
            }
            XarnMenuOpciones::option* choice = verbs->options[nextVerb % verbs->options.size()];
            nextVerb++;
            int x = 0;
            int y = 0;
            if (centreOf(choice->button, &x, &y)) {
                press(x, y);
                verbsChosen++;
            }
            return;
        }
        menuFrames = 0;
        // Point at the next object for a few frames (its name shows), with a
        // little wandering, then click it.
        XarnInvestigableObject* object = found[nextObject % found.size()];
        int x = 0;
        int y = 0;
        if (!centreOf(object, &x, &y)) {
            nextObject++;
            return;
        }
        if (hovered < 3) {
            push(SDL_MOUSEMOTION, x + static_cast<int>(random() % 5) - 2,
                 y + static_cast<int>(random() % 5) - 2);
            hovered++;
            return;
        }
        hovered = 0;
        nextObject++;
        press(x, y);
    }
};

Player player;

void afterFrame() {
    player.step();
}

// What the run adds up to. After warm-up (allocator pools, the renderer's and
// the font's caches have reached their working size by then) the samples fall
// into two windows: the first quarter, which sets the baseline, and the rest.
// How much memory a frame holds depends on what it shows, so each window is
// summed up by its highest sample: the growth is the rest's highest minus the
// baseline's highest, and anything lost on every cycle adds to it.
struct Figures {
    long rssBase = -1;
    long rssPeak = -1;
    long heapBase = -1;
    long heapPeak = -1;

    long rssGrowth() const { return rssPeak - rssBase; }
    long heapGrowth() const { return heapPeak - heapBase; }
};

Figures figures() {
    Figures f;
    const int split = settings.warmup + (player.frame - settings.warmup) / 4;
    for (const Sample& s : player.samples) {
        if (s.frame < settings.warmup) {
            continue;
        }
        if (s.frame < split) {
            f.rssBase = std::max(f.rssBase, s.rssKiB);
            f.heapBase = std::max(f.heapBase, s.heapKiB);
        } else {
            f.rssPeak = std::max(f.rssPeak, s.rssKiB);
            f.heapPeak = std::max(f.heapPeak, s.heapKiB);
        }
    }
    return f;
}

// Each broken bound is printed and counted.
long findings(const Figures& f) {
    long count = strayDeletes;
    if (f.rssBase < 0 || f.rssPeak < 0) {
        std::printf("soak: too few samples after warm-up\n");
        return count + 1;
    }
#ifndef SOAK_ASAN
    // Under AddressSanitizer freed memory waits in quarantine, so resident
    // memory and the heap grow by design; there LeakSanitizer and the texture
    // ledger watch for leaks instead.
    if (f.rssGrowth() >= settings.boundKiB) {
        std::printf("soak: resident memory grew %ld KiB after warm-up (bound %ld)\n", f.rssGrowth(),
                    settings.boundKiB);
        count++;
    }
    if (f.heapGrowth() >= settings.boundKiB) {
        std::printf("soak: the heap grew %ld KiB after warm-up (bound %ld)\n", f.heapGrowth(),
                    settings.boundKiB);
        count++;
    }
#endif
    // How many textures are alive depends on what is on screen (a line, a
    // menu of two or four verbs); the warm-up has shown every state, so a
    // count above its peak means textures are being lost.
    if (player.latePeak > player.warmPeak) {
        std::printf("soak: %d live textures after warm-up, more than the %d before\n",
                    player.latePeak, player.warmPeak);
        count++;
    }
    const int byContext = texturesByContext();
    if (byContext != static_cast<int>(liveNames.size())) {
        std::printf("soak: the context holds %d textures, the game %zu\n", byContext,
                    liveNames.size());
        count++;
    }
    if (player.scene == nullptr || player.verbsChosen == 0 || player.linesFinished == 0) {
        std::printf("soak: the play did not get going (%ld verbs, %ld lines)\n", player.verbsChosen,
                    player.linesFinished);
        count++;
    }
    if (player.cycles < settings.cycles || player.frame < settings.frames) {
        std::printf("soak: stopped early\n");
        count++;
    }
    return count;
}

bool parse(int argc, char** argv) {
    for (int i = 1; i < argc; i++) {
        const char* name = argv[i];
        if (i + 1 >= argc) {
            return false;
        }
        const long value = std::atol(argv[++i]);
        if (value <= 0) {
            return false;
        }
        if (std::strcmp(name, "--frames") == 0) {
            settings.frames = static_cast<int>(value);
        } else if (std::strcmp(name, "--cycles") == 0) {
            settings.cycles = static_cast<int>(value);
        } else if (std::strcmp(name, "--every") == 0) {
            settings.every = static_cast<int>(value);
        } else if (std::strcmp(name, "--warmup") == 0) {
            settings.warmup = static_cast<int>(value);
        } else if (std::strcmp(name, "--sample-every") == 0) {
            settings.sampleEvery = static_cast<int>(value);
        } else if (std::strcmp(name, "--bound-kib") == 0) {
            settings.boundKiB = value;
        } else {
            return false;
        }
    }
    return settings.every >= 3;
}

} // namespace

int main(int argc, char** argv) {
    std::setvbuf(stdout, nullptr, _IOLBF, BUFSIZ);
    if (!parse(argc, argv)) {
        std::printf("usage: soak [--frames N] [--cycles C] [--every K (>= 3)] [--warmup W] "
                    "[--sample-every S] [--bound-kib B]\n");
        return 2;
    }
    // glibc moves its thresholds with the program's history: after a large
    // block (a decoded picture) is freed it serves the next ones from the heap
    // and keeps the heap's top, so resident memory wanders by megabytes with
    // nothing leaked. Fixed thresholds return large blocks and the heap's top
    // to the system, so resident memory follows what the program holds.
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
    mallopt(M_TRIM_THRESHOLD, 128 * 1024);

    // As the game starts: the application object, then the menu on the stack.
    // The scenes live in statics so that they stay reachable to the end, as
    // the game's do through the display stack.
    static KZ_SerialSpace* space = new KZ_SerialSpace();
    player.menu = new MainMenu();
    KZ_Space::displayStack.push(player.menu);
    space->serialOrchestrator();

    const Figures f = figures();
    const long count = findings(f);
    std::printf("soak: %d frames, %d hide/show cycles, %ld clicks, %ld verbs, %ld lines; "
                "after warm-up: resident %ld -> %ld KiB (%+ld), heap %ld -> %ld KiB (%+ld), "
                "bound +%ld KiB%s; live textures %d..%d (peak in warm-up %d); findings %ld\n",
                player.frame, player.cycles, player.clicks, player.verbsChosen,
                player.linesFinished, f.rssBase, f.rssPeak, f.rssGrowth(), f.heapBase, f.heapPeak,
                f.heapGrowth(), settings.boundKiB,
#ifdef SOAK_ASAN
                " (not applied under ASan)",
#else
                "",
#endif
                player.lateFloor, player.latePeak, player.warmPeak, count);
    SDL_Quit();
    return count == 0 ? 0 : 1;
}
