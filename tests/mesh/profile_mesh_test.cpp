#include "mesh/profile_mesh.h"

#include "data/species_tables.h"
#include "mesh/gl_api.h"
#include "mesh/lathe_mesh.h"
#include "tests/support/gl_test_context.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <limits>
#include <memory>
#include <string>

namespace {

std::unique_ptr<Mesh> emptyMesh() {
    auto mesh = std::make_unique<Mesh>();
    initMesh(*mesh);
    return mesh;
}

class ProfileMesh : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(ensureGlTestContext());
        guard = std::make_unique<GlStateGuard>();
    }
    void TearDown() override {
        guard.reset();
        std::remove(path.c_str());
    }

    // Writes `table` as a profile file, blanks between the numbers; without
    // its bitmap id line 0 is left empty.
    void writeProfile(const SpeciesTable& table, bool withBitmap = true) {
        std::ofstream out(path);
        out.precision(std::numeric_limits<float>::max_digits10);
        if (!withBitmap) out << "\n";
        for (int j = withBitmap ? 0 : 1; j < table.rowCount; ++j) {
            for (int i = 0; i < 7; ++i) out << (i ? " " : "") << table.rows[j].values[i];
            out << "\n";
        }
    }

    std::string path =
        ::testing::TempDir() + "profile-mesh-" + std::to_string(getpid()) + ".txt";
    std::unique_ptr<GlStateGuard> guard;
};

}  // namespace

TEST_F(ProfileMesh, LoadsTheSkinAndMapsItAsTheTableBuilderDoes) {
    const SpeciesTable* table = findSpeciesTable(105);
    writeProfile(*table);
    auto expected = emptyMesh();
    buildLatheMesh(*expected, table->rows, table->rowCount);
    auto read = emptyMesh();
    readProfileFile(*read, path.c_str());
    ASSERT_NE(getTexture(*read), 0u);
    EXPECT_EQ(glIsTexture(getTexture(*read)), GL_TRUE);
    ASSERT_EQ(getVertexCount(*read), getVertexCount(*expected));
    ASSERT_EQ(getTriangleCount(*read), getTriangleCount(*expected));
    for (int i = 0; i < getVertexCount(*read); ++i) {
        EXPECT_EQ(read->vertices[i].x, expected->vertices[i].x);
        EXPECT_EQ(read->vertices[i].u, expected->vertices[i].u);
        EXPECT_EQ(read->vertices[i].v, expected->vertices[i].v);
    }
}

TEST_F(ProfileMesh, KeepsATextureItAlreadyHas) {
    writeProfile(*findSpeciesTable(101));
    auto mesh = emptyMesh();
    setTexture(*mesh, 4242);
    readProfileFile(*mesh, path.c_str());
    EXPECT_EQ(getTexture(*mesh), 4242u);
    EXPECT_EQ(getVertexCount(*mesh), 8 * 37);
}

TEST_F(ProfileMesh, FileNamingNoSkinLoadsNone) {
    writeProfile(*findSpeciesTable(103), false);
    auto mesh = emptyMesh();
    readProfileFile(*mesh, path.c_str());
    EXPECT_EQ(getTexture(*mesh), 0u);
    EXPECT_GT(getVertexCount(*mesh), 0);

    auto none = emptyMesh();
    readProfileFile(*none, (path + ".missing").c_str());
    EXPECT_EQ(getTexture(*none), 0u);
    EXPECT_EQ(getVertexCount(*none), 0);
}
