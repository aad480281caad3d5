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
#include "io/atomic_file.h"
#include "io/cli.h"

#include "aquarium_version.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr std::uint32_t FramePeriod = 10;  // ms of virtual time per frame

void printRecordedMessages() {
    const int kept = recordedMessageCount() < MaxRecordedMessages ? recordedMessageCount()
                                                                   : MaxRecordedMessages;
    for (int i = 0; i < kept; ++i)
        std::fprintf(stderr, "%s: %s\n", recordedMessage(i).caption, recordedMessage(i).text);
}

constexpr const char* Program = "aquarium-render";

std::string frameName(std::uint64_t frame) {
    char name[32];
    std::snprintf(name, sizeof name, "frame-%06llu.png", static_cast<unsigned long long>(frame));
    return name;
}

// Whether the run writes a frame file called `name` into the frames folder.
bool writesFrameNamed(const std::string& name, const RenderOptions& o) {
    if (name.size() < 16 || name.compare(0, 6, "frame-") != 0 ||
        name.compare(name.size() - 4, 4, ".png") != 0)
        return false;
    std::uint64_t frame = 0;
    return parseDecimal(name.substr(6, name.size() - 10).c_str(), 1,
                        static_cast<std::uint64_t>(o.frames), frame) &&
           frame % static_cast<std::uint64_t>(o.every) == 0 && frameName(frame) == name;
}

// An existing file that is written in place, not replaced: /dev/null, a pipe.
bool isDevice(const char* path) {
    struct stat info;
    return path != nullptr && stat(path, &info) == 0 && !S_ISREG(info.st_mode) &&
           !S_ISDIR(info.st_mode);
}

// Empty, or why two outputs of the run would be one file.
std::string sharedOutput(const RenderOptions& o) {
    const std::string out = resolvedPath(o.outPath);
    if (o.tracePath != nullptr && !isDevice(o.outPath) && resolvedPath(o.tracePath) == out)
        return "--out and --trace name the same file";
    if (o.framesDir == nullptr) return "";
    const std::string frames = resolvedPath(o.framesDir);
    for (const char* path : {o.outPath, o.tracePath}) {
        if (path == nullptr || isDevice(path)) continue;
        const std::string resolved = resolvedPath(path);
        const std::size_t slash = resolved.find_last_of('/');
        if (resolved == frames) return std::string(path) + " is the --frames-dir folder";
        if (resolved.substr(0, slash == 0 ? 1 : slash) == frames &&
            writesFrameNamed(resolved.substr(slash + 1), o))
            return std::string(path) + " is also one of the frames";
    }
    return "";
}

// Reads the frame's pixels and writes them as a PNG into `file`.
bool writeFrame(const AtomicFile& file, const RenderOptions& o, std::vector<unsigned char>& pixels) {
    readOffscreenPixels(o.width, o.height, pixels.data());
    return writePng(file.file, o.width, o.height, pixels.data());
}

bool writeFrameFile(const std::string& path, const RenderOptions& o,
                    std::vector<unsigned char>& pixels) {
    AtomicFile file;
    if (openAtomicFile(file, path) && writeFrame(file, o, pixels) && commitAtomicFile(file))
        return true;
    discardAtomicFile(file);
    reportWriteError(Program, path);
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

// Opens every destination before the first frame is drawn, so that an
// unwritable one fails at once.
bool openOutputs(const RenderOptions& o, AtomicFile& out, AtomicFile& trace) {
    if (o.framesDir != nullptr) {
        if (mkdir(o.framesDir, 0777) != 0 && errno != EEXIST) {
            std::fprintf(stderr, "%s: cannot create %s: %s\n", Program, o.framesDir,
                         std::strerror(errno));
            return false;
        }
        AtomicFile probe;
        const std::string first = std::string(o.framesDir) + "/" + frameName(o.every);
        const bool writable = openAtomicFile(probe, first);
        discardAtomicFile(probe);
        if (!writable) {
            reportWriteError(Program, first);
            return false;
        }
    }
    if (!openAtomicFile(out, o.outPath)) {
        reportWriteError(Program, o.outPath);
        return false;
    }
    if (o.tracePath != nullptr) {
        if (!openAtomicFile(trace, o.tracePath)) {
            reportWriteError(Program, o.tracePath);
            discardAtomicFile(out);
            return false;
        }
        traceHeader(trace.file);
    }
    return true;
}

int run(const RenderOptions& o) {
    // `scene` was constructed before main with whatever the clock and the
    // generator said then. Start the clock at the requested tick, put the
    // generator back to the state an untouched C runtime has (seed 1), and
    // construct the scene again in place, so the start tick alone decides
    // every random draw of the run.
    setVirtualTick(o.startTick);
    setVirtualCalendar(o.startTime);
    randomSeed(1);
    constructAquarium(scene);
    resetFrameLoop();

    // Each output goes to a temporary file that replaces its final name only
    // when the whole run succeeded.
    AtomicFile out, trace;
    if (!openOutputs(o, out, trace)) return 1;
    if (!createOffscreenGlContext(o.width, o.height)) {
        printRecordedMessages();
        discardAtomicFile(out);
        discardAtomicFile(trace);
        return 1;
    }
    resizeViewport(o.width, o.height);
    initGlState();
    const ViewRect picture{0, 0, o.width, o.height};
    const ViewLayout views = layoutViews(o.monitors, o.monitorCount, picture);
    const bool oneView = isWholeWindow(views, picture);

    std::vector<unsigned char> pixels(static_cast<std::size_t>(o.width) * o.height * 3);
    bool ok = true;
    for (std::int32_t frame = 1; frame <= o.frames && ok; ++frame) {
        const std::uint32_t tick = hostTickCount();
        if (oneView) renderFrame(); else renderViews(views);
        hostSwapBuffers();
        if (o.framesDir != nullptr && frame % o.every == 0)
            ok = writeFrameFile(std::string(o.framesDir) + "/" + frameName(frame), o, pixels);
        if (trace.file != nullptr && frame % o.traceEvery == 0) {
            traceFrame(trace.file, frame, tick);
            if (std::ferror(trace.file) != 0) {
                reportWriteError(Program, o.tracePath);
                ok = false;
            }
        }
        if (ok && frame == o.frames && !writeFrame(out, o, pixels)) {
            reportWriteError(Program, o.outPath);
            ok = false;
        }
        advanceVirtualClock(FramePeriod);
    }
    destroyOffscreenGlContext();
    if (ok && trace.file != nullptr && !commitAtomicFile(trace)) {
        reportWriteError(Program, o.tracePath);
        ok = false;
    }
    if (ok && !commitAtomicFile(out)) {
        reportWriteError(Program, o.outPath);
        ok = false;
    }
    discardAtomicFile(trace);
    discardAtomicFile(out);
    if (!ok) return 1;
    std::printf("aquarium-render: wrote %s (%dx%d, frame %d, start tick %u)\n", o.outPath, o.width,
                o.height, o.frames, o.startTick);
    if (o.framesDir != nullptr)
        std::printf("aquarium-render: frames every %d in %s\n", o.every, o.framesDir);
    if (o.tracePath != nullptr) std::printf("aquarium-render: trace in %s\n", o.tracePath);
    return finishStdout(Program);
}

}  // namespace

int main(int argc, char** argv) {
    const RenderOptions options = parseRenderOptions(argc, argv);
    if (options.help) return printToStdout(Program, renderUsage());
    if (versionRequested(argc, argv))
        return printToStdout(Program, "aquarium-render " AQUARIUM_VERSION "\n");
    if (!options.ok) {
        std::fprintf(stderr, "aquarium-render: %s\n%s", options.error, renderUsage());
        return 2;
    }
    const std::string shared = sharedOutput(options);
    if (!shared.empty()) {
        std::fprintf(stderr, "aquarium-render: %s\n", shared.c_str());
        return 2;
    }
    return run(options);
}
