// Where the aquarium is drawn when one window spans several monitors: one
// view per monitor, each with its own aspect, all of the same scene.
//
// Rectangles come from the window system in desktop coordinates (y down,
// possibly negative left of or above the primary monitor); views go out as GL
// viewports, in pixels from the window's lower-left corner. Pure: the hosts
// only read the rectangles.
#pragma once

struct ViewRect {
    int x, y;           // desktop: top-left corner; viewport: lower-left corner
    int width, height;  // pixels, both above 0 in a layout
};

constexpr int MaxViews = 16;

struct ViewLayout {
    int count;  // 1 .. MaxViews
    ViewRect views[MaxViews];
};

// One view for each monitor that overlaps `window`, clipped to it, in the
// order given; a monitor that repeats an earlier one's rectangle (mirrored
// displays) or covers nothing of the window adds none, nor does one past
// MaxViews views. With no view left (no monitors, none on the window) the
// whole window is the one view.
ViewLayout layoutViews(const ViewRect* monitors, int count, const ViewRect& window);

// Vertical field of view in degrees for a view of width x height pixels: 45
// for a view at least as wide as it is tall. A taller view widens it so that
// it sees across what the same view turned on its side would see, keeping the
// whole tank width in sight: tan(f / 2) = tan(22.5 degrees) x (height /
// width)^2, at most 170 degrees.
double verticalFieldOfView(int width, int height);

// True when the layout is the whole window as one view: the single-monitor
// case, drawn exactly as a plain window is.
bool isWholeWindow(const ViewLayout& layout, const ViewRect& window);
