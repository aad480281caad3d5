// The fixed layout of the aquarium: which species are turned onto which fish,
// and where the seventeen rock slabs of the arch stand. Shared by the drawn
// scene and the headless simulation so both build the same tank.
#pragma once

constexpr int SceneFishCount = 9;
constexpr int PlacedRockCount = 17;
constexpr int RockTextureResource = 106;   // gravel
constexpr int FloorTextureResource = 107;

// The species tables in the order they are built, with the number of fish
// each gets; fish indices run on from 0 through the whole list (101 and 105
// get none, so their tables and skins are never used).
struct SpeciesBuild {
    int species;    // species number, also its skin's bitmap id
    int fishCount;  // consecutive fish built from this table
};

constexpr int SpeciesBuildCount = 6;
constexpr SpeciesBuild SpeciesBuildOrder[SpeciesBuildCount] = {
    {101, 0}, {103, 6}, {102, 1}, {105, 0}, {104, 1}, {108, 1},
};

// Centre of each slab's underside (x, y, z), decorations 0 to 16: two pillars
// rising from the floor at x = -15 and x = -2, leaning together, and three
// slabs across the top.
constexpr float RockPositions[PlacedRockCount][3] = {
    {-15.0f, -12.0f, 1.0f},  {-14.5f, -11.0f, 1.0f}, {-14.0f, -10.0f, 1.0f},
    {-13.5f, -9.0f, 1.0f},   {-13.0f, -8.0f, 1.0f},  {-12.0f, -7.0f, 1.0f},
    {-11.0f, -6.0f, 1.0f},   {-2.0f, -12.0f, -1.0f}, {-2.5f, -11.0f, -1.0f},
    {-3.0f, -10.0f, -1.0f},  {-3.5f, -9.0f, -1.0f},  {-3.0f, -8.0f, -1.0f},
    {-4.0f, -7.0f, -1.0f},   {-5.0f, -6.0f, -1.0f},  {-5.0f, -5.0f, 1.0f},
    {-11.0f, -5.0f, 1.0f},   {-8.0f, -4.0f, 0.0f},
};
