// Counters of the view calls the 3D dialogs make.
#pragma once

namespace fake3d {
extern int fitFaceSizeCount;
extern int initGLStateCount;
}
