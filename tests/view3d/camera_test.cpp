// The camera commands of the 3D view: steps, limits, pan directions, the wheel
// and the reduction of the angles.
#include <gtest/gtest.h>

#include <cmath>

#include "platform/messages.h"
#include "settings/settings.h"
#include "view3d/camera.h"

namespace {

struct Camera : ::testing::Test {
    void SetUp() override {
        Settings.XPosition = Settings.YPosition = Settings.ZPosition = 0;
        Settings.XView = Settings.YView = 0;
        Settings.ZView = 325;
        Settings.MinZoom = 0;
        Settings.MaxZoom = 1000;
        Settings.Inclination = 0;
        Settings.MinInclination = -20;
        Settings.MaxInclination = 20;
        Settings.StepRotation = 5;
        Settings.StepInclination = 1;
    }
    // One key as the window handles it: the command, then the reduction.
    CameraChange press(uintptr_t key) {
        const CameraChange change = cameraKey(key);
        reduceCameraAngles();
        return change;
    }
};

}  // namespace

TEST_F(Camera, RotationKeys) {
    EXPECT_EQ(press(VK_UP), CAMERA_ROTATED);
    EXPECT_EQ(press(VK_UP), CAMERA_ROTATED);
    EXPECT_EQ(Settings.XPosition, -10);
    press(VK_DOWN);
    EXPECT_EQ(Settings.XPosition, -5);
    press(VK_LEFT);
    EXPECT_EQ(Settings.YPosition, -5);
    press(VK_RIGHT);
    press(VK_RIGHT);
    EXPECT_EQ(Settings.YPosition, 5);
    press(VK_HOME);
    EXPECT_EQ(Settings.ZPosition, -5);
    press(VK_END);
    press(VK_END);
    EXPECT_EQ(Settings.ZPosition, 5);
    EXPECT_EQ(Settings.ZView, 325);  // nothing else moved
    EXPECT_EQ(Settings.XView, 0);
}

TEST_F(Camera, SeventyTwoPressesOfUpComeBackToZero) {
    for (int i = 0; i < 72; ++i) press(VK_UP);
    EXPECT_EQ(Settings.XPosition, 0);
    for (int i = 0; i < 71; ++i) press(VK_UP);
    EXPECT_EQ(Settings.XPosition, -355);
}

TEST_F(Camera, AngleReduction) {
    EXPECT_EQ(reduceAngle(370), 10);
    EXPECT_EQ(reduceAngle(-365), -5);
    EXPECT_EQ(reduceAngle(359.9f), 359);
    EXPECT_EQ(reduceAngle(-359.9f), -359);
    EXPECT_EQ(reduceAngle(720), 0);
    EXPECT_EQ(reduceAngle(12.7f), 12);
    EXPECT_EQ(reduceAngle(-12.7f), -12);
    EXPECT_EQ(reduceAngle(0), 0);
    // Values no key can reach, from a hand-edited settings file.
    EXPECT_EQ(reduceAngle(1e30f), 0);
    EXPECT_EQ(reduceAngle(-1e30f), 0);
    EXPECT_EQ(reduceAngle(std::nanf("")), 0);
    EXPECT_EQ(reduceAngle(1000000.5f), 1000000 % 360);
    // Any key in the 3D view reduces all three.
    Settings.XPosition = 370;
    Settings.YPosition = -365;
    Settings.ZPosition = 45.5f;
    EXPECT_EQ(press('A'), CAMERA_UNCHANGED);
    EXPECT_EQ(Settings.XPosition, 10);
    EXPECT_EQ(Settings.YPosition, -5);
    EXPECT_EQ(Settings.ZPosition, 45);
}

TEST_F(Camera, ZoomKeysAndLimits) {
    for (int i = 0; i < 5; ++i) EXPECT_EQ(press(VK_PRIOR), CAMERA_MOVED);
    EXPECT_EQ(Settings.ZView, 300);
    press(VK_NEXT);
    EXPECT_EQ(Settings.ZView, 305);
    Settings.ZView = 1000;
    EXPECT_EQ(press(VK_NEXT), CAMERA_UNCHANGED);
    EXPECT_EQ(Settings.ZView, 1000);
    // The limit is tested before the step: 998 goes on to 1003.
    Settings.ZView = 998;
    EXPECT_EQ(press(VK_NEXT), CAMERA_MOVED);
    EXPECT_EQ(Settings.ZView, 1003);
    EXPECT_EQ(press(VK_NEXT), CAMERA_UNCHANGED);
    Settings.ZView = 0;
    EXPECT_EQ(press(VK_PRIOR), CAMERA_UNCHANGED);
    Settings.ZView = 2;
    press(VK_PRIOR);
    EXPECT_EQ(Settings.ZView, -3);
}

TEST_F(Camera, Wheel) {
    EXPECT_EQ(cameraWheel(-120), CAMERA_MOVED);  // towards the user: closer
    EXPECT_EQ(Settings.ZView, 320);
    EXPECT_EQ(cameraWheel(240), CAMERA_MOVED);  // one step whatever the delta
    EXPECT_EQ(Settings.ZView, 325);
    EXPECT_EQ(cameraWheel(0), CAMERA_UNCHANGED);
    EXPECT_EQ(Settings.ZView, 325);
    Settings.ZView = 1000;
    EXPECT_EQ(cameraWheel(120), CAMERA_UNCHANGED);
    // The wheel leaves the angles alone.
    Settings.XPosition = 370;
    cameraWheel(-120);
    EXPECT_EQ(Settings.XPosition, 370);
}

TEST_F(Camera, InclinationAndItsLimits) {
    EXPECT_EQ(press(VK_INSERT), CAMERA_MOVED);
    EXPECT_EQ(Settings.Inclination, 1);
    EXPECT_EQ(press(VK_DELETE), CAMERA_MOVED);
    EXPECT_EQ(press(VK_DELETE), CAMERA_MOVED);
    EXPECT_EQ(Settings.Inclination, -1);
    for (int i = 0; i < 50; ++i) press(VK_INSERT);
    EXPECT_EQ(Settings.Inclination, 20);
    EXPECT_EQ(press(VK_INSERT), CAMERA_UNCHANGED);
    for (int i = 0; i < 50; ++i) press(VK_DELETE);
    EXPECT_EQ(Settings.Inclination, -20);
    Settings.StepInclination = 3;
    Settings.Inclination = 19;
    press(VK_INSERT);
    EXPECT_EQ(Settings.Inclination, 22);  // past the limit by less than one step
}

TEST_F(Camera, PanOnBothKeyboards) {
    struct Case {
        int digit, dx, dy;
    };
    const Case cases[] = {{1, -1, -1}, {2, 0, -1}, {3, 1, -1}, {4, -1, 0},
                          {6, 1, 0},   {7, -1, 1}, {8, 0, 1},  {9, 1, 1}};
    for (const Case& c : cases)
        for (uintptr_t key : {(uintptr_t)(0x30 + c.digit), (uintptr_t)(VK_NUMPAD0 + c.digit)}) {
            SCOPED_TRACE(key);
            Settings.XView = Settings.YView = 0;
            EXPECT_EQ(press(key), CAMERA_MOVED);
            EXPECT_EQ(Settings.XView, 5 * c.dx);
            EXPECT_EQ(Settings.YView, 5 * c.dy);
        }
    for (uintptr_t key : {(uintptr_t)0x35, (uintptr_t)0x30, VK_NUMPAD0 + 5, VK_NUMPAD0, VK_F1, VK_SPACE}) {
        EXPECT_EQ(press(key), CAMERA_UNCHANGED);
        EXPECT_EQ(Settings.XView, 5);  // the last case left (5, 5)
        EXPECT_EQ(Settings.YView, 5);
    }
}
