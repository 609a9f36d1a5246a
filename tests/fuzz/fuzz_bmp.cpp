// BMP pictures as the tile-set and background reader decodes them, followed by
// the face geometry the 2D view derives from a tile set. A decoded picture has
// a size within the limits and plain RGB pixels; the faces fit the board area,
// have even sizes, and the scaled tile set is nine by five of them.
#include "platform/surface.h"
#include "settings/settings.h"
#include "tests/fuzz/fuzz_support.h"
#include "tests/support/null_host.h"
#include "view2d/bitmap.h"
#include "view2d/tileset.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static bool ready = false;
    if (!ready) {
        Settings.StretchTiles = 1;
        Settings.BorderSize = 8;
        Settings.ShadowSize = 4;
        ready = true;
    }
    Surface picture = {0, 0, nullptr};
    if (!decodeBitmap(data, size, &picture)) {
        FUZZ_CHECK(surfaceIsEmpty(&picture));
        return 0;
    }
    FUZZ_CHECK(picture.width >= 1 && picture.width <= 65535 && picture.height >= 1 && picture.height <= 65535);
    FUZZ_CHECK(static_cast<long long>(picture.width) * picture.height <= 64LL * 1024 * 1024);
    const size_t count = static_cast<size_t>(picture.width) * static_cast<size_t>(picture.height);
    for (size_t i = 0; i < count; ++i) FUZZ_CHECK(picture.pixels[i] <= 0xFFFFFF);

    releaseSurface(&loadedTileSet);
    loadedTileSet = picture;
    fake::clientWidth = 800;
    fake::clientHeight = 600;
    fitFaceSize(nullptr);
    FUZZ_CHECK(faceWidth >= 0 && faceHeight >= 0 && faceWidth % 2 == 0 && faceHeight % 2 == 0);
    FUZZ_CHECK(faceWidth <= 800 / 17 && faceHeight <= 600 / 10);
    FUZZ_CHECK(surfaceIsEmpty(&scaledTileSet) ||
               (scaledTileSet.width == 9 * faceWidth && scaledTileSet.height == 5 * faceHeight));
    return 0;
}
