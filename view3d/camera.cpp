// Camera commands of the 3D view. Each limit is tested before its step, so a
// value may pass a limit by less than one step.
#include "view3d/camera.h"

#include <cmath>

#include "platform/messages.h"
#include "settings/settings.h"

namespace {

CameraChange zoomIn() {
    if (!(Settings.ZView > Settings.MinZoom)) return CAMERA_UNCHANGED;
    Settings.ZView -= Settings.StepRotation;
    return CAMERA_MOVED;
}

CameraChange zoomOut() {
    if (!(Settings.ZView < Settings.MaxZoom)) return CAMERA_UNCHANGED;
    Settings.ZView += Settings.StepRotation;
    return CAMERA_MOVED;
}

CameraChange pan(int dx, int dy) {
    Settings.XView += static_cast<float>(dx) * Settings.StepRotation;
    Settings.YView += static_cast<float>(dy) * Settings.StepRotation;
    return CAMERA_MOVED;
}

CameraChange rotate(float* angle, int sign) {
    *angle += static_cast<float>(sign) * Settings.StepRotation;
    return CAMERA_ROTATED;
}

// The digit 1-9 of a key of the main keyboard or the keypad, or 0.
int digitOf(uintptr_t key) {
    if (key >= 0x31 && key <= 0x39) return static_cast<int>(key - 0x30);
    if (key >= VK_NUMPAD0 + 1 && key <= VK_NUMPAD0 + 9) return static_cast<int>(key - VK_NUMPAD0);
    return 0;
}

}  // namespace

CameraChange cameraKey(uintptr_t key) {
    switch (key) {
        case VK_UP: return rotate(&Settings.XPosition, -1);
        case VK_DOWN: return rotate(&Settings.XPosition, 1);
        case VK_LEFT: return rotate(&Settings.YPosition, -1);
        case VK_RIGHT: return rotate(&Settings.YPosition, 1);
        case VK_HOME: return rotate(&Settings.ZPosition, -1);
        case VK_END: return rotate(&Settings.ZPosition, 1);
        case VK_INSERT:
            if (!(Settings.Inclination < Settings.MaxInclination)) return CAMERA_UNCHANGED;
            Settings.Inclination += Settings.StepInclination;
            return CAMERA_MOVED;
        case VK_DELETE:
            if (!(Settings.Inclination > Settings.MinInclination)) return CAMERA_UNCHANGED;
            Settings.Inclination -= Settings.StepInclination;
            return CAMERA_MOVED;
        case VK_PRIOR: return zoomIn();
        case VK_NEXT: return zoomOut();
        default: break;
    }
    switch (digitOf(key)) {
        case 1: return pan(-1, -1);
        case 2: return pan(0, -1);
        case 3: return pan(1, -1);
        case 4: return pan(-1, 0);
        case 6: return pan(1, 0);
        case 7: return pan(-1, 1);
        case 8: return pan(0, 1);
        case 9: return pan(1, 1);
        default: return CAMERA_UNCHANGED;  // 5 and everything else
    }
}

CameraChange cameraWheel(int delta) {
    if (delta < 0) return zoomIn();
    if (delta > 0) return zoomOut();
    return CAMERA_UNCHANGED;
}

float reduceAngle(float degrees) {
    // Angles far beyond any reachable value (or not numbers at all) from a
    // settings file are taken as 0 rather than overflowing the conversion.
    if (!(std::fabs(degrees) < 2.0e9f)) return 0;
    const long whole = static_cast<long>(degrees);  // truncates toward zero
    return static_cast<float>(whole % 360);
}

void reduceCameraAngles() {
    Settings.XPosition = reduceAngle(Settings.XPosition);
    Settings.YPosition = reduceAngle(Settings.YPosition);
    Settings.ZPosition = reduceAngle(Settings.ZPosition);
}
