// What the X server says about the screens the saver draws on: where its
// monitors are, and whether the display is switched off.
#pragma once

#include "host/view_layout.h"

#include <X11/Xlib.h>

// The monitors of the default screen in root-window coordinates: RandR 1.5
// monitors when the server reports more than one, else the Xinerama heads
// (RandR on some servers reports one monitor for several heads). Returns how
// many were written to `monitors`, at most `capacity`; 0 when the server
// knows of no more than one, so the whole window is the one view.
int readMonitors(Display* display, ViewRect* monitors, int capacity);

// True while the display power management extension says the monitors are in
// standby, suspend or off. False when the server has no such extension or it
// is disabled. Asks the server and waits for the answer: call it about once a
// second, not every frame.
bool displayPoweredOff(Display* display);
