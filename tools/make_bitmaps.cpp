// Paints the eight bitmaps 101..108 and writes them as <dir>/<id>.bmp:
// 128 x 128, 24 bits a pixel, uncompressed, bottom-up rows.
//
// Each fish skin is drawn from its own profile table: the outline at every
// ring is centreY +- radiusY, placed through the table's mapping row exactly as
// the texture coordinates of the built model are (the model's x and y extent
// onto the mapping rectangle), so the picture fits the body. The gravel and
// the floor pattern are periodic and tile without seams. Output depends on
// nothing but this file and the tables: no clock, no shared random state.
//
// Usage: aquarium-make-bitmaps <output directory>
#include "data/species_tables.h"
#include "mesh/mesh.h"
#include "io/atomic_file.h"
#include "io/cli.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

namespace {

constexpr int Edge = 128;
constexpr int Supersample = 4;  // samples per pixel along each axis

struct Colour {
    double r, g, b;
};

Colour rgb(double r, double g, double b) { return {r, g, b}; }
Colour operator*(Colour c, double k) { return {c.r * k, c.g * k, c.b * k}; }
Colour operator+(Colour a, Colour b) { return {a.r + b.r, a.g + b.g, a.b + b.b}; }

Colour mix(Colour a, Colour b, double t) { return a * (1.0 - t) + b * t; }

double clamp01(double t) { return t < 0.0 ? 0.0 : (t > 1.0 ? 1.0 : t); }

double smoothstep(double edge0, double edge1, double x) {
    const double t = clamp01((x - edge0) / (edge1 - edge0));
    return t * t * (3.0 - 2.0 * t);
}

// Rows bottom first, as stored in the file.
struct Picture {
    Colour pixels[Edge][Edge];  // [row][column]
};

// ---------------------------------------------------------------- noise

std::uint32_t hash(std::uint32_t a, std::uint32_t b, std::uint32_t seed) {
    std::uint32_t h = a * 0x8da6b343u ^ b * 0xd8163841u ^ seed * 0xcb1ab31fu;
    h ^= h >> 15;
    h *= 0x2c1b3c6du;
    h ^= h >> 12;
    h *= 0x297a2d39u;
    h ^= h >> 15;
    return h;
}

// Uniform in [0, 1).
double hash01(int a, int b, std::uint32_t seed) {
    return (hash(static_cast<std::uint32_t>(a), static_cast<std::uint32_t>(b), seed) >> 8) /
           16777216.0;
}

int wrap(int i, int period) { return ((i % period) + period) % period; }

// Smooth value noise in [0, 1] with a lattice of `period` cells over the
// 128-pixel square, so it repeats exactly every 128 pixels.
double periodicNoise(double x, double y, int period, std::uint32_t seed) {
    const double fx = x / Edge * period, fy = y / Edge * period;
    const int ix = static_cast<int>(std::floor(fx)), iy = static_cast<int>(std::floor(fy));
    const double tx = smoothstep(0.0, 1.0, fx - ix), ty = smoothstep(0.0, 1.0, fy - iy);
    auto at = [&](int i, int j) { return hash01(wrap(i, period), wrap(j, period), seed); };
    const double a = at(ix, iy) + (at(ix + 1, iy) - at(ix, iy)) * tx;
    const double b = at(ix, iy + 1) + (at(ix + 1, iy + 1) - at(ix, iy + 1)) * tx;
    return a + (b - a) * ty;
}

// Nearest and second-nearest of the jittered points of a cells x cells grid
// on the 128-pixel torus.
struct CellDistances {
    double nearest, second;
    int cellX, cellY;          // grid cell of the nearest point
    double offsetX, offsetY;   // sample minus nearest point, pixels
};

CellDistances cellDistances(double x, double y, int cells, double jitter, std::uint32_t seed) {
    const double size = static_cast<double>(Edge) / cells;
    const int cx = static_cast<int>(std::floor(x / size)), cy = static_cast<int>(std::floor(y / size));
    CellDistances d{1e9, 1e9, 0, 0, 0.0, 0.0};
    for (int j = cy - 2; j <= cy + 2; ++j) {
        for (int i = cx - 2; i <= cx + 2; ++i) {
            const int wi = wrap(i, cells), wj = wrap(j, cells);
            const double px = (i + 0.5 + jitter * (hash01(wi, wj, seed) - 0.5)) * size;
            const double py = (j + 0.5 + jitter * (hash01(wi, wj, seed + 1) - 0.5)) * size;
            const double dist = std::hypot(x - px, y - py);
            if (dist < d.nearest) {
                d.second = d.nearest;
                d.nearest = dist;
                d.cellX = wi;
                d.cellY = wj;
                d.offsetX = x - px;
                d.offsetY = y - py;
            } else if (dist < d.second) {
                d.second = dist;
            }
        }
    }
    return d;
}

// ---------------------------------------------------------------- fish

// A fish profile seen from the side, and where its skin lies in the bitmap.
struct FishOutline {
    static constexpr int MaxRings = 64;
    int rings = 0;
    double x[MaxRings], top[MaxRings], bottom[MaxRings], radiusZ[MaxRings];
    double xMin = 0, xMax = 0, yMin = 0, yMax = 0;  // the built model's box
    // Mapping rectangle in bitmap pixels from the bottom-left.
    double left = 0, width = 0, lower = 0, height = 0;
    double widest = 0;  // x of the ring with the largest radiusZ
};

FishOutline outlineOf(const SpeciesTable& table) {
    static Mesh mesh;  // 0.5 MB: static storage
    initMesh(mesh);
    const LatheSkin skin = buildLatheGeometry(mesh, table.rows, table.rowCount);
    FishOutline f;
    f.xMin = mesh.xMin;
    f.xMax = mesh.xMax;
    f.yMin = mesh.yMin;
    f.yMax = mesh.yMax;
    const double scale = Edge / static_cast<double>(skin.textureSize);
    f.left = skin.uOrigin * scale;
    f.width = (skin.uSpan + 1.0) * scale;
    f.lower = skin.vOrigin * scale;
    f.height = (skin.vSpan + 1.0) * scale;
    double widestRadius = -1.0;
    for (int j = 3; j < table.rowCount && f.rings < FishOutline::MaxRings; ++j) {
        const float* v = table.rows[j].values;
        f.x[f.rings] = v[0];
        f.top[f.rings] = static_cast<double>(v[1]) + v[4];
        f.bottom[f.rings] = static_cast<double>(v[1]) - v[4];
        f.radiusZ[f.rings] = v[3];
        if (v[3] > widestRadius) {
            widestRadius = v[3];
            f.widest = v[0];
        }
        ++f.rings;
    }
    return f;
}

// Model coordinates of a bitmap position (pixels from the bottom-left), the
// inverse of the texture mapping.
double modelX(const FishOutline& f, double px) {
    return f.xMin + (px - f.left) / f.width * (f.xMax - f.xMin);
}
double modelY(const FishOutline& f, double py) {
    return f.yMin + (py - f.lower) / f.height * (f.yMax - f.yMin);
}
double pixelsPerUnitY(const FishOutline& f) { return f.height / (f.yMax - f.yMin); }

// The outline at x, interpolated between rings; false outside the rings.
struct Station {
    double top, bottom, radiusZ;
    double along;  // 0 at the snout, 1 at the tail's end
};

bool stationAt(const FishOutline& f, double x, Station& s) {
    if (f.rings < 2 || x < f.x[0] || x > f.x[f.rings - 1]) return false;
    int i = 0;
    while (i < f.rings - 2 && x > f.x[i + 1]) ++i;
    const double t = (x - f.x[i]) / (f.x[i + 1] - f.x[i]);
    s.top = f.top[i] + (f.top[i + 1] - f.top[i]) * t;
    s.bottom = f.bottom[i] + (f.bottom[i + 1] - f.bottom[i]) * t;
    s.radiusZ = f.radiusZ[i] + (f.radiusZ[i + 1] - f.radiusZ[i]) * t;
    s.along = (x - f.x[0]) / (f.x[f.rings - 1] - f.x[0]);
    return true;
}

// What a species' painter is told about one sample on the fish.
struct FishSample {
    double x, y;        // model coordinates
    double along;       // 0 snout .. 1 tail end
    double up;          // 0 belly outline .. 1 back outline
    double toTop;       // pixels to the back outline (negative outside)
    double toBottom;    // pixels to the belly outline
    double tail;        // 0 body .. 1 tail fin (thin rings behind the widest one)
    double dorsal;      // 0 .. 1 inside the dorsal fin band
    double anal;        // 0 .. 1 inside the anal fin band
    double eye;         // distance to the eye centre in eye radii
};

struct FishStyle {
    double eyeAlong, eyeUp, eyeRadius;  // eye position and radius (model units)
    double dorsalFrom, dorsalTo, dorsalDepth;  // along-range and depth (share of height)
    double analFrom, analTo, analDepth;
    double tailThin;  // radiusZ below which a ring behind the widest counts as fin
};

using Painter = Colour (*)(const FishSample&);

// The fin band along one outline: rises and falls over [from, to].
double finBand(double along, double from, double to, double depth, double share) {
    if (depth <= 0.0 || along <= from || along >= to) return 0.0;
    const double t = (along - from) / (to - from);
    const double profile = std::sin(Pi * std::pow(t, 0.8));
    return share < depth * profile ? smoothstep(depth * profile, depth * profile * 0.7, share) : 0.0;
}

void paintFish(Picture& picture, const SpeciesTable& table, const FishStyle& style,
               Painter painter, Colour ground) {
    const FishOutline f = outlineOf(table);
    // The skin reaches one pixel beyond the outline so that filtering never
    // pulls the ground colour onto the body's edge.
    const double marginY = 1.0 / pixelsPerUnitY(f);

    // Eye centre in model units.
    Station eyeStation{};
    const double eyeX = f.x[0] + style.eyeAlong * (f.x[f.rings - 1] - f.x[0]);
    stationAt(f, eyeX, eyeStation);
    const double eyeY = eyeStation.bottom + style.eyeUp * (eyeStation.top - eyeStation.bottom);

    for (int row = 0; row < Edge; ++row) {
        for (int column = 0; column < Edge; ++column) {
            Colour sum{0, 0, 0};
            for (int sy = 0; sy < Supersample; ++sy) {
                for (int sx = 0; sx < Supersample; ++sx) {
                    const double px = column + (sx + 0.5) / Supersample;
                    const double py = row + (sy + 0.5) / Supersample;
                    Colour c = ground;
                    const bool inRectangle = px >= f.left && px < f.left + f.width &&
                                             py >= f.lower && py < f.lower + f.height;
                    const double x = modelX(f, px), y = modelY(f, py);
                    Station s{};
                    if (inRectangle && stationAt(f, x, s) && y <= s.top + marginY &&
                        y >= s.bottom - marginY) {
                        FishSample sample{};
                        sample.x = x;
                        sample.y = y;
                        sample.along = s.along;
                        const double h = s.top - s.bottom;
                        sample.up = h > 0.0 ? clamp01((y - s.bottom) / h) : 0.5;
                        sample.toTop = (s.top - y) * pixelsPerUnitY(f);
                        sample.toBottom = (y - s.bottom) * pixelsPerUnitY(f);
                        sample.tail = x > f.widest
                                          ? smoothstep(style.tailThin * 1.6, style.tailThin, s.radiusZ)
                                          : 0.0;
                        sample.dorsal = finBand(s.along, style.dorsalFrom, style.dorsalTo,
                                                style.dorsalDepth, 1.0 - sample.up);
                        sample.anal = finBand(s.along, style.analFrom, style.analTo,
                                              style.analDepth, sample.up);
                        sample.eye = std::hypot(x - eyeX, y - eyeY) / style.eyeRadius;
                        c = painter(sample);
                    }
                    sum = sum + c;
                }
            }
            picture.pixels[row][column] = sum * (1.0 / (Supersample * Supersample));
        }
    }
}

// Three-stop body gradient: back (up = 1) darker, belly (up = 0) paler.
Colour bodyShade(const FishSample& s, Colour belly, Colour flank, Colour back) {
    const Colour c = s.up < 0.5 ? mix(belly, flank, smoothstep(0.05, 0.5, s.up))
                                : mix(flank, back, smoothstep(0.5, 1.0, s.up));
    // A little roundness: the last pixel or two at the outlines fall off.
    const double rim = smoothstep(0.0, 2.5, std::fmin(s.toTop, s.toBottom));
    return c * (0.82 + 0.18 * rim);
}

// Faint scales: a diagonal lattice that brightens the body by a few percent.
Colour scales(const FishSample& s, Colour c, double strength) {
    const double a = std::sin(s.x * 40.0 + s.y * 40.0) * std::sin(s.x * 40.0 - s.y * 40.0);
    return c * (1.0 + strength * a);
}

// Fin membrane with rays: rays run towards the fin's outer edge.
Colour finRays(const FishSample& s, Colour c, double frequency) {
    const double ray = 0.5 + 0.5 * std::sin(frequency * (s.y * 0.6 + s.x * 0.25));
    return c * (0.88 + 0.12 * ray);
}

// Eye: dark pupil, pale iris ring, small highlight.
Colour eye(const FishSample& s, Colour around, Colour iris) {
    if (s.eye > 1.15) return around;
    if (s.eye > 1.0) return mix(iris, around, (s.eye - 1.0) / 0.15);
    if (s.eye > 0.6) return iris;
    return rgb(10, 10, 14);
}

// Gill cover: a thin darker arc behind the eye.
Colour gill(const FishSample& s, Colour c, double along, double depth) {
    // Bulges backwards at mid-height, fades out towards back and belly.
    const double bend = 0.05 * (0.25 - (s.up - 0.5) * (s.up - 0.5));
    const double d = std::fabs(s.along - (along + bend));
    const double fade = smoothstep(0.12, 0.3, s.up) * smoothstep(0.9, 0.72, s.up);
    return c * (1.0 - depth * fade * smoothstep(0.009, 0.004, d));
}

// ---------------------------------------------------------------- species

// 101: pink-lilac, paler belly, pale fins.
Colour paint101(const FishSample& s) {
    Colour c = bodyShade(s, rgb(236, 196, 226), rgb(206, 140, 198), rgb(150, 92, 152));
    c = scales(s, c, 0.03);
    c = gill(s, c, 0.2, 0.25);
    const double fin = std::fmax(s.tail, std::fmax(s.dorsal, s.anal));
    c = mix(c, finRays(s, rgb(238, 222, 240), 60.0), fin * 0.9);
    return eye(s, c, rgb(226, 200, 120));
}

// 102: deep blue with black markings and a yellow tail.
Colour paint102(const FishSample& s) {
    Colour c = bodyShade(s, rgb(70, 120, 220), rgb(28, 70, 190), rgb(18, 40, 130));
    c = scales(s, c, 0.03);
    // A black sweep from behind the eye along the upper flank to the tail,
    // closing into a loop around a blue patch.
    const double centre = 0.62 + 0.10 * std::sin(Pi * clamp01((s.along - 0.18) / 0.62));
    const double band = std::fabs(s.up - centre);
    if (s.along > 0.18 && s.along < 0.8) {
        const double grow = smoothstep(0.18, 0.3, s.along) * smoothstep(0.8, 0.68, s.along);
        const double patch = std::hypot((s.along - 0.5) / 0.13, (s.up - 0.6) / 0.09);
        if (band < 0.17 * grow && patch > 1.0) c = rgb(8, 8, 14);
    }
    // Black edges on dorsal and anal fins.
    if ((s.dorsal > 0.0 && s.toTop < 2.0) || (s.anal > 0.0 && s.toBottom < 2.0))
        c = rgb(10, 10, 20);
    const Colour yellow = finRays(s, rgb(252, 212, 30), 50.0);
    c = mix(c, yellow, s.tail);
    c = gill(s, c, 0.17, 0.35);
    return eye(s, c, rgb(40, 60, 110));
}

// 103: pale blue-green with a green tail.
Colour paint103(const FishSample& s) {
    Colour c = bodyShade(s, rgb(214, 240, 230), rgb(150, 212, 200), rgb(96, 168, 160));
    c = scales(s, c, 0.03);
    c = gill(s, c, 0.22, 0.2);
    c = mix(c, finRays(s, rgb(180, 226, 214), 80.0), std::fmax(s.dorsal, s.anal) * 0.8);
    c = mix(c, finRays(s, rgb(60, 176, 70), 80.0), s.tail);
    return eye(s, c, rgb(200, 210, 160));
}

// Rayed fins in `finColour` whose outer rims, and the tail's end from
// `tailEdgeFrom` to `tailEdgeTo` of the length, take `edgeColour`.
Colour edgedFins(const FishSample& s, Colour c, Colour finColour, double rays, Colour edgeColour,
                 double tailEdgeFrom, double tailEdgeTo) {
    const double fin = std::fmax(s.tail, std::fmax(s.dorsal, s.anal));
    c = mix(c, finRays(s, finColour, rays), fin);
    const double rim = std::fmin(s.toTop, s.toBottom);
    const double edge =
        fin * smoothstep(3.0, 1.5, rim) + s.tail * smoothstep(tailEdgeFrom, tailEdgeTo, s.along);
    return mix(c, edgeColour, clamp01(edge));
}

// 104: orange-red with dark vertical bars and blue-edged fins.
Colour paint104(const FishSample& s) {
    Colour c = bodyShade(s, rgb(246, 130, 70), rgb(228, 78, 30), rgb(170, 48, 18));
    c = scales(s, c, 0.03);
    // Three dark bars, slightly curved, the last on the tail's root.
    const double bars[3] = {0.27, 0.47, 0.64};
    for (double b : bars) {
        const double centre = b + 0.02 * (s.up - 0.5);
        const double d = std::fabs(s.along - centre);
        c = mix(c, rgb(70, 18, 10), smoothstep(0.04, 0.028, d));
    }
    // Blue edge along the outer rim of every fin, and the tail's end.
    c = edgedFins(s, c, rgb(236, 96, 36), 60.0, rgb(40, 96, 230), 0.955, 0.985);
    return eye(s, c, rgb(230, 190, 60));
}

// 105: slender orange-red with thin pale stripes and yellow-edged fins.
Colour paint105(const FishSample& s) {
    Colour c = bodyShade(s, rgb(246, 140, 90), rgb(226, 84, 38), rgb(168, 52, 24));
    c = scales(s, c, 0.03);
    // Thin pale stripes along the body at fixed heights (model units), so they
    // run straight past the steps of the outline; kept off the fins.
    const double stripes[3] = {-0.075, 0.0, 0.075};
    const double body = (1.0 - s.tail) * (1.0 - std::fmax(s.dorsal, s.anal)) *
                        smoothstep(0.18, 0.26, s.along) * smoothstep(0.78, 0.7, s.along);
    for (double st : stripes) {
        const double d = std::fabs(s.y - st);
        c = mix(c, rgb(255, 222, 190), body * smoothstep(0.016, 0.008, d));
    }
    c = edgedFins(s, c, rgb(232, 100, 44), 70.0, rgb(255, 224, 40), 0.94, 0.98);
    c = gill(s, c, 0.2, 0.25);
    return eye(s, c, rgb(240, 210, 120));
}

// 108: bright yellow with a pointed snout (the profile's long narrow front).
Colour paint108(const FishSample& s) {
    Colour c = bodyShade(s, rgb(255, 240, 90), rgb(255, 222, 0), rgb(232, 184, 0));
    c = scales(s, c, 0.03);
    c = gill(s, c, 0.3, 0.15);
    const double fin = std::fmax(s.tail, std::fmax(s.dorsal, s.anal));
    c = mix(c, finRays(s, rgb(255, 230, 40), 50.0), fin);
    // Darker lip along the snout's underside.
    if (s.along < 0.12) c = c * (1.0 - 0.25 * smoothstep(2.5, 0.5, s.toBottom));
    return eye(s, c, rgb(40, 30, 20));
}

// ---------------------------------------------------------------- ground

// 106: dark grey-brown gravel of small pebbles.
void paintGravel(Picture& picture) {
    for (int row = 0; row < Edge; ++row) {
        for (int column = 0; column < Edge; ++column) {
            Colour sum{0, 0, 0};
            for (int sy = 0; sy < Supersample; ++sy) {
                for (int sx = 0; sx < Supersample; ++sx) {
                    const double x = column + (sx + 0.5) / Supersample;
                    const double y = row + (sy + 0.5) / Supersample;
                    const CellDistances d = cellDistances(x, y, 13, 0.8, 106);
                    const double tone = hash01(d.cellX, d.cellY, 1106);
                    const double warmth = hash01(d.cellX, d.cellY, 2106);
                    Colour pebble = mix(rgb(88, 82, 78), rgb(104, 86, 66), warmth);
                    pebble = pebble * (0.6 + 0.65 * tone);
                    // Rounded top lit from the upper left.
                    // 0 at a pebble's centre, 1 on the border with the next one.
                    const double edge = 2.0 * d.nearest / (d.nearest + d.second);
                    const double radius = 5.0;
                    const double lit = clamp01(0.5 - 0.5 * (d.offsetX - d.offsetY) / (radius * 1.4));
                    pebble = pebble * (0.8 + 0.4 * lit) * (1.0 - 0.35 * edge * edge);
                    pebble = pebble * (0.92 + 0.16 * periodicNoise(x, y, 32, 3106));
                    // Dark gaps between the rounded pebbles.
                    const double gap = d.second - d.nearest;
                    const double inside = smoothstep(0.5, 2.2, gap) * smoothstep(1.0, 0.75, edge);
                    const Colour c = mix(rgb(26, 22, 20), pebble, inside);
                    sum = sum + c;
                }
            }
            picture.pixels[row][column] = sum * (1.0 / (Supersample * Supersample));
        }
    }
}

// 107: white ground with thin grey irregular cell lines.
void paintCaustics(Picture& picture) {
    for (int row = 0; row < Edge; ++row) {
        for (int column = 0; column < Edge; ++column) {
            Colour sum{0, 0, 0};
            for (int sy = 0; sy < Supersample; ++sy) {
                for (int sx = 0; sx < Supersample; ++sx) {
                    const double x = column + (sx + 0.5) / Supersample;
                    const double y = row + (sy + 0.5) / Supersample;
                    // Warp the plane with periodic noise so the cells wobble.
                    const double wx = x + 7.0 * (periodicNoise(x, y, 8, 7107) - 0.5);
                    const double wy = y + 7.0 * (periodicNoise(x, y, 8, 8107) - 0.5);
                    const CellDistances d =
                        cellDistances(std::fmod(wx + Edge, Edge), std::fmod(wy + Edge, Edge), 6, 0.9, 107);
                    const double width = 0.9 + 1.2 * periodicNoise(x, y, 16, 9107);
                    const double line = smoothstep(width + 0.8, width * 0.5, d.second - d.nearest);
                    const Colour ground = rgb(246, 246, 244) * (0.98 + 0.02 * periodicNoise(x, y, 16, 5107));
                    sum = sum + mix(ground, rgb(150, 152, 156), line);
                }
            }
            picture.pixels[row][column] = sum * (1.0 / (Supersample * Supersample));
        }
    }
}

// ---------------------------------------------------------------- output

void fill(Picture& picture, Colour c) {
    for (auto& row : picture.pixels)
        for (Colour& p : row) p = c;
}

void put32(unsigned char* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<unsigned char>(v >> (8 * i));
}

unsigned char toByte(double v) {
    const double r = std::floor(v + 0.5);
    return static_cast<unsigned char>(r < 0.0 ? 0.0 : (r > 255.0 ? 255.0 : r));
}

bool writeBitmap(const Picture& picture, const std::string& path) {
    constexpr std::uint32_t PixelBytes = Edge * Edge * 3;  // rows of 384 bytes: no padding
    unsigned char header[54] = {'B', 'M'};
    put32(header + 2, 54 + PixelBytes);
    put32(header + 10, 54);
    put32(header + 14, 40);
    put32(header + 18, Edge);
    put32(header + 22, Edge);  // positive: bottom-up rows
    header[26] = 1;            // planes
    header[28] = 24;           // bits a pixel
    put32(header + 34, PixelBytes);
    put32(header + 38, 2835);  // 72 dpi
    put32(header + 42, 2835);
    static unsigned char pixels[PixelBytes];
    for (int row = 0; row < Edge; ++row) {
        for (int column = 0; column < Edge; ++column) {
            const Colour& c = picture.pixels[row][column];
            unsigned char* p = pixels + (row * Edge + column) * 3;
            p[0] = toByte(c.b);
            p[1] = toByte(c.g);
            p[2] = toByte(c.r);
        }
    }
    AtomicFile file;
    if (openAtomicFile(file, path) &&
        std::fwrite(header, 1, sizeof header, file.file) == sizeof header &&
        std::fwrite(pixels, 1, PixelBytes, file.file) == PixelBytes && commitAtomicFile(file))
        return true;
    discardAtomicFile(file);
    reportWriteError("aquarium-make-bitmaps", path);
    return false;
}

struct FishSkin {
    int species;
    FishStyle style;
    Painter painter;
    Colour ground;
};

const Colour Black = rgb(0, 0, 0);

// eye along, up, radius; dorsal from, to, depth; anal from, to, depth; tail radiusZ
const FishSkin fishSkins[] = {
    {101, {0.13, 0.6, 0.075, 0.38, 0.82, 0.22, 0.5, 0.82, 0.2, 0.02}, paint101, Black},
    {102, {0.1, 0.62, 0.11, 0.3, 0.8, 0.1, 0.45, 0.8, 0.08, 0.025}, paint102, Black},
    {103, {0.13, 0.6, 0.038, 0.35, 0.62, 0.18, 0.45, 0.62, 0.14, 0.021}, paint103, Black},
    {104, {0.13, 0.64, 0.08, 0.3, 0.66, 0.14, 0.52, 0.66, 0.12, 0.011}, paint104, Black},
    {105, {0.12, 0.62, 0.036, 0.4, 0.64, 0.2, 0.5, 0.64, 0.16, 0.021}, paint105, Black},
    {108, {0.22, 0.66, 0.075, 0.35, 0.78, 0.16, 0.45, 0.78, 0.14, 0.021}, paint108,
     rgb(193, 189, 68)},
};

}  // namespace

int main(int argc, char** argv) {
    constexpr const char* Program = "aquarium-make-bitmaps";
    constexpr const char* Usage =
        "usage: aquarium-make-bitmaps FOLDER\n"
        "Paints the species skins, the gravel and the caustics as FOLDER/<id>.bmp\n"
        "(101-108). Each file replaces the old one only once wholly written.\n"
        "Exit status: 0 written, 1 a file could not be written, 2 bad arguments.\n";
    if (helpRequested(argc, argv)) return printToStdout(Program, Usage);
    if (argc != 2 || argv[1][0] == '-' || argv[1][0] == '\0') {
        std::fprintf(stderr, "%s: %s\n%s", Program,
                     argc < 2 ? "no folder" : (argc > 2 ? "too many arguments" : "bad folder"),
                     Usage);
        return 2;
    }
    const std::string dir = argv[1];
    auto picture = std::make_unique<Picture>();
    bool ok = true;
    for (const FishSkin& skin : fishSkins) {
        const SpeciesTable* table = findSpeciesTable(skin.species);
        if (table == nullptr) {
            std::fprintf(stderr, "%s: no species table %d\n", Program, skin.species);
            return 1;
        }
        fill(*picture, skin.ground);
        paintFish(*picture, *table, skin.style, skin.painter, skin.ground);
        // The first failure stops the run: the rest would fail the same way.
        if (!writeBitmap(*picture, dir + "/" + std::to_string(skin.species) + ".bmp")) return 1;
    }
    paintGravel(*picture);
    ok = writeBitmap(*picture, dir + "/106.bmp");
    paintCaustics(*picture);
    ok = ok && writeBitmap(*picture, dir + "/107.bmp");
    return ok ? 0 : 1;
}
