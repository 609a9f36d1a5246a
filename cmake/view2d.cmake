# The 2D board view of mahjong-2d: pictures, drawing, shadows. The window side
# (presenting a frame, the client size, the status bar) comes from the
# program, or from recording fakes in the tests.
add_library(mj_view2d_2d STATIC
    view2d/bitmap.cpp view2d/tileset.cpp view2d/draw2d.cpp view2d/tile_shadow.cpp)
target_link_libraries(mj_view2d_2d PUBLIC mj_core_2d)
# The core calls back into the view (layoutBoard2D, paintBoard, fadeOutPair)
# and the view into the core, so the pair is listed twice on a link line.
set_property(TARGET mj_view2d_2d APPEND PROPERTY LINK_INTERFACE_MULTIPLICITY 3)
set_property(TARGET mj_core_2d APPEND PROPERTY LINK_INTERFACE_MULTIPLICITY 3)

find_package(GTest REQUIRED)
include(GoogleTest)
enable_testing()
file(GLOB MJ_VIEW2D_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/view2d/*.cpp)
if(MJ_VIEW2D_TEST_SOURCES)
    add_executable(mj_view2d_tests ${MJ_VIEW2D_TEST_SOURCES})
    target_link_libraries(mj_view2d_tests PRIVATE mj_view2d_2d mj_core_2d GTest::gtest GTest::gtest_main)
    target_compile_definitions(mj_view2d_tests PRIVATE MJ_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
    gtest_discover_tests(mj_view2d_tests DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 600)
endif()

if(MJ_BUILD_BENCH)
    find_package(benchmark REQUIRED)
    file(GLOB MJ_VIEW2D_BENCH_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/bench/view2d/*.cpp)
    if(MJ_VIEW2D_BENCH_SOURCES)
        # The bench shares the recording window fakes of the view tests.
        add_executable(mj_view2d_bench ${MJ_VIEW2D_BENCH_SOURCES}
            ${CMAKE_SOURCE_DIR}/tests/view2d/view_fakes.cpp)
        target_link_libraries(mj_view2d_bench PRIVATE mj_view2d_2d mj_core_2d benchmark::benchmark)
    endif()
endif()
