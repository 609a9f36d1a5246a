// Play: clicks, pair removal, undo, restart, new game, hints and the end of a game.
#pragma once
#include "platform/window.h"

void clickTile(int tile);  // tile index, or NO_TILE for a click that hit nothing
void tryPair(int a, int b);
void removePair(int a, int b);
void undoMove(WindowHandle window);
void restartGame(WindowHandle window);
// The board changed: free tiles and shadow flags computed again, the tiles
// placed again and, with repaint, the board painted.
void refreshBoard(WindowHandle window, bool repaint = true);
void newGameCommand(WindowHandle window);  // undo everything, then newDeal
void hintStep(WindowHandle window);
void checkEndOfGame(WindowHandle window);
