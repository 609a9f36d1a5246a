// The 3D model of one tile as constant tables in tile-local units: one grid
// column is 7.5, one grid row 10, one layer 10; a box spans x 0-15, y 0-20,
// z 0-10. Nothing here calls OpenGL.
#pragma once
#include <cstdint>

struct Vertex3 {
    float x, y, z;
};
struct Triangle3 {
    Vertex3 v[3];
};

constexpr int BOX_TRIANGLES = 12;
constexpr int SHADOW_TRIANGLES = 14;
constexpr int TOP_TRIANGLE_A = 4;  // the two triangles of the top face
constexpr int TOP_TRIANGLE_B = 5;
constexpr int MAX_SYMBOL_TRIANGLES = 36;  // nine pinwheels of four triangles

extern const Triangle3 boxTriangles[BOX_TRIANGLES];
// 1 for each vertex on the top face (sheared by the inclination).
extern const uint8_t boxTopVertex[BOX_TRIANGLES][3];
// Texture coordinates (s, t) of the vertices of the two top triangles.
extern const float topTexCoords[2][3][2];
// Shadow triangles in the plane z = 0 (drawn at ombreZ); vertices (x, y).
extern const float shadowTriangles[SHADOW_TRIANGLES][3][2];

// A box vertex as drawn: top vertices moved by (inclination, inclination).
Vertex3 boxVertex(int triangle, int vertex, float inclination);

// (A - B) x (B - C), normalised; a zero normal stays zero.
Vertex3 triangleNormal(const Vertex3& a, const Vertex3& b, const Vertex3& c);

// Outline edges drawn after a box triangle: pairs of vertex numbers and the
// outward move, for triangles with edges (0 to 2 edges).
struct OutlineEdges {
    int count;
    int from[2], to[2];
    float dx, dz;  // the move, in units of contourZ
};
OutlineEdges outlineEdgesAfter(int triangle);

// True when shadow triangle k is drawn for these shadow flags (11 flags).
bool shadowTriangleDrawn(int triangle, const uint8_t* flags);

// The cell (row, column) of the tile-set picture a face's texture comes from:
// the cell the 2D view draws for that face.
void textureCell(int face, int* row, int* column);

// Where a tile anchored at (layer, row, column) stands.
Vertex3 tilePosition3D(int layer, int row, int column, float inclination);

enum SymbolShape { SYMBOL_SQUARE, SYMBOL_TRIANGLE, SYMBOL_PINWHEEL, SYMBOL_DIAMOND };
// Shape, count of marks and colour slot (0-3 of RGBValColor) of a face 1-42;
// false for any other number.
bool faceSymbolKind(int face, SymbolShape* shape, int* marks, int* colourSlot);
// The symbol's triangles (x, y at z = height), counter-clockwise seen from
// above; returns how many (0 for a face without a symbol).
int faceSymbolTriangles(int face, float height, Triangle3* out);
