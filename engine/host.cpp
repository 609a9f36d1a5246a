#include "engine/host.h"

// Empty until the shell (or a test) installs its host.
GameHost host = {};
