// Merging Tev files through the mesh buffers, and the face-id list.

#include <gtest/gtest.h>

#include <cmath>

#include "core/byte_cursor.hpp"
#include "core/file_io.hpp"
#include "mesh/mesh_buffers_internal.hpp"
#include "mesh/mesh_state.hpp"
#include "mesh/tev_format.hpp"
#include "tests/support/file_size_limit.hpp"
#include "tests/support/test_support.hpp"

namespace {

using namespace ostrel;
using namespace ostrel::test;

Bytes cubeTev(float shift, uint16_t groupId) {
    return TevBuilder().points(cubePoints(shift)).faces(cubeFaces()).groups(std::vector<uint16_t>(6, groupId)).end().bytes();
}

class MeshBuffers : public ::testing::Test {
protected:
    ScratchDir dir;
    void SetUp() override { mesh::resetMeshState(); }
    std::string write(const std::string& name, const Bytes& bytes) {
        writeFile(dir.file(name), bytes);
        return dir.file(name);
    }
};

TEST_F(MeshBuffers, MergesTwoCubesWithShiftedFacesAndOneGroupPerFile) {
    EXPECT_EQ(mesh::AddTev(write("a.tev", cubeTev(0, 7)).c_str(), 0, 0), 8);
    EXPECT_EQ(mesh::AddTev(write("b.tev", cubeTev(5, 7)).c_str(), 8, 0), 8);
    ASSERT_EQ(mesh::WriteTev(dir.file("merged.tev").c_str()), 0);

    Bytes merged = readFile(dir.file("merged.tev"));
    ASSERT_EQ(merged.size(), 32u + (16 + 16 * 12) + (16 + 12 * 16) + (16 + 12 * 2) + 16);
    EXPECT_EQ(std::string(merged.begin(), merged.begin() + 32), mesh::kTevHeader);
    auto faces = mesh::findBlock(merged, 32, mesh::kTagFaces, mesh::SearchLimit::HeaderInside);
    ASSERT_TRUE(faces);
    EXPECT_EQ(faces->count, 12);
    // The seventh face is the second file's first face, moved by 8.
    EXPECT_EQ(loadI32le(merged.data() + faces->payloadOffset() + 6 * 16), 8);
    auto groups = mesh::findBlock(merged, 32, mesh::kTagGroups, mesh::SearchLimit::HeaderInside);
    ASSERT_TRUE(groups);
    EXPECT_EQ(loadU16le(merged.data() + groups->payloadOffset()), 33);
    EXPECT_EQ(loadU16le(merged.data() + groups->payloadOffset() + 11 * 2), 66);
    EXPECT_EQ(Bytes(merged.end() - 16, merged.end()), Bytes(16, 0));
    // A successful write empties the buffers.
    EXPECT_EQ(mesh::WriteTev(dir.file("again.tev").c_str()), mesh::kMergeNothingToWrite);
    EXPECT_FALSE(fileExists(dir.file("again.tev")));
}

TEST_F(MeshBuffers, KeepGroupsCopiesStoredIdsAndTrianglesKeepTheirMarker) {
    Bytes tev = TevBuilder().points(cubePoints()).faces({{0, 1, 2, -1}, {4, 5, 6, 7}}).groups({500, 9}).end().bytes();
    ASSERT_EQ(mesh::AddTev(write("t.tev", tev).c_str(), 100, 1), 8);
    const auto& s = mesh::meshState();
    EXPECT_EQ(loadI32le(s.gFacesV.at(3)), -1);
    EXPECT_EQ(loadI32le(s.gFacesV.at(0)), 100);
    EXPECT_EQ(loadI32le(s.gFacesV.at(7)), 107);
    EXPECT_EQ(loadU16le(s.gGroupsV.at(0)), 500);
    EXPECT_EQ(loadU16le(s.gGroupsV.at(2)), 9);
}

TEST_F(MeshBuffers, FindsBlocksBehindUnknownAndZeroSizedBlocks) {
    Bytes tev = TevBuilder()
                    .rawBlock(777, 40, 0, Bytes(24, 0xAB))
                    .rawBlock(778, 0, 0)   // size 0 steps 16 bytes
                    .points(cubePoints())
                    .faces(cubeFaces())
                    .groups(std::vector<uint16_t>(6, 1))
                    .end()
                    .bytes();
    EXPECT_EQ(mesh::AddTev(write("x.tev", tev).c_str(), 0, 0), 8);
}

TEST_F(MeshBuffers, FailedAppendLeavesBuffersExactlyAsTheyWere) {
    ASSERT_EQ(mesh::AddTev(write("a.tev", cubeTev(0, 1)).c_str(), 0, 0), 8);
    Bytes noGroups = TevBuilder().points(cubePoints()).faces(cubeFaces()).end().bytes();
    Bytes noFaces = TevBuilder().points(cubePoints()).end().bytes();
    Bytes noPoints = TevBuilder().faces(cubeFaces()).end().bytes();
    EXPECT_EQ(mesh::AddTev(write("g.tev", noGroups).c_str(), 8, 0), mesh::kMergeNoGroupsBlock);
    EXPECT_EQ(mesh::AddTev(write("f.tev", noFaces).c_str(), 8, 0), mesh::kMergeNoFacesBlock);
    EXPECT_EQ(mesh::AddTev(write("p.tev", noPoints).c_str(), 8, 0), ostrel::kBlockMissing);
    EXPECT_EQ(mesh::AddTev(dir.file("missing.tev").c_str(), 8, 0), kMeshOrBitmapCannotOpen);
    const auto& s = mesh::meshState();
    EXPECT_EQ(s.gPointsV.size(), 24u);
    EXPECT_EQ(s.gFacesV.size(), 24u);
    EXPECT_EQ(s.gGroupsV.size(), 12u);
    // Every append, failed or not, raised the group id.
    EXPECT_EQ(s.gGroupID, 5 * 33);
}

TEST_F(MeshBuffers, LyingCountsAndSizesAreRefused) {
    Bytes payload(12 * 8, 0);
    // Count promises more vertices than the block holds.
    Bytes bigCount = TevBuilder().rawBlock(10001, 16 + 12 * 8, 9, payload).faces(cubeFaces()).groups({1}).end().bytes();
    // Block size runs past the end of the file.
    Bytes pastEnd = TevBuilder().rawBlock(10001, 1 << 30, 8, payload).bytes();
    // A negative size cannot move the walk backwards.
    Bytes negative = TevBuilder().rawBlock(5, -32, 0).points(cubePoints()).bytes();
    // Negative face count.
    Bytes negativeFaces = TevBuilder().points(cubePoints()).rawBlock(20001, 16, -1).groups({1}).end().bytes();
    EXPECT_EQ(mesh::appendTevBytes(ByteBuffer::copyOf(bigCount), 0, 0), ostrel::kBlockMissing);
    EXPECT_EQ(mesh::appendTevBytes(ByteBuffer::copyOf(pastEnd), 0, 0), ostrel::kBlockMissing);
    EXPECT_EQ(mesh::appendTevBytes(ByteBuffer::copyOf(negative), 0, 0), ostrel::kBlockMissing);
    EXPECT_EQ(mesh::appendTevBytes(ByteBuffer::copyOf(negativeFaces), 0, 0), mesh::kMergeNoFacesBlock);
    EXPECT_TRUE(mesh::meshState().gPointsV.empty());
}

TEST_F(MeshBuffers, EveryPrefixOfAValidFileIsHandledSafely) {
    Bytes tev = cubeTev(0, 3);
    for (size_t n = 0; n < tev.size(); ++n) {
        mesh::resetMeshState();
        // Each prefix in its own allocation, so a sanitizer sees any overread.
        float result = mesh::appendTevBytes(ByteBuffer::copyOf(std::span(tev).first(n)), 0, 0);
        // The end block is not needed, and the last 20 bytes hold no block start.
        if (result >= 0) EXPECT_GE(n, tev.size() - 16) << n;
        else EXPECT_TRUE(mesh::meshState().gPointsV.empty()) << n;
    }
}

TEST_F(MeshBuffers, FailedWriteKeepsBuffersAndTheExistingFile) {
    ASSERT_EQ(mesh::AddTev(write("a.tev", cubeTev(0, 1)).c_str(), 0, 0), 8);
    EXPECT_EQ(mesh::WriteTev(dir.file("no/such/folder/m.tev").c_str()), mesh::kMergeCannotWrite);
    writeText(dir.file("keep.tev"), "old");
    {
        FileSizeLimit diskFull(100);
        EXPECT_EQ(mesh::WriteTev(dir.file("keep.tev").c_str()), mesh::kMergeCannotWrite);
    }
    EXPECT_EQ(readText(dir.file("keep.tev")), "old");
    EXPECT_EQ(mesh::meshState().gPointsV.size(), 24u);
    // Nothing but the two inputs and the kept file is left behind.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2);
    ASSERT_EQ(mesh::WriteTev(dir.file("keep.tev").c_str()), 0);
    EXPECT_EQ(readFile(dir.file("keep.tev")).size(), 32u + 16 + 96 + 16 + 96 + 16 + 12 + 16);
}

TEST_F(MeshBuffers, EmptyBuffersWriteNothing) {
    EXPECT_EQ(mesh::WriteTev(dir.file("m.tev").c_str()), mesh::kMergeNothingToWrite);
    EXPECT_FALSE(fileExists(dir.file("m.tev")));
}

TEST_F(MeshBuffers, FaceIdsCountCornersTimesFourToTheLevelMinusOne) {
    Bytes base = TevBuilder().faces({{0, 1, 2, 3}, {0, 1, 2, 3}, {0, 1, 2, -1}}).bytes();
    std::string path = write("base.tev", base);
    EXPECT_EQ(mesh::GetFaceIDsTev(path.c_str(), 2), 3);
    const auto& ids = mesh::meshState().faceID;
    EXPECT_EQ(ids[0], 16u);
    EXPECT_EQ(ids[2], 12u);
    EXPECT_EQ(mesh::GetFaceIDsTev(path.c_str(), 0.5), 3);
    EXPECT_EQ(mesh::meshState().faceID[0], 0u);
    // Absurd levels saturate instead of overflowing.
    EXPECT_EQ(mesh::GetFaceIDsTev(path.c_str(), 1e9), 3);
    EXPECT_EQ(mesh::meshState().faceID[0], UINT32_MAX);
    EXPECT_EQ(mesh::GetFaceIDsTev(path.c_str(), NAN), 3);
    EXPECT_EQ(mesh::GetFaceIDsTev(dir.file("missing").c_str(), 1), kMeshOrBitmapCannotOpen);
    EXPECT_TRUE(mesh::meshState().faceID.empty());
    // Read from the file slice by slice, the ids are those of the whole
    // block in memory.
    std::vector<test::TevFace> many;
    for (int32_t i = 0; i < 150001; ++i) many.push_back({0, 1, 2, i % 3 ? 3 : -1});   // over 2 MiB of records
    const Bytes large = TevBuilder().faces(many).bytes();
    ASSERT_EQ(mesh::faceIDsFromBytes(large, 3), float(many.size()));
    const std::vector<uint32_t> inMemory(ids.data(), ids.data() + ids.size());
    ASSERT_EQ(mesh::GetFaceIDsTev(write("large.tev", large).c_str(), 3), float(many.size()));
    EXPECT_TRUE(std::vector<uint32_t>(ids.data(), ids.data() + ids.size()) == inMemory);
}

TEST_F(MeshBuffers, FaceIdsRefuseACountBeyondTheFile) {
    Bytes base = TevBuilder().rawBlock(20001, 16, 1000, Bytes(32, 0)).bytes();
    EXPECT_EQ(mesh::faceIDsFromBytes(base, 1), ostrel::kBlockMissing);
    EXPECT_EQ(mesh::faceIDsFromBytes(Bytes(47, 0), 1), ostrel::kBlockMissing);
    for (const Bytes& bad : {base, Bytes(47, 0)})
        EXPECT_EQ(mesh::GetFaceIDsTev(write("bad.tev", bad).c_str(), 1), ostrel::kBlockMissing);
    EXPECT_TRUE(mesh::meshState().faceID.empty());
}

}  // namespace
