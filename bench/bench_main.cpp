// Frame and text benchmarks of the game against the yardstick, in one process
// and one window (the game's own set-up), so both pay the same renderer.
// CPU times are the whole process's: Mesa's software renderer draws in
// threads of its own.

#include "BenchFrame.h"
#include "KZ/Display.h"

#include <SDL/SDL.h>
#include <benchmark/benchmark.h>
#include <cstdio>

int main(int argc, char** argv) {
    std::setvbuf(stdout, nullptr, _IOLBF, BUFSIZ);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    KZ_Display::init();
    bench::drainEvents();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    SDL_Quit();
    return 0;
}
