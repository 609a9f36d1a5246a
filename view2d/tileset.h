// The pictures of the 2D view and the pixel geometry derived from them: the
// loaded and scaled tile set, the loaded and scaled background, the board
// buffer, the face size, the layer shift and the shadow width.
#pragma once
#include <cstdint>
#include "platform/surface.h"
#include "platform/window.h"

// Cells of the tile-set picture: 9 columns by 5 rows.
constexpr int TILESET_COLUMNS = 9;
constexpr int TILESET_ROWS = 5;
constexpr int FACE_COUNT = 42;
// The blank face shown while the board is hidden.
constexpr int HIDDEN_FACE_COLUMN = 7;
constexpr int HIDDEN_FACE_ROW = 4;

// The smallest board area the main window allows, in pixels of a normal
// screen: the stretched faces of the delivered tile sets stay about 30 x 40.
constexpr int MIN_BOARD_AREA_WIDTH = 560;
constexpr int MIN_BOARD_AREA_HEIGHT = 440;

// Cell column and row of each face, indexed by face number minus 1.
extern const uint8_t faceColumnTable[FACE_COUNT];
extern const uint8_t faceRowTable[FACE_COUNT];

extern Surface loadedTileSet;      // as in the file
extern Surface scaledTileSet;      // 9 x faceWidth by 5 x faceHeight
extern Surface loadedBackground;   // as in the file
extern Surface scaledBackground;   // the board area
extern Surface boardBuffer;        // the frame being composed, as large as the board area

extern int16_t faceWidth;        // always even
extern int16_t faceHeight;       // always even
extern int16_t layerShift;       // faceWidth / BorderSize: shift per layer and thickness of the sides
extern int16_t footprintWidth;   // faceWidth + layerShift
extern int16_t footprintHeight;  // faceHeight + layerShift
extern int16_t shadowExtent;     // faceHeight / ShadowSize: width of the shadow strips

// Heights of the main window's toolbar and status bar, set by the shell when
// it makes them.
extern int toolbarHeight;
extern int statusBarHeight;

// The board area is the client area between the toolbar and the status bar.
// Its size is measured on the window's thread (by fitFaceSize, scaleBackground
// and makeBoardBuffer) and kept, so that the automatic player's thread never
// asks the window for it.
void measureBoardArea(WindowHandle window);
int boardAreaWidth();
int boardAreaHeight();

void loadTileSet(WindowHandle window);     // TileSet from tileSetDirectory, then fitFaceSize
void loadBackground(WindowHandle window);  // Background from backgroundDirectory, then scaleBackground
void fitFaceSize(WindowHandle window);     // face geometry and scaled tile set, then layoutBoard2D
void scaleBackground(WindowHandle window);
// Lets go of the loaded tile set and background once their scaled copies are
// made (the window's size has come to rest): the next change of size reads
// them from their files again. The 3D program keeps the tile set for its textures.
void releaseLoadedPictures();
// Called with the pictures themselves released: nothing is read again.
void forgetReleasedPictures();
