# Widget tests of the game's dialogs, run on the offscreen platform. The
# dialogs are built into the tests with the core, the 2D view and the window
# layer; what the shell would supply (the file lists, the status bar, sounds)
# comes from tests/dialogs/dialog_fakes.cpp.
file(GLOB MJ_DIALOGS_UNDER_TEST CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/dialogs/*.cpp)
set(MJ_DIALOG_TEST_SOURCES
    dialogs/dialog_test_main.cpp dialogs/dialog_driver.cpp dialogs/dialog_fakes.cpp
    dialogs/info_dialogs_test.cpp dialogs/settings_dialogs_test.cpp)
add_executable(mj_dialogs_tests ${MJ_DIALOG_TEST_SOURCES} ${MJ_DIALOGS_UNDER_TEST})
set_target_properties(mj_dialogs_tests PROPERTIES AUTOMOC ON)
target_link_libraries(mj_dialogs_tests PRIVATE mj_view2d_2d mj_core_2d mj_platform_qt Qt6::Test)
add_test(NAME mj_dialogs_tests COMMAND mj_dialogs_tests)
set(MJ_DIALOG_TEST_ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
    "LSAN_OPTIONS=suppressions=${CMAKE_CURRENT_SOURCE_DIR}/dialogs/lsan.supp")
set_tests_properties(mj_dialogs_tests PROPERTIES ENVIRONMENT "${MJ_DIALOG_TEST_ENVIRONMENT}" TIMEOUT 300)

# The 3D view's dialogs as built into mahjong, with the 3D core; fitFaceSize
# and initGLState are counted by the fakes.
set(MJ_DIALOG3D_TEST_SOURCES
    dialogs/dialog_test_main.cpp dialogs/dialog_driver.cpp dialogs/dialog3d_fakes.cpp
    dialogs/dialogs3d_test.cpp)
add_executable(mj_dialogs3d_tests ${MJ_DIALOG3D_TEST_SOURCES} ${MJ_DIALOGS_UNDER_TEST})
set_target_properties(mj_dialogs3d_tests PROPERTIES AUTOMOC ON)
target_compile_definitions(mj_dialogs3d_tests PRIVATE MJ_DIALOG_TESTS_3D=1)
target_link_libraries(mj_dialogs3d_tests PRIVATE mj_core_3d mj_platform_qt Qt6::Test)
add_test(NAME mj_dialogs3d_tests COMMAND mj_dialogs3d_tests)
set_tests_properties(mj_dialogs3d_tests PROPERTIES ENVIRONMENT "${MJ_DIALOG_TEST_ENVIRONMENT}" TIMEOUT 300)

# Pictures of every dialog with the English texts, to look at the layout (not a test).
add_executable(mj_dialog_shots dialogs/dialog_shots.cpp dialogs/dialog_driver.cpp dialogs/dialog_fakes.cpp
    ${MJ_DIALOGS_UNDER_TEST})
target_link_libraries(mj_dialog_shots PRIVATE mj_view2d_2d mj_core_2d mj_platform_qt)
add_executable(mj_dialog_shots_3d dialogs/dialog_shots.cpp dialogs/dialog_driver.cpp dialogs/dialog3d_fakes.cpp
    ${MJ_DIALOGS_UNDER_TEST})
target_link_libraries(mj_dialog_shots_3d PRIVATE mj_core_3d mj_platform_qt)
foreach(shots mj_dialog_shots mj_dialog_shots_3d)
    target_compile_definitions(${shots} PRIVATE MJ_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
endforeach()
