# Widget tests of the application shell (main window, menus, toolbar, status
# bar), run on the offscreen platform in a temporary copy of the data. The
# first run has no audio device; the second gives one (SDL's disk driver) for
# the SOUNDS menu.
file(GLOB MJ_SHELL_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/shell/*.cpp)
add_executable(mj_shell_tests ${MJ_SHELL_TEST_SOURCES})
set_target_properties(mj_shell_tests PROPERTIES AUTOMOC ON)
target_link_libraries(mj_shell_tests PRIVATE mj_ui_2d mj_view2d_2d mj_core_2d mj_sound_2d Qt6::Test)
target_compile_definitions(mj_shell_tests PRIVATE MJ_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
add_test(NAME mj_shell_tests COMMAND mj_shell_tests)
set_tests_properties(mj_shell_tests PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;SDL_AUDIODRIVER=dummy;LSAN_OPTIONS=suppressions=${CMAKE_CURRENT_SOURCE_DIR}/shell/lsan.supp" TIMEOUT 600)
add_test(NAME mj_shell_sound_menu_tests COMMAND mj_shell_tests)
set_tests_properties(mj_shell_sound_menu_tests PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;SDL_AUDIODRIVER=disk;SDL_DISKAUDIOFILE=/dev/null;MJ_SHELL_SUITE=soundmenus;LSAN_OPTIONS=suppressions=${CMAKE_CURRENT_SOURCE_DIR}/shell/lsan.supp"
    TIMEOUT 300)
