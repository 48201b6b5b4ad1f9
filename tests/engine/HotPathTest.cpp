// The per-frame path must not touch the heap: the main loop, the event pump
// and a planet's cycle with its trace off. Every C++ allocation in this test
// program is counted (and otherwise left to malloc).
#include "KZ/2DPlanet.h"
#include "KZ/EventManager.h"
#include "KZ/Invader2D.h"
#include "KZ/SerialSpace.h"
#include "TestSupport.h"

#include <SDL/SDL.h>
#include <cstdlib>
#include <gtest/gtest.h>
#include <new>
#include <unistd.h>

static long allocations = 0;

void* operator new(std::size_t size) {
    allocations++;
    if (void* p = std::malloc(size ? size : 1)) {
        return p;
    }
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) {
    return operator new(size);
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete[](void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    std::free(p);
}

namespace {

// A planet that checks, once it has settled, that its frames allocate nothing,
// and then ends the run. Its entities are plain 2D entities.
class CountingPlanet : public KZ_2DPlanet {
public:
    int frames = 0;
    long atSettled = 0;
    long atLast = 0;

    void display(KZ_Graphics* g) override {
        frames++;
        if (frames == 2) {
            atSettled = allocations; // creation done in frame 1
        }
        testsupport::pushMotion(frames, frames);
        testsupport::pushLeftPress(frames, frames);
        testsupport::pushLeftRelease(frames, frames);
        KZ_2DPlanet::display(g);
        if (frames == 6) {
            atLast = allocations;
            testsupport::pushQuit();
        }
    }
};

TEST(HotPath, SettledFramesOfTheLoopPumpAndPlanetAllocateNothing) {
    alarm(20);
    KZ_SerialSpace* space = new KZ_SerialSpace();
    testsupport::drainEvents();
    CountingPlanet* planet = new CountingPlanet();
    planet->debug = false; // as the interactive scenes run
    for (int z : {3, 1, 2, 0}) {
        KZ_Invader2D* e = new KZ_Invader2D();
        e->setZ(z);
        planet->add(e);
    }
    KZ_Space::displayStack.push(planet);
    space->serialOrchestrator();
    ASSERT_EQ(7, planet->frames);
    EXPECT_EQ(4u, planet->invaders.size());
    EXPECT_EQ(planet->atSettled, planet->atLast);
}

} // namespace
