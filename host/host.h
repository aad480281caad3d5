// The contract between the portable core and the platform it runs on.
//
// Every backend (win32_*, x11_*, offscreen_*) defines all of these; CMake links
// exactly one backend into each executable. Portable code reads time only
// through hostTickCount / hostCalendarSeconds and shows text to the user only
// through hostShowMessage.
#pragma once

#include <cstddef>
#include <cstdint>

// Milliseconds since the system (or, for the virtual clock, the run) started.
// Wraps modulo 2^32, about every 49.7 days: compare differences, never sums.
std::uint32_t hostTickCount();

// Whole calendar seconds (like time()). Only differences are ever used.
std::int32_t hostCalendarSeconds();

// Shows a message to the user: a message box on Windows, stderr on X11, a
// recorded list in the offscreen and test hosts.
enum class MessageKind { Error, Information };
void hostShowMessage(const char* caption, const char* text, MessageKind kind);

// The bytes of bitmap resource `id` (a complete .bmp file image), or
// {nullptr, 0} when the program carries no bitmap with that id.
struct BitmapBytes {
    const unsigned char* data;
    std::size_t size;
};
BitmapBytes hostFindBitmap(int id);

// Presents the finished frame.
void hostSwapBuffers();
