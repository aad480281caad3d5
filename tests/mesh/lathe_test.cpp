#include "mesh/lathe.h"

#include "data/species_tables.h"
#include "tests/support/mesh_fixtures.h"

#include <cstring>
#include <tuple>

// Every species body as built today, to the bit: positions and texture
// coordinates, then normals and triangle corners.
TEST(SpeciesModels, KnownAnswers) {
    const struct {
        int species, vertices, triangles;
        std::uint64_t shape, faces;
    } expected[SpeciesTableCount] = {
        {101, 296, 572, 0x1b72b162188e9e5cu, 0x09e8df06e876e9ebu},
        {102, 256, 492, 0xd060c2a0f9b97c7fu, 0xe22cb2c3c16e0759u},
        {103, 152, 284, 0x4b5e77a68952a4c8u, 0x1a6e01db3bbc4280u},
        {104, 336, 652, 0xbf96c4fd364e2e41u, 0x14584308271283c3u},
        {105, 176, 332, 0x603ce1bedf3fa5a8u, 0xa5640f037a87d42cu},
        {108, 320, 620, 0xfa0828609c9fbde3u, 0xe156fdce160a5d15u},
    };
    for (const auto& e : expected) {
        const SpeciesTable* table = findSpeciesTable(e.species);
        ASSERT_NE(table, nullptr) << e.species;
        auto mesh = emptyMesh();
        const LatheSkin skin = buildLatheGeometry(*mesh, table->rows, table->rowCount);
        mapLatheSkin(*mesh, skin);
        EXPECT_EQ(skin.textureResource, e.species);
        std::uint64_t shape = Fnv1aStart, faces = Fnv1aStart;
        for (int i = 0; i < mesh->vertexCount; ++i) {
            const Vertex& v = mesh->vertices[i];
            const float xyzuv[5] = {v.x, v.y, v.z, v.u, v.v}, normal[3] = {v.nx, v.ny, v.nz};
            shape = fnv1a(shape, xyzuv, sizeof xyzuv);
            faces = fnv1a(faces, normal, sizeof normal);
            EXPECT_EQ(std::memcmp(&mesh->restVertices[i].x, &v.x, 3 * sizeof(float)), 0) << i;
        }
        for (int t = 0; t < mesh->triangleCount; ++t)
            faces = fnv1a(faces, mesh->triangles[t].corners, sizeof mesh->triangles[t].corners);
        EXPECT_EQ(std::make_tuple(mesh->vertexCount, mesh->triangleCount, shape, faces),
                  std::make_tuple(e.vertices, e.triangles, e.shape, e.faces)) << e.species;
    }
}
