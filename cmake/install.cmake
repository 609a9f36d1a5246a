# Installing the game (cmake --install build [--prefix DIR], default /usr/local) and its Debian package
# (cpack -G DEB in the build directory):
#   bin/mahjong, bin/mahjong-2d                  launchers: prepare the player's start directory, start the program
#   libexec/velmora-mahjong/mahjong, mahjong-2d   the programs
#   share/velmora-mahjong/                       the delivered data, copied by the launchers
#   share/applications/mahjong.desktop, mahjong-2d.desktop, share/metainfo/example.velmora.mahjong.metainfo.xml
#   share/icons/hicolor/<size>x<size>/apps/velmora-mahjong.png for every size of resources/, scalable/.../.svg
# The launchers find the programs and the data relative to themselves, so the tree can be moved as a whole.
include(GNUInstallDirs)

set(MJ_INSTALL_PROGRAM_DIR ${CMAKE_INSTALL_LIBEXECDIR}/velmora-mahjong)
set(MJ_INSTALL_DATA_DIR ${CMAKE_INSTALL_DATADIR}/velmora-mahjong)

# A game program: the program, its launcher under the program's name and its menu entry.
function(mj_install_game program)
    install(TARGETS ${program} RUNTIME DESTINATION ${MJ_INSTALL_PROGRAM_DIR})
    file(RELATIVE_PATH MJ_PROGRAM_FROM_BIN ${CMAKE_INSTALL_FULL_BINDIR}
        ${CMAKE_INSTALL_PREFIX}/${MJ_INSTALL_PROGRAM_DIR}/${program})
    file(RELATIVE_PATH MJ_DATA_FROM_BIN ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_PREFIX}/${MJ_INSTALL_DATA_DIR})
    set(MJ_PROGRAM ${program})
    configure_file(${CMAKE_SOURCE_DIR}/packaging/launcher.sh.in ${CMAKE_BINARY_DIR}/launchers/${program} @ONLY)
    install(PROGRAMS ${CMAKE_BINARY_DIR}/launchers/${program} DESTINATION ${CMAKE_INSTALL_BINDIR})
    install(FILES ${CMAKE_SOURCE_DIR}/packaging/${program}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
endfunction()

set(MJ_INSTALLED_GAMES mahjong-2d)
if(TARGET mahjong)
    list(APPEND MJ_INSTALLED_GAMES mahjong)
endif()
foreach(game IN LISTS MJ_INSTALLED_GAMES)
    mj_install_game(${game})
endforeach()
# Command-line programs go straight into bin/, beside the launchers; a new one is one more name here.
set(MJ_INSTALLED_TOOLS)
foreach(tool IN ITEMS mahjong-solve)
    if(TARGET ${tool})
        install(TARGETS ${tool} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
        list(APPEND MJ_INSTALLED_TOOLS ${tool})
    endif()
endforeach()

install(DIRECTORY ${CMAKE_SOURCE_DIR}/data/ DESTINATION ${MJ_INSTALL_DATA_DIR}
    FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ
    DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE
    PATTERN .keep EXCLUDE)

file(GLOB MJ_ICONS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/resources/icon-*.png)
foreach(icon IN LISTS MJ_ICONS)
    string(REGEX REPLACE ".*icon-([0-9]+)\\.png$" "\\1" size ${icon})
    install(FILES ${icon} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
        RENAME velmora-mahjong.png)
endforeach()
install(FILES ${CMAKE_SOURCE_DIR}/resources/icon.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
    RENAME velmora-mahjong.svg)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/example.velmora.mahjong.metainfo.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# The Debian package: the libraries' packages come from dpkg-shlibdeps; Qt's window-system plugins (only
# recommended by Qt), SDL and SDL_mixer (opened at run time, so dpkg-shlibdeps does not see them) and the
# General MIDI sound font that the music is played with are named here. The
# launchers show their errors in a window with xmessage, zenity or kdialog, whichever is there.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME velmora-mahjong)
set(CPACK_PACKAGE_VENDOR Velmora)
set(CPACK_PACKAGE_CONTACT "Velmora <mj@velmora.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "mah-jong solitaire on a flat or a turnable 3D board")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Take pairs of free, matching tiles off a stack of 144 until the board is
empty. Easy and random deals, undo, hints, automatic play, a hall of fame per
layout, saved games, nine layouts, four tile sets and backgrounds, sounds and
music, English, French and German texts.

mahjong shows the board in 3D or flat; mahjong-2d has the flat board only.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, libsdl2-2.0-0, libsdl2-mixer-2.0-0, fluid-soundfont-gm")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "x11-utils | zenity | kdialog")
set(CPACK_STRIP_FILES ON)
include(CPack)
