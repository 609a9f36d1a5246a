# mahjong: the whole game of mahjong-2d built with the 3D branches, plus the
# 3D view on OpenGL. Included after programs.cmake and view3d_model.cmake;
# the 2D targets stay as they are.
find_package(OpenGL REQUIRED COMPONENTS OpenGL)
find_package(Qt6 REQUIRED COMPONENTS OpenGL)

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

# The real mahjong under Xvfb (software OpenGL): starts in 3D, Space switches
# views, a click picks a tile, the keys turn the board, F12 writes the 3D block;
# and without an OpenGL driver: the error box and exit status 1.
find_program(MJ_E2E3D_PYTHON NAMES python3)
find_program(MJ_E2E3D_XVFB NAMES Xvfb)
find_program(MJ_E2E3D_XDOTOOL NAMES xdotool)
find_program(MJ_E2E3D_IMPORT NAMES import)
find_program(MJ_E2E3D_CONVERT NAMES convert)
if(MJ_E2E3D_PYTHON AND MJ_E2E3D_XVFB AND MJ_E2E3D_XDOTOOL AND MJ_E2E3D_IMPORT AND MJ_E2E3D_CONVERT)
    foreach(scenario IN ITEMS play no_gl)
        add_test(NAME e2e_mahjong_3d_${scenario}
            COMMAND ${MJ_E2E3D_PYTHON} ${CMAKE_SOURCE_DIR}/tests/view3d/e2e_mahjong3d.py
                --program $<TARGET_FILE:mahjong> --data ${CMAKE_SOURCE_DIR}/data
                --out ${CMAKE_BINARY_DIR}/e2e-output/mahjong_3d_${scenario} --scenario ${scenario})
        set_tests_properties(e2e_mahjong_3d_${scenario} PROPERTIES LABELS e2e TIMEOUT 240)
    endforeach()
else()
    message(STATUS "3D end-to-end test left out: python3, Xvfb, xdotool or ImageMagick is missing")
endif()
