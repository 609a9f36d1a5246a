// The camera commands of the 3D view: rotation, inclination, zoom and pan on
// the keys and the wheel, with their limits. Plain settings arithmetic; the
// scene applies the new camera (view3d/scene.h).
#pragma once
#include <cstdint>

enum CameraChange {
    CAMERA_UNCHANGED,   // not a camera key, or a limit reached
    CAMERA_ROTATED,     // an angle changed: a repaint shows it
    CAMERA_MOVED        // inclination, zoom or pan: the projection is set again
};

// The command of one virtual key (platform/messages.h) in the 3D view.
CameraChange cameraKey(uintptr_t key);
// A wheel turn: a negative delta zooms in, a positive one out, 0 nothing.
CameraChange cameraWheel(int delta);
// An angle truncated toward zero to whole degrees, then modulo 360 with the
// sign kept (370 gives 10, -365 gives -5).
float reduceAngle(float degrees);
// reduceAngle on XPosition, YPosition and ZPosition.
void reduceCameraAngles();
