// The contract between the portable core and the platform it runs on.
//
// Every backend (win32_*, x11_*, offscreen_*) defines all of these; CMake links
// exactly one backend into each executable (see AQUARIUM_HOST). Portable code
// reads time only through hostTickCount / hostCalendarSeconds, shows text to
// the user only through hostShowMessage and reads bitmaps only through
// loadBitmapImage.
#pragma once

#include "mesh/texture.h"

#include <cstdint>

// Milliseconds since the system (or, for the virtual clock, the run) started.
// Wraps modulo 2^32, about every 49.7 days: compare differences, never sums.
std::uint32_t hostTickCount();

// Whole calendar seconds since 1970 (like time()), 64-bit so that it goes on
// past 2038. Only differences are ever used: the clock may be set back.
std::int64_t hostCalendarSeconds();

// Shows a message to the user: a message box on Windows, stderr on X11, a
// recorded list in the offscreen and test hosts.
enum class MessageKind { Error, Information };
void hostShowMessage(const char* caption, const char* text, MessageKind kind);

// bool loadBitmapImage(int id, RgbImage& image), declared in mesh/texture.h
// where the texture code calls it, is part of this contract: the Windows
// backend reads the program's bitmap resources; the offscreen and X11
// backends link host/embedded_bitmaps.cpp, which decodes the .bmp file images
// compiled into the program.

// Presents the finished frame.
void hostSwapBuffers();
