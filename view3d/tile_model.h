// Drawing one tile of the 3D view in tile-local coordinates (the scene has
// moved the matrix to the tile's place).
#pragma once
#include <cstdint>

// The 12 box triangles with normals, the top in topColour (textured with
// texture when it is not 0), the sides in sideColour, each followed by its
// black outline edges. A textured top calls the face's list, then binds its
// texture.
void drawTileBox(int tile, uint32_t topColour, uint32_t sideColour, uint32_t textureList, uint32_t texture);
// The face symbol in its colour, on the sheared top.
void drawFaceSymbol(int face);
// The shadow triangles selected by the tile's shadow flags, blended.
void drawTileShadow3D(int tile);
// The darkening of a selected textured top, blended.
void drawSelectionOverlay();
