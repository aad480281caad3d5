// The compiled species profile tables.
#pragma once

#include "mesh/lathe.h"

extern const ProfileRow profile101[40];
extern const ProfileRow profile102[35];
extern const ProfileRow profile103[22];
extern const ProfileRow profile104[45];
extern const ProfileRow profile105[25];
extern const ProfileRow profile108[43];

struct SpeciesTable {
    int species;  // species number, also the bitmap id of its skin
    const ProfileRow* rows;
    int rowCount;
};

constexpr int SpeciesTableCount = 6;

// The six tables in order of species number.
extern const SpeciesTable speciesTables[SpeciesTableCount];

// The table of one species, or nullptr.
const SpeciesTable* findSpeciesTable(int species);
