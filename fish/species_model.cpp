#include "fish/species_model.h"

#include <cmath>

int speciesNumber(const ProfileRow* rows, int count) {
    if (rows == nullptr || count < 1) return 0;
    const float value = std::trunc(rows[0].values[0]);
    if (!(value >= -2147483648.0f && value < 2147483648.0f)) return 0;
    return static_cast<int>(value);
}

void buildSpeciesGeometry(Fish& fish, const ProfileRow* rows, int count) {
    fish.species = speciesNumber(rows, count);
    const LatheSkin skin = buildLatheGeometry(fish, rows, count);
    mapLatheSkin(fish, skin);
    applyBehaviourParameters(fish, rows, count);
}
