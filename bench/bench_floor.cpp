// The yardstick's frame and text, drawn in the benchmark's window.

#include "BenchFrame.h"
#include "FloorScene.h"

#include <GL/gl.h>
#include <SDL/SDL.h>
#include <benchmark/benchmark.h>

namespace {

// One loaded scene per layout, kept for the whole run like the game's scenes.
FloorScene* floorScene(FloorScene::Layout layout) {
    static FloorScene* scenes[2] = {nullptr, nullptr};
    if (scenes[layout] == nullptr) {
        scenes[layout] = new FloorScene();
        scenes[layout]->load("res", bench::SHORT_LINE, layout);
    }
    return scenes[layout];
}

// One turn of the yardstick's loop without the sleep: events, clear, draw, swap.
void floorFrame(benchmark::State& state, int layout) {
    FloorScene* scene = layout < 0 ? nullptr : floorScene(static_cast<FloorScene::Layout>(layout));
    for (auto _ : state) {
        bench::drainEvents();
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        if (scene != nullptr) {
            scene->draw();
        }
        SDL_GL_SwapBuffers();
    }
}

// Rendering one line with SDL_ttf and uploading it, the least a text costs.
void floorText(benchmark::State& state, const char* line) {
    FloorScene* scene = floorScene(FloorScene::DIALOG);
    for (auto _ : state) {
        scene->renderText(line);
    }
    scene->renderText(bench::SHORT_LINE);
}

} // namespace

BENCHMARK_CAPTURE(floorFrame, clear, -1)->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(floorFrame, interactive, static_cast<int>(FloorScene::INTERACTIVE))
    ->MeasureProcessCPUTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(floorFrame, dialog, static_cast<int>(FloorScene::DIALOG))
    ->MeasureProcessCPUTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(floorText, short_line, bench::SHORT_LINE)
    ->MeasureProcessCPUTime()
    ->Unit(benchmark::kMicrosecond);
