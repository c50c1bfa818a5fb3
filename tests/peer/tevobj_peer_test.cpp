// The OBJ that tevtoOBJ writes, read back by an independent OBJ reader
// (tinyobjloader): the same vertex count, the same positions to the six
// significant digits written, and every face.

#include <gtest/gtest.h>
#include <tiny_obj_loader.h>

#include <cmath>
#include <random>

#include "tests/support/test_support.hpp"

namespace {

using namespace ostrel::test;

struct Mesh {
    std::vector<float> xyz;
    std::vector<TevFace> faces;
};

// A grid of quads with a few triangles, positions spread over many magnitudes
// so that both fixed and exponent forms are written.
Mesh randomMesh(size_t side) {
    std::mt19937 random(11);
    std::uniform_real_distribution<float> mantissa(-10, 10);
    std::uniform_int_distribution<int> exponent(-8, 8);
    Mesh mesh;
    for (size_t i = 0; i < (side + 1) * (side + 1) * 3; ++i)
        mesh.xyz.push_back(mantissa(random) * std::pow(10.0f, float(exponent(random))));
    auto at = [&](size_t x, size_t y) { return int32_t(y * (side + 1) + x); };
    for (size_t y = 0; y < side; ++y)
        for (size_t x = 0; x < side; ++x) {
            if ((x + y) % 7 == 0)
                mesh.faces.push_back({at(x, y), at(x + 1, y), at(x + 1, y + 1), -1});
            else
                mesh.faces.push_back({at(x, y), at(x + 1, y), at(x + 1, y + 1), at(x, y + 1)});
        }
    return mesh;
}

TEST(TevObjPeer, AnotherReaderSeesTheSameMesh) {
    ScratchDir dir;
    const Mesh mesh = randomMesh(40);
    const size_t vertexCount = mesh.xyz.size() / 3;
    std::vector<uint32_t> colours(vertexCount);
    for (size_t i = 0; i < vertexCount; ++i) colours[i] = uint32_t(i * 2654435761u) & 0xFFFFFF;
    writeFile(dir.file("mesh.tev"), TevBuilder().points(mesh.xyz).colours(colours).faces(mesh.faces).end().bytes());
    // The face ids come from a base mesh of quads at level 1: each base face
    // stands for four faces of the converted mesh.
    std::vector<TevFace> base(mesh.faces.size() / 4, TevFace{0, 1, 2, 3});
    writeFile(dir.file("base.tev"), TevBuilder().faces(base).end().bytes());

    Library lib;
    ASSERT_EQ(lib.call("getFaceIDs", dir.file("base.tev"), 1), float(base.size()));
    std::string obj = dir.file("mesh.obj");
    ASSERT_EQ(lib.call("tevtoOBJ", dir.file("mesh.tev"), 0, obj.data()), 0.0f);

    tinyobj::attrib_t attrib;
    std::vector<tinyobj::shape_t> shapes;
    std::vector<tinyobj::material_t> materials;
    std::string warn, err;
    ASSERT_TRUE(tinyobj::LoadObj(&attrib, &shapes, &materials, &warn, &err, obj.c_str(), nullptr, false)) << err;
    ASSERT_EQ(attrib.vertices.size(), mesh.xyz.size());
    for (size_t i = 0; i < mesh.xyz.size(); ++i) {
        const double expected = mesh.xyz[i];
        EXPECT_NEAR(attrib.vertices[i], expected, std::fabs(expected) * 5.1e-6) << i;
    }
    ASSERT_EQ(shapes.size(), 1u);
    const auto& faceSizes = shapes[0].mesh.num_face_vertices;
    ASSERT_EQ(faceSizes.size(), base.size() * 4);
    size_t corner = 0;
    for (size_t f = 0; f < faceSizes.size(); ++f) {
        const TevFace& face = mesh.faces[f];
        ASSERT_EQ(faceSizes[f], face.d < 0 ? 3u : 4u) << f;
        EXPECT_EQ(shapes[0].mesh.indices[corner].vertex_index, face.a) << f;
        EXPECT_EQ(shapes[0].mesh.indices[corner + 2].vertex_index, face.c) << f;
        corner += faceSizes[f];
    }
}

}  // namespace
