# The parts of mahjong's views that need neither OpenGL nor Qt: the 2D view on
# the 3D core, the tile model's tables and the camera arithmetic, and their
# tests (also run under the sanitizers, which build without the programs).
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

