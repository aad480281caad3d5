// Mesh text files: triangle files (a mesh as lines of corner positions) and
// profile files (a profile table as lines of numbers).
//
// Reading rules shared by every reader: lines are counted from 0, empty ones
// included; a line holds at most 255 characters besides its line end ("\n" or
// "\r\n"); a longer line is dropped and ends the reading, as does the end of
// the input (a last line without a line end is still read). A file that cannot
// be opened reads as empty. Numbers are separated by commas, spaces and tabs,
// runs of separators counting as one; each is converted like atof (leading
// white space skipped, the longest numeric prefix, 0 when there is none; too
// large a magnitude gives an infinity). Numbers beyond a reader's array are
// ignored and missing ones read as 0.
#pragma once

#include "mesh/lathe.h"
#include "mesh/mesh.h"

#include <iosfwd>

// Longest line a reader accepts, line end not counted.
constexpr int MeshFileLineLimit = 255;

// One line as read, its line end removed.
struct MeshFileLine {
    char text[MeshFileLineLimit + 2];  // the characters, a '\r' while reading, the terminator
    int length;                        // characters in text; 0 for an empty line
};

// Reads the next line; false at the end of the input or at an over-long line.
bool readMeshFileLine(std::istream& in, MeshFileLine& line);

// Stores the line's first `capacity` numbers in numbers[0 .. capacity - 1],
// zero for those the line lacks, and returns how many the line gave.
int readLineNumbers(const MeshFileLine& line, float* numbers, int capacity);

// The line's leading integer like atoi, clamped to the range of int.
int readLineInteger(const MeshFileLine& line);

// Writes, per triangle in index order, one "x y z" line per corner (default
// stream format: six significant digits) and then an empty line. False when
// the file cannot be created or a write fails.
bool writeTriangleFile(const Mesh& mesh, const char* name);
bool writeTriangleFile(const Mesh& mesh, std::ostream& out);

// Adds the file's vertices with addVertex (equal positions weld) and, at each
// empty line that follows exactly three vertex lines, their triangle. Corners
// counted before an empty line with fewer than three carry over to the next
// group; a group of more than three adds its vertices, forms no triangle, and
// counting starts again after its empty line.
void readTriangleFile(Mesh& mesh, const char* name);
void readTriangleFile(Mesh& mesh, std::istream& in);

// Builds the lathe geometry of a profile file into an empty mesh exactly as
// buildLatheGeometry does from the same rows: line 0 is the skin's bitmap id,
// line 1 the five mapping parameters, line 2 is skipped, every non-empty line
// after it is a ring (x, centreY, centreZ, radiusZ, radiusY). Loads no texture
// and sets no texture coordinate. A file without line 0 or 1 leaves the bitmap
// id 0 (no skin) or the mapping parameters 0.
LatheSkin readProfileGeometry(Mesh& mesh, const char* name);
LatheSkin readProfileGeometry(Mesh& mesh, std::istream& in);

// Builds the lathe model of a profile file into an empty mesh (see
// readProfileGeometry), loads the skin named by line 0 when the mesh has no
// texture yet, and maps the skin with line 1. A file without line 0 (bitmap
// id 0) loads no skin. Loading needs a current rendering context, and a bitmap
// id that names no bitmap ends the process as texture loading does.
void readProfileFile(Mesh& mesh, const char* name);
