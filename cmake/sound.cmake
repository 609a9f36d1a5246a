# Sound effects and music on SDL2_mixer. Only platform/sdl/ includes SDL.
find_package(SDL2 REQUIRED)
find_package(PkgConfig REQUIRED)
pkg_check_modules(SDL2_MIXER REQUIRED IMPORTED_TARGET SDL2_mixer)

add_library(mj_sound_2d STATIC
    ${CMAKE_SOURCE_DIR}/platform/sdl/audio.cpp ${CMAKE_SOURCE_DIR}/shell/sound.cpp)
target_link_libraries(mj_sound_2d PUBLIC mj_core_2d PRIVATE SDL2::SDL2 PkgConfig::SDL2_MIXER Threads::Threads)

# The same for mahjong, whose core carries the 3D settings.
add_library(mj_sound_3d STATIC
    ${CMAKE_SOURCE_DIR}/platform/sdl/audio.cpp ${CMAKE_SOURCE_DIR}/shell/sound.cpp)
target_link_libraries(mj_sound_3d PUBLIC mj_core_3d PRIVATE SDL2::SDL2 PkgConfig::SDL2_MIXER Threads::Threads)
