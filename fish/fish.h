// One swimming fish: its body mesh followed by motion, flock and link state.
#pragma once

#include "mesh/lathe.h"
#include "mesh/mesh.h"

#include <cstdint>

struct Decoration;

struct Fish : Mesh {
    // Vector fields use x, y, z only.
    Vertex position;           // world position of the model's origin
    Vertex orientation;        // degrees: y yaw about y, z pitch about z (applied first); x is 0
    Vertex velocity;           // units per frame
    Vertex rampStartPosition;  // position when the current ramp began
    Vertex rampStartVelocity;  // the previous ramp's targetVelocity
    Vertex targetVelocity;     // velocity reached at the end of the ramp
    float size;                // body length; half of it is kept from the walls
    float yieldDistance;       // predicted-end distance under which it yields
    float flockRadius;
    float wanderChance;        // 0..10 per axis
    float maxSpeed;            // largest displacement per axis one ramp asks for
    std::uint32_t rampStartTime;  // tick count (ms) when the current ramp began
    std::int32_t stepCount;       // frames since the current ramp began
    std::int32_t lastStepCount;   // frames the previous ramp lasted
    std::int32_t rampPeriod;      // ms, 500..1500, fixed for life
    std::int32_t species;         // species number, also its skin's bitmap id
    float priority;               // right of way: yields to strictly higher
    Vertex flockCentre;
    Vertex flockHeading;
    bool flocking;
    bool flockShared;
    Fish* school;  // every fish of the scene, this one included (not owned)
    std::int32_t schoolCount;
    Decoration* obstacles;  // the scene's decorations (not owned)
    std::int32_t obstacleCount;
};

constexpr int FishCapacity = 9;

// Constructs a fish in place: empty mesh, reseeds the generator from the tick
// count times a draw, draws its ramp period, and starts it at rest at the
// centre of the tank.
void constructFish(Fish& fish);

// setBehaviourNumbers (behaviour_file.h) from row 2 of a profile table,
// truncating; a table of fewer than three rows changes nothing.
void applyBehaviourParameters(Fish& fish, const ProfileRow* rows, int count);

void linkSchool(Fish& fish, Fish* school, int count);
void linkObstacles(Fish& fish, Decoration* obstacles, int count);

Vertex getPosition(const Fish& fish);
Vertex getVelocity(const Fish& fish);
int getSpecies(const Fish& fish);
float getPriority(const Fish& fish);
// Where the current ramp would leave the fish after lastStepCount frames.
Vertex predictedRampEnd(const Fish& fish);

void setFlockShared(Fish& fish, bool shared);
void setFlockHeading(Fish& fish, Vertex heading);
void setFlockCentre(Fish& fish, Vertex centre);

// Build switches (CMake options AQUARIUM_SWIM_ANIMATION and
// AQUARIUM_DEBUG_OVERLAY, both off by default): plain constants, never changed
// at run time. When on, drawFish applies the swim animation before drawing,
// and draws the flock lines of every fish that flocks.
#ifndef AQUARIUM_SWIM_ANIMATION
#define AQUARIUM_SWIM_ANIMATION 0
#endif
#ifndef AQUARIUM_DEBUG_OVERLAY
#define AQUARIUM_DEBUG_OVERLAY 0
#endif
constexpr bool swimAnimationEnabled = AQUARIUM_SWIM_ANIMATION != 0;
constexpr bool debugOverlayEnabled = AQUARIUM_DEBUG_OVERLAY != 0;

// In fish_gl.cpp: draws the fish in the current model-view frame (needs a
// current rendering context); leaves the matrix stack as it found it.
void drawFish(Fish& fish);
