// Cost of simulating the aquarium: one frame is nine updateFish calls on the
// virtual clock, 10 ms apart, with the target choices (steering against the
// school and the seventeen rocks) falling where they fall.

#include "host/offscreen_host.h"
#include "mesh/random.h"
#include "scene/aquarium.h"

#include <benchmark/benchmark.h>

namespace {

constexpr std::uint32_t FrameMs = 10;

// The scene after a minute of swimming, so the fish are spread over the tank.
Aquarium& settledScene() {
    Aquarium& sim = scene;
    setVirtualTick(1000000u);
    randomSeed(1u);
    constructAquarium(sim);
    buildSceneBodies(sim);
    for (int i = 0; i < 6000; ++i) {
        advanceVirtualClock(FrameMs);
        stepScene(sim);
    }
    return sim;
}

void SceneFrame(benchmark::State& state) {
    Aquarium& sim = settledScene();
    for (auto _ : state) {
        advanceVirtualClock(FrameMs);
        stepScene(sim);
        benchmark::DoNotOptimize(sim.fish[FishCapacity - 1].position);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(SceneFrame);

// The worst frame: every fish ends its ramp at once and chooses a target.
void AllFishChoose(benchmark::State& state) {
    Aquarium& sim = settledScene();
    for (auto _ : state) {
        advanceVirtualClock(FrameMs);
        for (Fish& fish : sim.fish) fish.rampStartTime -= 2000u;  // every ramp is over
        stepScene(sim);
        benchmark::DoNotOptimize(sim.fish[FishCapacity - 1].targetVelocity);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(AllFishChoose);

}  // namespace
