// The tile model drawn with OpenGL: box, outline, symbols, shadow, overlay.
#include "view3d/tile_model.h"

#include <GL/gl.h>

#include "engine/board.h"
#include "settings/settings.h"
#include "view3d/model3d.h"

namespace {

void setColour(uint32_t colour) {
    glColor3ub((GLubyte)(colour & 0xFF), (GLubyte)((colour >> 8) & 0xFF), (GLubyte)((colour >> 16) & 0xFF));
}

void normalOf(const Vertex3& a, const Vertex3& b, const Vertex3& c) {
    const Vertex3 n = triangleNormal(a, b, c);
    glNormal3f(n.x, n.y, n.z);
}

void outline(int k, const Vertex3* v) {
    const OutlineEdges edges = outlineEdgesAfter(k);
    if (edges.count == 0) return;
    const bool lit = glIsEnabled(GL_LIGHTING), textured = glIsEnabled(GL_TEXTURE_2D);
    if (lit) glDisable(GL_LIGHTING);
    if (textured) glDisable(GL_TEXTURE_2D);
    const float dx = edges.dx * Settings.contourZ, dz = edges.dz * Settings.contourZ;
    glColor3ub(0, 0, 0);
    glBegin(GL_LINES);
    for (int e = 0; e < edges.count; ++e) {
        const Vertex3& a = v[edges.from[e]];
        const Vertex3& b = v[edges.to[e]];
        glVertex3f(a.x + dx, a.y, a.z + dz);
        glVertex3f(b.x + dx, b.y, b.z + dz);
    }
    glEnd();
    if (textured) glEnable(GL_TEXTURE_2D);
    if (lit) glEnable(GL_LIGHTING);
}

void blendedGrey() {
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4f(0.25f, 0.25f, 0.25f, 0.5f);
}

}  // namespace

void drawTileBox(int, uint32_t topColour, uint32_t sideColour, uint32_t textureList, uint32_t texture) {
    const float inclination = Settings.Inclination;
    // The faces lie a little deeper than they are, so that the outline along
    // their edges (in the same planes, or a hair beside them) is drawn whole
    // instead of losing every other pixel to the face.
    glEnable(GL_POLYGON_OFFSET_FILL);
    glPolygonOffset(1.0f, 1.0f);
    for (int k = 0; k < BOX_TRIANGLES; ++k) {
        const bool top = k == TOP_TRIANGLE_A || k == TOP_TRIANGLE_B;
        if (k == TOP_TRIANGLE_A && texture != 0) {
            glEnable(GL_TEXTURE_2D);
            if (textureList != 0) glCallList(textureList);
            glBindTexture(GL_TEXTURE_2D, texture);
        }
        if (k == 6 && texture != 0) glDisable(GL_TEXTURE_2D);
        Vertex3 v[3];
        for (int i = 0; i < 3; ++i) v[i] = boxVertex(k, i, inclination);
        setColour(top ? topColour : sideColour);
        glBegin(GL_TRIANGLES);
        normalOf(v[0], v[1], v[2]);
        for (int i = 0; i < 3; ++i) {
            if (top) glTexCoord2fv(topTexCoords[k - TOP_TRIANGLE_A][i]);
            glVertex3f(v[i].x, v[i].y, v[i].z);
        }
        glEnd();
        outline(k, v);
    }
    glDisable(GL_POLYGON_OFFSET_FILL);
}

void drawFaceSymbol(int face) {
    SymbolShape shape;
    int marks, slot;
    if (!faceSymbolKind(face, &shape, &marks, &slot)) return;
    Triangle3 triangles[MAX_SYMBOL_TRIANGLES];
    const int count = faceSymbolTriangles(face, Settings.dessinZ, triangles);
    const float shift = Settings.Inclination;
    setColour(Settings.RGBValColor[slot]);
    glBegin(GL_TRIANGLES);
    for (int i = 0; i < count; ++i) {
        Vertex3 v[3];
        for (int j = 0; j < 3; ++j) v[j] = {triangles[i].v[j].x + shift, triangles[i].v[j].y + shift, triangles[i].v[j].z};
        normalOf(v[0], v[1], v[2]);
        for (const Vertex3& p : v) glVertex3f(p.x, p.y, p.z);
    }
    glEnd();
}

void drawTileShadow3D(int tile) {
    if (tile < 0 || tile >= TILE_COUNT) return;
    const float z = Settings.ombreZ;
    blendedGrey();
    glBegin(GL_TRIANGLES);
    for (int k = 0; k < SHADOW_TRIANGLES; ++k) {
        if (!shadowTriangleDrawn(k, shadowFlags[tile])) continue;
        const float(*t)[2] = shadowTriangles[k];
        normalOf({t[0][0], t[0][1], z}, {t[1][0], t[1][1], z}, {t[2][0], t[2][1], z});
        for (int i = 0; i < 3; ++i) glVertex3f(t[i][0], t[i][1], z);
    }
    glEnd();
    glDisable(GL_BLEND);
}

void drawSelectionOverlay() {
    const float inclination = Settings.Inclination, raise = Settings.ombreZ;
    blendedGrey();
    glBegin(GL_TRIANGLES);
    for (int k = TOP_TRIANGLE_A; k <= TOP_TRIANGLE_B; ++k) {
        Vertex3 v[3];
        for (int i = 0; i < 3; ++i) {
            v[i] = boxVertex(k, i, inclination);
            v[i].z += raise;
        }
        normalOf(v[0], v[1], v[2]);
        for (const Vertex3& p : v) glVertex3f(p.x, p.y, p.z);
    }
    glEnd();
    glDisable(GL_BLEND);
}
