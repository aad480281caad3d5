// Cost of one drawn frame on the offscreen context: renderFrame with the whole
// scene (tank, seventeen rocks, nine fish drawn and advanced), finished with
// glFinish, at two window sizes. FishOnly times the nine updateFish calls of
// a frame, the simulation's share of it.

#include "fish/behaviour.h"
#include "host/frame_loop.h"
#include "host/gl_state.h"
#include "host/offscreen_gl_context.h"
#include "host/offscreen_host.h"
#include "mesh/gl_api.h"
#include "mesh/random.h"
#include "scene/aquarium.h"

#include <benchmark/benchmark.h>

namespace {

constexpr std::uint32_t FrameMs = 10;

// The renderer's start-up at this size, then three seconds of frames so the
// fish are spread over the tank.
bool startAquarium(int width, int height) {
    if (!createOffscreenGlContext(width, height)) return false;
    setVirtualTick(60000);
    randomSeed(1);
    constructAquarium(scene);
    resizeViewport(width, height);
    initGlState();
    resetFrameLoop();
    for (int i = 0; i < 300; ++i) {
        renderFrame();
        advanceVirtualClock(FrameMs);
    }
    glFinish();
    return true;
}

void Frame(benchmark::State& state) {
    const int width = static_cast<int>(state.range(0));
    const int height = static_cast<int>(state.range(1));
    if (!startAquarium(width, height)) {
        state.SkipWithError("no offscreen OpenGL context");
        return;
    }
    for (auto _ : state) {
        renderFrame();
        glFinish();
        advanceVirtualClock(FrameMs);
    }
    destroyOffscreenGlContext();
}
BENCHMARK(Frame)->Args({1280, 720})->Args({1920, 1080})->Unit(benchmark::kMillisecond)->UseRealTime();

void FishOnly(benchmark::State& state) {
    if (!startAquarium(64, 64)) {
        state.SkipWithError("no offscreen OpenGL context");
        return;
    }
    for (auto _ : state) {
        for (int i = 0; i < scene.activeFishCount; ++i) updateFish(scene.fish[i]);
        advanceVirtualClock(FrameMs);
    }
    destroyOffscreenGlContext();
}
BENCHMARK(FishOnly)->Unit(benchmark::kMicrosecond);

}  // namespace
