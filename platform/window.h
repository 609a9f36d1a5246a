// Opaque handle of a top-level window of the platform layer.
#pragma once

struct PlatformWindow;
typedef PlatformWindow* WindowHandle;
