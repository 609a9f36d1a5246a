// The 3D tile model: box and normals, outline, shadow pieces, face symbols,
// texture cells and images, tile places and the board's centre.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "engine/board.h"
#include "settings/settings.h"
#include "tests/view2d/view_support.h"
#include "view2d/draw2d.h"
#include "engine/shadows.h"
#include "view2d/tileset.h"
#include "view3d/face_image.h"
#include "view3d/model3d.h"

namespace {

Vertex3 normalOfBox(int k, float inclination) {
    return triangleNormal(boxVertex(k, 0, inclination), boxVertex(k, 1, inclination), boxVertex(k, 2, inclination));
}

void expectNormal(const Vertex3& n, float x, float y, float z) {
    EXPECT_NEAR(n.x, x, 1e-5f);
    EXPECT_NEAR(n.y, y, 1e-5f);
    EXPECT_NEAR(n.z, z, 1e-5f);
}

}  // namespace

TEST(TileBox, NormalsPointOutOfEveryFace) {
    const float expected[6][3] = {{-1, 0, 0}, {0, -1, 0}, {0, 0, 1}, {1, 0, 0}, {0, 1, 0}, {0, 0, -1}};
    for (int k = 0; k < BOX_TRIANGLES; ++k) {
        SCOPED_TRACE(k);
        const float* e = expected[k / 2];
        expectNormal(normalOfBox(k, 0), e[0], e[1], e[2]);
    }
}

TEST(TileBox, NormalIsTheNormalisedCrossProductOfTheEdges) {
    // (A - B) x (B - C) for A (0,0,0), B (2,0,0), C (2,3,0): (-2,0,0) x (0,-3,0) = (0,0,6).
    expectNormal(triangleNormal({0, 0, 0}, {2, 0, 0}, {2, 3, 0}), 0, 0, 1);
    // Clockwise the other way round.
    expectNormal(triangleNormal({2, 3, 0}, {2, 0, 0}, {0, 0, 0}), 0, 0, -1);
    // A degenerate triangle leaves the normal zero instead of dividing by 0.
    const Vertex3 zero = triangleNormal({1, 1, 1}, {1, 1, 1}, {2, 2, 2});
    EXPECT_EQ(zero.x, 0);
    EXPECT_EQ(zero.y, 0);
    EXPECT_EQ(zero.z, 0);
    EXPECT_FALSE(std::isnan(zero.x));
}

TEST(TileBox, InclinationShearsOnlyTheTop) {
    for (int k = 0; k < BOX_TRIANGLES; ++k)
        for (int v = 0; v < 3; ++v) {
            const Vertex3 flat = boxVertex(k, v, 0), leaning = boxVertex(k, v, 5);
            if (flat.z == 10) {
                EXPECT_EQ(leaning.x, flat.x + 5);
                EXPECT_EQ(leaning.y, flat.y + 5);
            } else {
                EXPECT_EQ(leaning.x, flat.x);
                EXPECT_EQ(leaning.y, flat.y);
            }
            EXPECT_EQ(leaning.z, flat.z);
        }
    // The sheared top still faces up; the left side now leans.
    expectNormal(normalOfBox(TOP_TRIANGLE_A, 5), 0, 0, 1);
    const Vertex3 left = normalOfBox(0, 5);
    EXPECT_LT(left.x, 0);
    EXPECT_GT(left.z, 0);
}

TEST(TileBox, OutlineCoversTheTwelveEdgesOnce) {
    std::vector<std::pair<int, int>> seen;  // edges as pairs of corner numbers
    auto corner = [](const Vertex3& v) { return (v.x > 0 ? 1 : 0) + (v.y > 0 ? 2 : 0) + (v.z > 0 ? 4 : 0); };
    for (int k = 0; k < BOX_TRIANGLES; ++k) {
        const OutlineEdges edges = outlineEdgesAfter(k);
        for (int e = 0; e < edges.count; ++e) {
            int a = corner(boxTriangles[k].v[edges.from[e]]), b = corner(boxTriangles[k].v[edges.to[e]]);
            if (a > b) std::swap(a, b);
            // An edge joins corners differing in one coordinate.
            const int differ = a ^ b;
            EXPECT_TRUE(differ == 1 || differ == 2 || differ == 4) << k;
            for (const auto& other : seen) EXPECT_FALSE(other.first == a && other.second == b) << k;
            seen.push_back({a, b});
            // Vertical edges move sideways, the others up or down.
            if (differ == 4) EXPECT_NE(edges.dx, 0);
            else EXPECT_NE(edges.dz, 0);
        }
    }
    EXPECT_EQ(seen.size(), 12u);
}

TEST(TileBox, TopTextureRunsAlongXAndY) {
    for (int t = 0; t < 2; ++t)
        for (int v = 0; v < 3; ++v) {
            const Vertex3 p = boxTriangles[TOP_TRIANGLE_A + t].v[v];
            EXPECT_EQ(topTexCoords[t][v][0], p.x / 15);
            EXPECT_EQ(topTexCoords[t][v][1], p.y / 20);
        }
}

TEST(TileShadow3D, TrianglesFollowTheirFlags) {
    uint8_t flags[SHADOW_FLAG_COUNT] = {};
    for (int k = 0; k < SHADOW_TRIANGLES; ++k) EXPECT_FALSE(shadowTriangleDrawn(k, flags));
    const std::vector<std::vector<int>> byFlag = {{0}, {1, 2}, {3}, {4, 5}, {6, 7}, {8, 9}, {10},
                                                  {11, 12}, {13}, {8, 9}, {11, 12}};
    for (int f = 0; f < SHADOW_FLAG_COUNT; ++f) {
        SCOPED_TRACE(f);
        for (int i = 0; i < SHADOW_FLAG_COUNT; ++i) flags[i] = i == f;
        for (int k = 0; k < SHADOW_TRIANGLES; ++k) {
            bool listed = false;
            for (int m : byFlag[f]) listed = listed || m == k;
            EXPECT_EQ(shadowTriangleDrawn(k, flags), listed) << k;
        }
    }
    EXPECT_FALSE(shadowTriangleDrawn(-1, flags));
    EXPECT_FALSE(shadowTriangleDrawn(SHADOW_TRIANGLES, flags));
}

TEST(TileShadow3D, PiecesFaceUpAndLieBesideTheTile) {
    for (int k = 0; k < SHADOW_TRIANGLES; ++k) {
        const float(*t)[2] = shadowTriangles[k];
        expectNormal(triangleNormal({t[0][0], t[0][1], 0}, {t[1][0], t[1][1], 0}, {t[2][0], t[2][1], 0}), 0, 0, 1);
        for (int v = 0; v < 3; ++v) {
            // Below the tile (y <= 0) or to its right (x >= 15), never on it.
            EXPECT_TRUE(t[v][1] <= 0 || t[v][0] >= 15) << k;
        }
    }
}

TEST(FaceSymbols, KindsCountsAndColours) {
    struct Case {
        int face;
        SymbolShape shape;
        int marks, slot, triangles;
    };
    const Case cases[] = {
        {1, SYMBOL_SQUARE, 1, 0, 2},     {5, SYMBOL_SQUARE, 5, 0, 10},   {9, SYMBOL_SQUARE, 9, 0, 18},
        {10, SYMBOL_TRIANGLE, 1, 1, 1},  {18, SYMBOL_TRIANGLE, 9, 1, 9}, {19, SYMBOL_PINWHEEL, 1, 2, 4},
        {27, SYMBOL_PINWHEEL, 9, 2, 36}, {28, SYMBOL_DIAMOND, 1, 3, 2},  {31, SYMBOL_DIAMOND, 1, 3, 2},
        {32, SYMBOL_DIAMOND, 2, 3, 4},   {33, SYMBOL_DIAMOND, 3, 3, 6},  {35, SYMBOL_DIAMOND, 5, 3, 10},
        {36, SYMBOL_DIAMOND, 6, 3, 12},  {39, SYMBOL_DIAMOND, 6, 3, 12}, {40, SYMBOL_DIAMOND, 7, 3, 14},
        {42, SYMBOL_DIAMOND, 9, 3, 18},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.face);
        SymbolShape shape;
        int marks, slot;
        ASSERT_TRUE(faceSymbolKind(c.face, &shape, &marks, &slot));
        EXPECT_EQ(shape, c.shape);
        EXPECT_EQ(marks, c.marks);
        EXPECT_EQ(slot, c.slot);
        Triangle3 triangles[MAX_SYMBOL_TRIANGLES];
        EXPECT_EQ(faceSymbolTriangles(c.face, 10.1f, triangles), c.triangles);
    }
    SymbolShape shape;
    int marks, slot;
    Triangle3 triangles[MAX_SYMBOL_TRIANGLES];
    for (int face : {0, 43, -1, 255}) {
        EXPECT_FALSE(faceSymbolKind(face, &shape, &marks, &slot));
        EXPECT_EQ(faceSymbolTriangles(face, 10.1f, triangles), 0);
    }
}

TEST(FaceSymbols, EveryTriangleFacesUpAtTheSymbolHeightOnTheTop) {
    Triangle3 triangles[MAX_SYMBOL_TRIANGLES];
    for (int face = 1; face <= 42; ++face) {
        const int count = faceSymbolTriangles(face, 10.1f, triangles);
        ASSERT_GT(count, 0);
        ASSERT_LE(count, MAX_SYMBOL_TRIANGLES);
        for (int i = 0; i < count; ++i)
            for (int v = 0; v < 3; ++v) {
                const Vertex3& p = triangles[i].v[v];
                EXPECT_FLOAT_EQ(p.z, 10.1f);
                EXPECT_GE(p.x, 0);
                EXPECT_LE(p.x, 15);
                EXPECT_GE(p.y, 0);
                EXPECT_LE(p.y, 20);
            }
        for (int i = 0; i < count; ++i) {
            const Vertex3 n = triangleNormal(triangles[i].v[0], triangles[i].v[1], triangles[i].v[2]);
            EXPECT_NEAR(n.z, 1, 1e-5f) << "face " << face << " triangle " << i;
        }
    }
}

TEST(FaceSymbols, FiveSquaresAndTheSinglePinwheel) {
    Triangle3 t[MAX_SYMBOL_TRIANGLES];
    ASSERT_EQ(faceSymbolTriangles(5, 10.1f, t), 10);
    // The middle square of five: [5 to 10] x [7.5 to 12.5].
    EXPECT_EQ(t[8].v[0].x, 5);
    EXPECT_EQ(t[8].v[0].y, 7.5f);
    EXPECT_EQ(t[8].v[1].x, 10);
    EXPECT_EQ(t[8].v[1].y, 12.5f);
    ASSERT_EQ(faceSymbolTriangles(19, 10.1f, t), 4);
    const float first[3][2] = {{5, 5}, {7.5f, 10}, {2.5f, 8}};
    const float last[3][2] = {{2.5f, 12}, {7.5f, 10}, {5, 15}};
    for (int v = 0; v < 3; ++v) {
        EXPECT_FLOAT_EQ(t[0].v[v].x, first[v][0]);
        EXPECT_FLOAT_EQ(t[0].v[v].y, first[v][1]);
        EXPECT_FLOAT_EQ(t[3].v[v].x, last[v][0]);
        EXPECT_FLOAT_EQ(t[3].v[v].y, last[v][1]);
    }
}

TEST(FaceTextures, CellTable) {
    int row, column;
    textureCell(1, &row, &column);
    EXPECT_EQ(row * 10 + column, 0);
    textureCell(9, &row, &column);
    EXPECT_EQ(row * 10 + column, 8);
    textureCell(27, &row, &column);
    EXPECT_EQ(row * 10 + column, 28);
    textureCell(31, &row, &column);
    EXPECT_EQ(row * 10 + column, 33);
    textureCell(32, &row, &column);
    EXPECT_EQ(row * 10 + column, 40);
    textureCell(35, &row, &column);
    EXPECT_EQ(row * 10 + column, 43);
    textureCell(36, &row, &column);
    EXPECT_EQ(row * 10 + column, 34);
    textureCell(39, &row, &column);
    EXPECT_EQ(row * 10 + column, 37);
    textureCell(42, &row, &column);
    EXPECT_EQ(row * 10 + column, 46);
    // No face uses row 3 column 8 or row 4 columns 7 and 8, and no cell twice;
    // every face shows the cell the 2D view draws for it (a wind was a season in 3D).
    bool used[5][9] = {};
    for (int face = 1; face <= 42; ++face) {
        textureCell(face, &row, &column);
        EXPECT_EQ(row, faceRowTable[face - 1]) << face;
        EXPECT_EQ(column, faceColumnTable[face - 1]) << face;
        EXPECT_FALSE(used[row][column]) << face;
        used[row][column] = true;
    }
    EXPECT_FALSE(used[3][8]);
    EXPECT_FALSE(used[4][7]);
    EXPECT_FALSE(used[4][8]);
    // Out-of-range faces stay inside the picture.
    for (int face : {0, -5, 43, 250}) {
        textureCell(face, &row, &column);
        EXPECT_GE(row, 0);
        EXPECT_LT(row, 5);
        EXPECT_GE(column, 0);
        EXPECT_LT(column, 9);
    }
}

TEST(FaceTextures, ImageOfFace32IsRowFourColumnZeroStretched) {
    // 900 x 600: cells of 100 x 120 stretched to 64 x 64.
    Surface tileSet{};
    makeTileSet(&tileSet, 100, 120);
    std::vector<uint8_t> image(FACE_TEXTURE_BYTES);
    ASSERT_TRUE(faceTextureImage(&tileSet, 32, image.data()));
    const uint32_t colour = cellColour(0, 4);
    for (size_t i = 0; i < image.size(); i += 3) {
        ASSERT_EQ(image[i], colour & 0xFF);
        ASSERT_EQ(image[i + 1], (colour >> 8) & 0xFF);
        ASSERT_EQ(image[i + 2], (colour >> 16) & 0xFF);
    }
    ASSERT_TRUE(faceTextureImage(&tileSet, 36, image.data()));
    EXPECT_EQ(image[0], cellColour(4, 3) & 0xFF);
    releaseSurface(&tileSet);
}

TEST(FaceTextures, FirstRowIsThePicturesBottomRow) {
    Surface tileSet{};
    createSurface(&tileSet, 9 * 8, 5 * 8);
    // Cell (0, 0): red in its top half, blue in its bottom half.
    fillRect(&tileSet, 0, 0, 8, 4, rgb(255, 0, 0));
    fillRect(&tileSet, 0, 4, 8, 8, rgb(0, 0, 255));
    std::vector<uint8_t> image(FACE_TEXTURE_BYTES);
    ASSERT_TRUE(faceTextureImage(&tileSet, 1, image.data()));
    EXPECT_EQ(image[2], 255);  // first texel: blue
    EXPECT_EQ(image[0], 0);
    const size_t lastRow = (size_t)63 * 64 * 3;
    EXPECT_EQ(image[lastRow], 255);  // last row: red
    EXPECT_EQ(image[lastRow + 2], 0);
    releaseSurface(&tileSet);
}

TEST(FaceTextures, MissingOrTinyPictureGivesBlack) {
    std::vector<uint8_t> image(FACE_TEXTURE_BYTES, 7);
    Surface empty{};
    EXPECT_FALSE(faceTextureImage(&empty, 1, image.data()));
    EXPECT_FALSE(faceTextureImage(nullptr, 1, image.data()));
    Surface tiny{};
    createSurface(&tiny, 8, 4);  // narrower than nine columns
    fillRect(&tiny, 0, 0, 8, 4, rgb(255, 255, 255));
    EXPECT_FALSE(faceTextureImage(&tiny, 1, image.data()));
    for (uint8_t byte : image) ASSERT_EQ(byte, 0);
    releaseSurface(&tiny);
}

TEST(TilePlaces, LayersStackStraightOrLean) {
    const Vertex3 base = tilePosition3D(0, 4, 6, 0);
    EXPECT_EQ(base.x, 45);
    EXPECT_EQ(base.y, 140);
    EXPECT_EQ(base.z, 0);
    const Vertex3 straight = tilePosition3D(2, 4, 6, 0);
    EXPECT_EQ(straight.x, 45);
    EXPECT_EQ(straight.y, 140);
    EXPECT_EQ(straight.z, 20);
    const Vertex3 leaning = tilePosition3D(2, 4, 6, 5);
    EXPECT_EQ(leaning.x, 55);
    EXPECT_EQ(leaning.y, 150);
    EXPECT_EQ(leaning.z, 20);
}

TEST(BoardCentre3D, MiddleOfTheLayoutInTiles) {
    resetViewState();
    setUpView(20, 24, 4, 4, 400, 300);
    // Every tile on one spot, then two at the corners of a 30 x 16 cell area.
    for (int t = 0; t < TILE_COUNT; ++t) placeTile(t, 0, 2, 2, 1);
    placeTile(0, 0, 0, 0, 1);
    placeTile(1, 0, 16, 30, 1);
    layoutBoard2D(nullptr);
    // Columns 0-30: 30 / 4 = 7, + 0.5. Rows 18-0 = 18 and 18-16 = 2: 20 / 4 = 5, + 1.
    EXPECT_FLOAT_EQ(boardCentre3D[0], 7.5f);
    EXPECT_FLOAT_EQ(boardCentre3D[1], 6.0f);
    // Removed tiles count as well: the layout decides, not the faces left.
    tileTable[1].face = 0;
    layoutBoard2D(nullptr);
    EXPECT_FLOAT_EQ(boardCentre3D[0], 7.5f);
}
