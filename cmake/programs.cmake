# The application shell, the menus and the dialogs of mahjong-2d, and the
# program itself. The window layer (mj_platform_qt) and the 2D view
# (mj_view2d_2d) are defined before this file is included.
if(NOT TARGET mj_sound_2d)
    include(${CMAKE_SOURCE_DIR}/cmake/sound.cmake)
endif()

file(GLOB MJ_SHELL_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/shell/*.cpp)
list(FILTER MJ_SHELL_SOURCES EXCLUDE REGEX
    "shell/(directories|messages|shell_state|sound|main)\\.cpp$")
file(GLOB MJ_DIALOG_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/dialogs/*.cpp)

# An object library: the core calls back into the shell (status bar, file
# dialog, dialogs, release of resources), so all of its objects go into
# every program and test that links it.
add_library(mj_ui_2d OBJECT ${MJ_SHELL_SOURCES} ${MJ_DIALOG_SOURCES}
    ${CMAKE_SOURCE_DIR}/settings/menubar.cpp)
target_link_libraries(mj_ui_2d PUBLIC mj_view2d_2d mj_core_2d mj_sound_2d mj_platform_qt)

add_executable(mahjong-2d ${CMAKE_SOURCE_DIR}/shell/main.cpp)
# The sound library is named once more after the core, which plays effects.
target_link_libraries(mahjong-2d PRIVATE mj_ui_2d mj_view2d_2d mj_core_2d mj_sound_2d)
set_target_properties(mahjong-2d PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
