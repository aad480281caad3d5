// The one way portable code includes OpenGL 1.1 and GLU.
//
// On Windows <GL/gl.h> expects APIENTRY, WINGDIAPI and CALLBACK from
// <windows.h>; they are supplied here instead, so drawing code never pulls the
// platform header (and its near/far/min/max macros) in.
#pragma once

#if defined(_WIN32) && !defined(_WINDOWS_)
#ifndef APIENTRY
#define APIENTRY __stdcall
#define AQUARIUM_DEFINED_APIENTRY
#endif
#ifndef WINGDIAPI
#define WINGDIAPI __declspec(dllimport)
#define AQUARIUM_DEFINED_WINGDIAPI
#endif
#ifndef CALLBACK
#define CALLBACK __stdcall
#define AQUARIUM_DEFINED_CALLBACK
#endif
#include <stddef.h>
#endif

#include <GL/gl.h>
#include <GL/glu.h>

#ifdef AQUARIUM_DEFINED_APIENTRY
#undef APIENTRY
#undef AQUARIUM_DEFINED_APIENTRY
#endif
#ifdef AQUARIUM_DEFINED_WINGDIAPI
#undef WINGDIAPI
#undef AQUARIUM_DEFINED_WINGDIAPI
#endif
#ifdef AQUARIUM_DEFINED_CALLBACK
#undef CALLBACK
#undef AQUARIUM_DEFINED_CALLBACK
#endif
