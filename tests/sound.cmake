# Sound effects and music through SDL's disk and null audio drivers.
file(GLOB MJ_SOUND_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/sound/*.cpp)
add_executable(mj_sound_tests ${MJ_SOUND_TEST_SOURCES})
target_link_libraries(mj_sound_tests PRIVATE mj_sound_2d mj_core_2d GTest::gtest GTest::gtest_main)
target_compile_definitions(mj_sound_tests PRIVATE MJ_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
gtest_discover_tests(mj_sound_tests DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 600)
