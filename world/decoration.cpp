#include "world/decoration.h"

#include "mesh/random.h"
#include "world/rock.h"

void constructDecoration(Decoration& decoration) {
    initMesh(decoration);
    decoration.position = Vertex{};
    // One draw for the yaw, 0 to 360 degrees inclusive, before the rock's 36.
    decoration.yaw = static_cast<float>(randomNext()) / static_cast<float>(RandomMax) * 360.0f;
    decoration.radius = 0.0f;
    generateRock(decoration);
}

void setPosition(Decoration& decoration, float x, float y, float z) {
    decoration.position.x = x;
    decoration.position.y = y;
    decoration.position.z = z;
}

bool containsPoint(const Decoration& decoration, float x, float y, float z, float margin) {
    const float dx = x - decoration.position.x;
    const float dy = y - decoration.position.y;
    const float dz = z - decoration.position.z;
    const float half = margin / 2.0f;
    // Written so that an unordered comparison (NaN) answers false. The bottom
    // and top faces belong to the cylinder, its curved wall does not.
    if (!(dy >= -half)) return false;
    if (!(dy <= half + 1.0f)) return false;
    const double reach = static_cast<double>(decoration.radius + margin);
    const double distance2 = static_cast<double>(dx) * dx + static_cast<double>(dz) * dz;
    return distance2 < reach * reach;
}

bool blocksSegment(const Decoration& decoration, Vertex start, Vertex end, float margin) {
    const float stepX = (end.x - start.x) / 10.0f;
    const float stepY = (end.y - start.y) / 10.0f;
    const float stepZ = (end.z - start.z) / 10.0f;
    float x = start.x, y = start.y, z = start.z;
    // Ten samples: the start is tested, the end is not.
    for (int i = 0; i < 10; ++i) {
        if (containsPoint(decoration, x, y, z, margin)) return true;
        x += stepX;
        y += stepY;
        z += stepZ;
    }
    return false;
}
