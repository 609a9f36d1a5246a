// The tile model's tables and the geometry computed from them.
#include "view3d/model3d.h"

#include <cmath>

#include "engine/shadows.h"
#include "view2d/tileset.h"

const Triangle3 boxTriangles[BOX_TRIANGLES] = {
    {{{0, 0, 10}, {0, 20, 0}, {0, 0, 0}}},       // left
    {{{0, 0, 10}, {0, 20, 10}, {0, 20, 0}}},     // left
    {{{0, 0, 0}, {15, 0, 0}, {0, 0, 10}}},       // front
    {{{0, 0, 10}, {15, 0, 0}, {15, 0, 10}}},     // front
    {{{0, 0, 10}, {15, 0, 10}, {0, 20, 10}}},    // top
    {{{15, 0, 10}, {15, 20, 10}, {0, 20, 10}}},  // top
    {{{15, 0, 0}, {15, 20, 0}, {15, 0, 10}}},    // right
    {{{15, 0, 10}, {15, 20, 0}, {15, 20, 10}}},  // right
    {{{0, 20, 0}, {0, 20, 10}, {15, 20, 0}}},    // back
    {{{0, 20, 10}, {15, 20, 10}, {15, 20, 0}}},  // back
    {{{0, 0, 0}, {0, 20, 0}, {15, 0, 0}}},       // bottom
    {{{15, 0, 0}, {0, 20, 0}, {15, 20, 0}}},     // bottom
};

const uint8_t boxTopVertex[BOX_TRIANGLES][3] = {
    {1, 0, 0}, {1, 1, 0}, {0, 0, 1}, {1, 0, 1}, {1, 1, 1}, {1, 1, 1},
    {0, 0, 1}, {1, 0, 1}, {0, 1, 0}, {1, 1, 0}, {0, 0, 0}, {0, 0, 0},
};

const float topTexCoords[2][3][2] = {
    {{0, 0}, {1, 0}, {0, 1}},
    {{1, 0}, {1, 1}, {0, 1}},
};

const float shadowTriangles[SHADOW_TRIANGLES][3][2] = {
    {{0, 0}, {0, -5}, {3.75f, -5}},                 // F0
    {{0, 0}, {3.75f, -5}, {7.5f, 0}},               // F1
    {{3.75f, -5}, {7.5f, -5}, {7.5f, 0}},           // F1
    {{7.5f, 0}, {7.5f, -5}, {11.25f, -5}},          // F2
    {{7.5f, 0}, {11.25f, -5}, {15, 0}},             // F3
    {{11.25f, -5}, {15, -5}, {15, 0}},              // F3
    {{15, 0}, {15, -5}, {20, -5}},                  // F4
    {{20, -5}, {20, 0}, {15, 0}},                   // F4
    {{15, 0}, {20, 0}, {20, 5}},                    // F5 or F9
    {{15, 0}, {20, 5}, {15, 10}},                   // F5 or F9
    {{20, 5}, {20, 10}, {15, 10}},                  // F6
    {{15, 10}, {20, 10}, {20, 15}},                 // F7 or F10
    {{15, 10}, {20, 15}, {15, 20}},                 // F7 or F10
    {{20, 15}, {20, 20}, {15, 20}},                 // F8
};

Vertex3 boxVertex(int triangle, int vertex, float inclination) {
    Vertex3 v = boxTriangles[triangle].v[vertex];
    if (boxTopVertex[triangle][vertex]) {
        v.x += inclination;
        v.y += inclination;
    }
    return v;
}

Vertex3 triangleNormal(const Vertex3& a, const Vertex3& b, const Vertex3& c) {
    const float ux = a.x - b.x, uy = a.y - b.y, uz = a.z - b.z;
    const float vx = b.x - c.x, vy = b.y - c.y, vz = b.z - c.z;
    Vertex3 n = {uy * vz - uz * vy, uz * vx - ux * vz, ux * vy - uy * vx};
    const float length = std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z);
    if (length > 0) {
        n.x /= length;
        n.y /= length;
        n.z /= length;
    }
    return n;
}

OutlineEdges outlineEdgesAfter(int triangle) {
    switch (triangle) {
        case 2: return {1, {0, 0}, {2, 0}, -1, 0};
        case 3: return {1, {1, 0}, {2, 0}, 1, 0};
        case 4: return {2, {2, 0}, {0, 1}, 0, 1};
        case 5: return {2, {0, 1}, {1, 2}, 0, 1};
        case 8: return {1, {0, 0}, {1, 0}, -1, 0};
        case 9: return {1, {1, 0}, {2, 0}, 1, 0};
        case 10: return {2, {1, 0}, {0, 2}, 0, -1};
        case 11: return {2, {0, 2}, {2, 1}, 0, -1};
        default: return {0, {0, 0}, {0, 0}, 0, 0};
    }
}

bool shadowTriangleDrawn(int triangle, const uint8_t* flags) {
    switch (triangle) {
        case 0: return flags[F0];
        case 1:
        case 2: return flags[F1];
        case 3: return flags[F2];
        case 4:
        case 5: return flags[F3];
        case 6:
        case 7: return flags[F4];
        case 8:
        case 9: return flags[F5] || flags[F9];
        case 10: return flags[F6];
        case 11:
        case 12: return flags[F7] || flags[F10];
        case 13: return flags[F8];
        default: return false;
    }
}

void textureCell(int face, int* row, int* column) {
    // The cell the 2D view draws for the face, so that a tile shows the same
    // picture in both views.
    int index = face - 1;
    if (index < 0) index = 0;
    if (index > FACE_COUNT - 1) index = FACE_COUNT - 1;
    *row = faceRowTable[index];
    *column = faceColumnTable[index];
}

Vertex3 tilePosition3D(int layer, int row, int column, float inclination) {
    return {7.5f * column + layer * inclination, 10.0f * (18 - row) + layer * inclination, 10.0f * layer};
}

bool faceSymbolKind(int face, SymbolShape* shape, int* marks, int* colourSlot) {
    if (face >= 1 && face <= 9) *shape = SYMBOL_SQUARE, *marks = face, *colourSlot = 0;
    else if (face >= 10 && face <= 18) *shape = SYMBOL_TRIANGLE, *marks = face - 9, *colourSlot = 1;
    else if (face >= 19 && face <= 27) *shape = SYMBOL_PINWHEEL, *marks = face - 18, *colourSlot = 2;
    else if (face >= 28 && face <= 31) *shape = SYMBOL_DIAMOND, *marks = 1, *colourSlot = 3;
    else if (face >= 32 && face <= 35) *shape = SYMBOL_DIAMOND, *marks = face - 30, *colourSlot = 3;
    else if (face >= 36 && face <= 39) *shape = SYMBOL_DIAMOND, *marks = 6, *colourSlot = 3;
    else if (face >= 40 && face <= 42) *shape = SYMBOL_DIAMOND, *marks = face - 33, *colourSlot = 3;
    else return false;
    return true;
}

namespace {

struct MarkBox {
    float x0, x1, y0, y1;
};

// The mark boxes of n marks; returns n.
int markBoxes(int n, bool pinwheel, MarkBox* boxes) {
    static const MarkBox corners5[4] = {{2, 7, 1, 6}, {8, 13, 1, 6}, {2, 7, 14, 19}, {8, 13, 14, 19}};
    const float lowY0 = (pinwheel && n >= 8) ? 1 : 2, lowY1 = (pinwheel && n >= 8) ? 5 : 6;
    const MarkBox outer7[6] = {{1, 5, lowY0, lowY1}, {5.5f, 9.5f, lowY0, lowY1}, {10, 14, lowY0, lowY1},
                               {1, 5, 14, 18},       {5.5f, 9.5f, 14, 18},       {10, 14, 14, 18}};
    int count = 0;
    switch (n) {
        case 1: boxes[count++] = {2.5f, 12.5f, 5, 15}; break;
        case 2:
            boxes[count++] = {3.5f, 11.5f, 1, 9};
            boxes[count++] = {3.5f, 11.5f, 11, 19};
            break;
        case 3:
            boxes[count++] = {1, 7, 2, 8};
            boxes[count++] = {8, 14, 2, 8};
            boxes[count++] = {4.5f, 10.5f, 12, 18};
            break;
        case 4:
            boxes[count++] = {1, 7, 2, 8};
            boxes[count++] = {8, 14, 2, 8};
            boxes[count++] = {1, 7, 12, 18};
            boxes[count++] = {8, 14, 12, 18};
            break;
        case 5:
        case 6:
            for (const MarkBox& box : corners5) boxes[count++] = box;
            if (n == 5) {
                boxes[count++] = {5, 10, 7.5f, 12.5f};
            } else {
                boxes[count++] = {2, 7, 7.5f, 12.5f};
                boxes[count++] = {8, 13, 7.5f, 12.5f};
            }
            break;
        case 7:
        case 8:
        case 9:
            for (const MarkBox& box : outer7) boxes[count++] = box;
            if (n == 7) {
                boxes[count++] = {5.5f, 9.5f, 8, 12};
            } else if (n == 8) {
                boxes[count++] = {2.5f, 6.5f, 8, 12};
                boxes[count++] = {8.5f, 12.5f, 8, 12};
            } else {
                boxes[count++] = {1, 5, 8, 12};
                boxes[count++] = {5.5f, 9.5f, 8, 12};
                boxes[count++] = {10, 14, 8, 12};
            }
            break;
        default: break;
    }
    return count;
}

Triangle3 flat(float ax, float ay, float bx, float by, float cx, float cy, float z) {
    return {{{ax, ay, z}, {bx, by, z}, {cx, cy, z}}};
}

}  // namespace

int faceSymbolTriangles(int face, float height, Triangle3* out) {
    SymbolShape shape;
    int marks, slot;
    if (!faceSymbolKind(face, &shape, &marks, &slot)) return 0;
    MarkBox boxes[9];
    const int count = markBoxes(marks, shape == SYMBOL_PINWHEEL, boxes);
    const float z = height;
    int n = 0;
    for (int i = 0; i < count; ++i) {
        const MarkBox& b = boxes[i];
        const float xm = (b.x0 + b.x1) / 2, ym = (b.y0 + b.y1) / 2;
        const float qx = (b.x1 - b.x0) / 4, qy = (b.y1 - b.y0) * 0.3f;
        switch (shape) {
            case SYMBOL_SQUARE:
                out[n++] = flat(b.x0, b.y0, b.x1, b.y1, b.x0, b.y1, z);
                out[n++] = flat(b.x1, b.y0, b.x1, b.y1, b.x0, b.y0, z);
                break;
            case SYMBOL_TRIANGLE: out[n++] = flat(b.x1, b.y0, xm, b.y1, b.x0, b.y0, z); break;
            case SYMBOL_DIAMOND:
                out[n++] = flat(b.x0, ym, xm, b.y0, b.x1, ym, z);
                out[n++] = flat(b.x1, ym, xm, b.y1, b.x0, ym, z);
                break;
            case SYMBOL_PINWHEEL:
                out[n++] = flat(b.x0 + qx, b.y0, xm, ym, b.x0, b.y0 + qy, z);
                out[n++] = flat(b.x1 - qx, b.y0, b.x1, b.y0 + qy, xm, ym, z);
                out[n++] = flat(b.x1, b.y1 - qy, b.x1 - qx, b.y1, xm, ym, z);
                out[n++] = flat(b.x0, b.y1 - qy, xm, ym, b.x0 + qx, b.y1, z);
                break;
        }
    }
    return n;
}
