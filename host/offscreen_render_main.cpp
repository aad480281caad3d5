// aquarium-render: runs the saver's start-up and frame loop in an offscreen
// pbuffer on the virtual clock (10 ms a frame) and writes pictures and a
// trace. The same options give byte-identical files.
#include "host/frame_loop.h"
#include "host/gl_state.h"
#include "host/offscreen_gl_context.h"
#include "host/offscreen_host.h"
#include "host/offscreen_png.h"
#include "host/offscreen_render_options.h"
#include "mesh/gl_api.h"
#include "mesh/random.h"
#include "scene/aquarium.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <vector>

namespace {

constexpr std::uint32_t FramePeriod = 10;  // ms of virtual time per frame

void printRecordedMessages() {
    const int kept = recordedMessageCount() < MaxRecordedMessages ? recordedMessageCount()
                                                                   : MaxRecordedMessages;
    for (int i = 0; i < kept; ++i)
        std::fprintf(stderr, "%s: %s\n", recordedMessage(i).caption, recordedMessage(i).text);
}

bool writeFrame(const char* path, const RenderOptions& o, std::vector<unsigned char>& pixels) {
    readOffscreenPixels(o.width, o.height, pixels.data());
    if (writePng(path, o.width, o.height, pixels.data())) return true;
    std::fprintf(stderr, "aquarium-render: cannot write %s\n", path);
    return false;
}

void traceHeader(std::FILE* trace) {
    std::fputs("frame,tick,camera_yaw,fish,species,x,y,z,vx,vy,vz,yaw,pitch\n", trace);
}

// %.9g keeps every float exact.
void traceFrame(std::FILE* trace, std::int32_t frame, std::uint32_t tick) {
    for (int i = 0; i < scene.activeFishCount; ++i) {
        const Fish& f = scene.fish[i];
        std::fprintf(trace, "%d,%u,%.9g,%d,%d,%.9g,%.9g,%.9g,%.9g,%.9g,%.9g,%.9g,%.9g\n", frame,
                     tick, static_cast<double>(camera().yaw), i, f.species,
                     static_cast<double>(f.position.x), static_cast<double>(f.position.y),
                     static_cast<double>(f.position.z), static_cast<double>(f.velocity.x),
                     static_cast<double>(f.velocity.y), static_cast<double>(f.velocity.z),
                     static_cast<double>(f.orientation.y), static_cast<double>(f.orientation.z));
    }
}

int run(const RenderOptions& o) {
    // `scene` was constructed before main with whatever the clock and the
    // generator said then. Start the clock at the requested tick, put the
    // generator back to the state an untouched C runtime has (seed 1), and
    // construct the scene again in place, so the start tick alone decides
    // every random draw of the run.
    setVirtualTick(o.startTick);
    randomSeed(1);
    constructAquarium(scene);
    resetFrameLoop();

    if (!createOffscreenGlContext(o.width, o.height)) {
        printRecordedMessages();
        return 1;
    }
    resizeViewport(o.width, o.height);
    initGlState();

    std::vector<unsigned char> pixels(static_cast<std::size_t>(o.width) * o.height * 3);
    std::FILE* trace = nullptr;
    if (o.tracePath != nullptr) {
        trace = std::fopen(o.tracePath, "w");
        if (trace == nullptr) {
            std::fprintf(stderr, "aquarium-render: cannot write %s\n", o.tracePath);
            return 1;
        }
        traceHeader(trace);
    }

    if (o.framesDir != nullptr && mkdir(o.framesDir, 0777) != 0 && errno != EEXIST) {
        std::fprintf(stderr, "aquarium-render: cannot create %s\n", o.framesDir);
        return 1;
    }

    bool ok = true;
    char path[4096];
    for (std::int32_t frame = 1; frame <= o.frames && ok; ++frame) {
        const std::uint32_t tick = hostTickCount();
        renderFrame();
        hostSwapBuffers();
        if (o.framesDir != nullptr && frame % o.every == 0) {
            std::snprintf(path, sizeof path, "%s/frame-%06d.png", o.framesDir, frame);
            ok = writeFrame(path, o, pixels);
        }
        if (trace != nullptr && frame % o.traceEvery == 0) traceFrame(trace, frame, tick);
        if (ok && frame == o.frames) ok = writeFrame(o.outPath, o, pixels);
        advanceVirtualClock(FramePeriod);
    }
    if (trace != nullptr && (std::ferror(trace) != 0) + (std::fclose(trace) != 0) != 0) {
        std::fprintf(stderr, "aquarium-render: cannot write %s\n", o.tracePath);
        ok = false;
    }
    destroyOffscreenGlContext();
    if (!ok) return 1;
    std::printf("aquarium-render: wrote %s (%dx%d, frame %d, start tick %u)\n", o.outPath, o.width,
                o.height, o.frames, o.startTick);
    if (o.framesDir != nullptr)
        std::printf("aquarium-render: frames every %d in %s\n", o.every, o.framesDir);
    if (o.tracePath != nullptr) std::printf("aquarium-render: trace in %s\n", o.tracePath);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const RenderOptions options = parseRenderOptions(argc, argv);
    if (options.help) {
        std::fputs(renderUsage(), stdout);
        return 0;
    }
    if (!options.ok) {
        std::fprintf(stderr, "aquarium-render: %s\n%s", options.error, renderUsage());
        return 2;
    }
    return run(options);
}
