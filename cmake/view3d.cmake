# mahjong: the whole game of mahjong-2d built with the 3D branches, plus the
# 3D view on OpenGL. Included after programs.cmake; the 2D targets stay as
# they are.
find_package(OpenGL REQUIRED COMPONENTS OpenGL)
find_package(Qt6 REQUIRED COMPONENTS OpenGL)

# The 2D view on the 3D core (boardCentre3D, the 3D branch of paintBoard).
add_library(mj_view2d_3d STATIC
    ${CMAKE_SOURCE_DIR}/view2d/bitmap.cpp ${CMAKE_SOURCE_DIR}/view2d/tileset.cpp
    ${CMAKE_SOURCE_DIR}/view2d/draw2d.cpp ${CMAKE_SOURCE_DIR}/view2d/tile_shadow.cpp)
target_link_libraries(mj_view2d_3d PUBLIC mj_core_3d)
set_property(TARGET mj_view2d_3d APPEND PROPERTY LINK_INTERFACE_MULTIPLICITY 3)
set_property(TARGET mj_core_3d APPEND PROPERTY LINK_INTERFACE_MULTIPLICITY 3)

# The tile model's tables and the camera arithmetic: no OpenGL, tested alone.
add_library(mj_view3d_model STATIC
    ${CMAKE_SOURCE_DIR}/view3d/model3d.cpp ${CMAKE_SOURCE_DIR}/view3d/camera.cpp
    ${CMAKE_SOURCE_DIR}/view3d/face_image.cpp)
target_link_libraries(mj_view3d_model PUBLIC mj_core_3d)

# The OpenGL context of the main window on Qt.
add_library(mj_platform_gl STATIC ${CMAKE_SOURCE_DIR}/platform/qtgl/gl.cpp)
target_link_libraries(mj_platform_gl PUBLIC mj_platform_qt Qt6::OpenGL OpenGL::GL)

add_library(mj_ui_3d OBJECT ${MJ_SHELL_SOURCES} ${MJ_DIALOG_SOURCES}
    ${CMAKE_SOURCE_DIR}/settings/menubar.cpp
    ${CMAKE_SOURCE_DIR}/view3d/gl_context.cpp ${CMAKE_SOURCE_DIR}/view3d/tile_model.cpp
    ${CMAKE_SOURCE_DIR}/view3d/scene.cpp)
target_link_libraries(mj_ui_3d PUBLIC mj_view2d_3d mj_view3d_model mj_core_3d mj_sound_3d
    mj_platform_gl mj_platform_qt OpenGL::GL OpenGL::GLU)

add_executable(mahjong ${CMAKE_SOURCE_DIR}/shell/main.cpp)
target_link_libraries(mahjong PRIVATE mj_ui_3d mj_view2d_3d mj_view3d_model mj_core_3d mj_sound_3d
    mj_platform_gl)
set_target_properties(mahjong PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})

find_package(GTest REQUIRED)
include(GoogleTest)
enable_testing()
file(GLOB MJ_VIEW3D_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/view3d/*.cpp)
if(MJ_VIEW3D_TEST_SOURCES)
    add_executable(mj_view3d_tests ${MJ_VIEW3D_TEST_SOURCES}
        ${CMAKE_SOURCE_DIR}/tests/view2d/view_fakes.cpp ${CMAKE_SOURCE_DIR}/tests/view2d/view_support.cpp)
    target_link_libraries(mj_view3d_tests PRIVATE mj_view3d_model mj_view2d_3d mj_core_3d mj_view2d_3d
        GTest::gtest GTest::gtest_main)
    target_compile_definitions(mj_view3d_tests PRIVATE MJ_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
    gtest_discover_tests(mj_view3d_tests DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 600)
endif()

# The real mahjong under Xvfb (software OpenGL): starts in 3D, Space switches
# views, a click picks a tile, the keys turn the board, F12 writes the 3D block.
find_program(MJ_E2E3D_PYTHON NAMES python3)
find_program(MJ_E2E3D_XVFB NAMES Xvfb)
find_program(MJ_E2E3D_XDOTOOL NAMES xdotool)
find_program(MJ_E2E3D_IMPORT NAMES import)
find_program(MJ_E2E3D_CONVERT NAMES convert)
if(MJ_E2E3D_PYTHON AND MJ_E2E3D_XVFB AND MJ_E2E3D_XDOTOOL AND MJ_E2E3D_IMPORT AND MJ_E2E3D_CONVERT)
    add_test(NAME e2e_mahjong_3d
        COMMAND ${MJ_E2E3D_PYTHON} ${CMAKE_SOURCE_DIR}/tests/view3d/e2e_mahjong3d.py
            --program $<TARGET_FILE:mahjong> --data ${CMAKE_SOURCE_DIR}/data
            --out ${CMAKE_BINARY_DIR}/e2e-output/mahjong_3d)
    set_tests_properties(e2e_mahjong_3d PROPERTIES LABELS e2e TIMEOUT 240)
else()
    message(STATUS "3D end-to-end test left out: python3, Xvfb, xdotool or ImageMagick is missing")
endif()
