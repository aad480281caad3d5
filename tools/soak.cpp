// Runs the headless aquarium on the virtual clock for a long stretch and
// reports whether the fish stay finite and how far and how often they stray
// beyond the glass. Exit status 1 when any position or velocity stops being
// finite.
//
//   aquarium-soak [seconds] [start-tick] [seed]
//
// Defaults: one hour (360,000 frames of 10 ms), tick 1,000,000, seed 1.
// Exit status 2 for bad arguments, 1 when the report cannot be written.

#include "host/offscreen_host.h"
#include "mesh/random.h"
#include "scene/aquarium.h"
#include "world/tank.h"
#include "io/cli.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr std::uint32_t FrameMs = 10;

bool finite(const Vertex& v) {
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

constexpr const char* Program = "aquarium-soak";
constexpr const char* Usage =
    "usage: aquarium-soak [seconds] [start-tick] [seed]\n"
    "  seconds     virtual time to run, 1 to 1000000 (default 3600)\n"
    "  start-tick  tick count at start, 0 to 4294967295 (default 1000000)\n"
    "  seed        random seed, 0 to 4294967295 (default 1)\n"
    "Numbers are decimal. Exit status: 0 done, 1 a fish stopped being finite or\n"
    "the report could not be written, 2 bad arguments.\n";

// Argument `index` as a decimal number from `low` to `high`, or `fallback`
// when it is absent; exits with status 2 when it is anything else.
std::uint64_t argument(int argc, char** argv, int index, const char* name, std::uint64_t high,
                       std::uint64_t fallback) {
    if (argc <= index) return fallback;
    std::uint64_t value = 0;
    if (!parseDecimal(argv[index], index == 1 ? 1 : 0, high, value)) {
        std::fprintf(stderr, "%s: %s wants a decimal number from %d to %llu, not '%s'\n%s",
                     Program, name, index == 1 ? 1 : 0, static_cast<unsigned long long>(high),
                     argv[index], Usage);
        std::exit(2);
    }
    return value;
}

}  // namespace

int main(int argc, char** argv) {
    if (helpRequested(argc, argv)) return printToStdout(Program, Usage);
    if (argc > 4) {
        std::fprintf(stderr, "%s: unexpected argument '%s'\n%s", Program, argv[4], Usage);
        return 2;
    }
    const auto seconds = static_cast<unsigned long>(argument(argc, argv, 1, "seconds", 1000000, 3600));
    const auto startTick =
        static_cast<std::uint32_t>(argument(argc, argv, 2, "start-tick", 0xFFFFFFFFu, 1000000));
    const auto seed = static_cast<std::uint32_t>(argument(argc, argv, 3, "seed", 0xFFFFFFFFu, 1));
    const unsigned long frames = seconds * 1000 / FrameMs;

    // The scene of the saver, rebuilt from the given tick and seed (its
    // construction before main saw other ones).
    Aquarium& sim = scene;
    setVirtualTick(startTick);
    randomSeed(seed);
    constructAquarium(sim);
    buildSceneBodies(sim);

    const float half[3] = {TankHalfWidth, TankHalfHeight, TankHalfDepth};
    const char* axisName[3] = {"x", "y", "z"};
    double maxOvershoot[3] = {0, 0, 0};     // beyond the glass, tank units
    unsigned long outsideSamples[3] = {0, 0, 0};  // fish-frames beyond, per axis
    unsigned long outsideFishFrames = 0;     // fish-frames beyond on any axis
    unsigned long framesWithAnyOutside = 0;
    unsigned long excursions = 0;            // times a fish went from inside to outside
    bool wasOutside[FishCapacity] = {};
    unsigned long fishOutside[FishCapacity] = {};  // frames beyond, per fish
    unsigned long longestStay[FishCapacity] = {};  // longest run of frames beyond
    unsigned long stay[FishCapacity] = {};
    double fishOvershoot[FishCapacity] = {};
    double maxSpeed = 0.0;

    for (unsigned long frame = 0; frame < frames; ++frame) {
        advanceVirtualClock(FrameMs);
        stepScene(sim);
        bool anyOutside = false;
        for (int j = 0; j < sim.fishCount; ++j) {
            const Fish& f = sim.fish[j];
            if (!finite(f.position) || !finite(f.velocity)) {
                std::printf("fish %d not finite at frame %lu\n", j, frame);
                finishStdout(Program);
                return 1;
            }
            const float p[3] = {f.position.x, f.position.y, f.position.z};
            bool outside = false;
            for (int a = 0; a < 3; ++a) {
                const double over = std::fabs(p[a]) - half[a];
                if (over > 0.0) {
                    outside = true;
                    ++outsideSamples[a];
                    if (over > maxOvershoot[a]) maxOvershoot[a] = over;
                    if (over > fishOvershoot[j]) fishOvershoot[j] = over;
                }
            }
            const double speed = vectorLength(f.velocity);
            if (speed > maxSpeed) maxSpeed = speed;
            if (outside) {
                ++outsideFishFrames;
                anyOutside = true;
                if (!wasOutside[j]) ++excursions;
                ++fishOutside[j];
                if (++stay[j] > longestStay[j]) longestStay[j] = stay[j];
            } else {
                stay[j] = 0;
            }
            wasOutside[j] = outside;
        }
        if (anyOutside) ++framesWithAnyOutside;
    }

    std::printf("frames %lu (%lu s of 10 ms frames), fish %d, start tick %u, seed %u\n", frames,
                seconds, sim.fishCount, startTick, seed);
    std::printf("all positions and velocities finite\n");
    for (int a = 0; a < 3; ++a) {
        std::printf("%s: max overshoot %.4f beyond +-%.0f, fish-frames outside %lu\n",
                    axisName[a], maxOvershoot[a], half[a], outsideSamples[a]);
    }
    std::printf("fish-frames outside on any axis %lu of %lu (%.4f%%)\n", outsideFishFrames,
                frames * static_cast<unsigned long>(sim.fishCount),
                frames ? 100.0 * outsideFishFrames / (frames * sim.fishCount) : 0.0);
    std::printf("frames with any fish outside %lu, excursions %lu\n", framesWithAnyOutside,
                excursions);
    std::printf("largest speed %.4f units per frame\n", maxSpeed);
    // FNV-1a of every fish's final position and velocity bits: equal runs
    // print equal hashes.
    std::uint64_t hash = 1469598103934665603ull;
    for (int j = 0; j < sim.fishCount; ++j) {
        const Fish& f = sim.fish[j];
        const float state[6] = {f.position.x, f.position.y, f.position.z,
                                f.velocity.x, f.velocity.y, f.velocity.z};
        const unsigned char* bytes = reinterpret_cast<const unsigned char*>(state);
        for (std::size_t i = 0; i < sizeof state; ++i) hash = (hash ^ bytes[i]) * 1099511628211ull;
    }
    std::printf("final state hash %016llx\n", static_cast<unsigned long long>(hash));
    for (int j = 0; j < sim.fishCount; ++j) {
        if (fishOutside[j] == 0) continue;
        std::printf("fish %d (species %d): frames outside %lu, longest stay %lu, max overshoot "
                    "%.4f\n",
                    j, sim.fish[j].species, fishOutside[j], longestStay[j], fishOvershoot[j]);
    }
    return finishStdout(Program);
}
