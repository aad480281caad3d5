// Renders the six species models, textured and lit as in the saver, into one
// PPM picture: a row per species, seen from the side (+z), from above at 35
// degrees, and from the other side (-z). For checking that each skin fits its
// body.
//
// Usage: aquarium-preview-species OUTPUT.ppm
#include "data/species_tables.h"
#include "host/offscreen_gl_context.h"
#include "host/offscreen_host.h"
#include "mesh/gl_api.h"
#include "mesh/lathe.h"
#include "mesh/mesh.h"
#include "io/atomic_file.h"
#include "io/cli.h"

#include <cmath>
#include <cstdio>
#include <vector>

namespace {

constexpr int CellWidth = 360;
constexpr int CellHeight = 200;
constexpr int Columns = 3;
constexpr int Width = CellWidth * Columns;
constexpr int Height = CellHeight * SpeciesTableCount;
constexpr double FieldOfView = 30.0;  // degrees, vertical

Mesh models[SpeciesTableCount];  // 0.5 MB each: static storage

void drawCell(const Mesh& mesh, int column, int row) {
    glViewport(column * CellWidth, (SpeciesTableCount - 1 - row) * CellHeight, CellWidth,
               CellHeight);
    const double aspect = static_cast<double>(CellWidth) / CellHeight;
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(FieldOfView, aspect, 0.1, 100.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    const double cx = (mesh.xMin + mesh.xMax) / 2.0, cy = (mesh.yMin + mesh.yMax) / 2.0;
    const double length = mesh.xMax - mesh.xMin;
    const double halfWidth = std::tan(FieldOfView / 2.0 * 3.141592653589793 / 180.0) * aspect;
    const double distance = length / 2.0 / halfWidth * 1.2;
    const double elevation = column == 1 ? 35.0 * 3.141592653589793 / 180.0 : 0.0;
    const double side = column == 2 ? -1.0 : 1.0;
    gluLookAt(cx, cy + distance * std::sin(elevation), side * distance * std::cos(elevation), cx,
              cy, 0.0, 0.0, 1.0, 0.0);
    drawMesh(mesh);
}

constexpr const char* Program = "aquarium-preview-species";
constexpr const char* Usage =
    "usage: aquarium-preview-species OUTPUT.ppm\n"
    "Renders the six species models offscreen into one PPM picture.\n"
    "Exit status: 0 written, 1 no GL context or the file could not be written,\n"
    "2 bad arguments.\n";

bool writePpm(std::FILE* file, const std::vector<unsigned char>& pixels) {
    std::fprintf(file, "P6\n%d %d\n255\n", Width, Height);
    // PPM rows run top to bottom; the framebuffer's bottom row comes first.
    for (int y = Height - 1; y >= 0; --y)
        std::fwrite(pixels.data() + static_cast<std::size_t>(y) * Width * 3, 1, Width * 3, file);
    return std::fflush(file) == 0 && std::ferror(file) == 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (helpRequested(argc, argv)) return printToStdout(Program, Usage);
    if (argc != 2 || argv[1][0] == '-' || argv[1][0] == '\0') {
        std::fprintf(stderr, "%s: %s\n%s", Program,
                     argc < 2 ? "no output file" : (argc > 2 ? "too many arguments" : "bad output file"),
                     Usage);
        return 2;
    }
    // An unwritable destination fails before any drawing.
    AtomicFile file;
    if (!openAtomicFile(file, argv[1])) {
        reportWriteError(Program, argv[1]);
        return 1;
    }
    if (!createOffscreenGlContext(Width, Height)) {
        for (int i = 0; i < recordedMessageCount() && i < MaxRecordedMessages; ++i)
            std::fprintf(stderr, "%s: %s\n", recordedMessage(i).caption, recordedMessage(i).text);
        std::fprintf(stderr, "%s: no offscreen OpenGL context\n", Program);
        discardAtomicFile(file);
        return 1;
    }
    for (int i = 0; i < SpeciesTableCount; ++i) {
        initMesh(models[i]);
        buildLatheMesh(models[i], speciesTables[i].rows, speciesTables[i].rowCount);
    }
    glClearColor(0.25f, 0.35f, 0.45f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_DEPTH_TEST);
    // As in the saver: no light source, a strong global ambient term, so a
    // lit textured mesh shows its texture at full brightness.
    const GLfloat ambient[4] = {10.0f, 10.0f, 10.0f, 1.0f};
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, ambient);
    glEnable(GL_LIGHTING);
    for (int row = 0; row < SpeciesTableCount; ++row)
        for (int column = 0; column < Columns; ++column) drawCell(models[row], column, row);
    glFinish();

    std::vector<unsigned char> pixels(static_cast<std::size_t>(Width) * Height * 3);
    readOffscreenPixels(Width, Height, pixels.data());
    destroyOffscreenGlContext();
    if (!writePpm(file.file, pixels) || !commitAtomicFile(file)) {
        discardAtomicFile(file);
        reportWriteError(Program, argv[1]);
        return 1;
    }
    return 0;
}
