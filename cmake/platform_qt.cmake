# The window layer on Qt 6 Widgets: main window and messages, menus, toolbar,
# status bar, cursors, resources, dialogs, file and colour dialogs, help
# viewer, splash. Only this library includes Qt.
file(GLOB MJ_PLATFORM_QT_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/platform/qt/*.cpp)
add_library(mj_platform_qt STATIC ${MJ_PLATFORM_QT_SOURCES} ${CMAKE_SOURCE_DIR}/platform/qt/resources.qrc)
set_target_properties(mj_platform_qt PROPERTIES AUTOMOC ON AUTORCC ON)
target_link_libraries(mj_platform_qt PUBLIC Qt6::Widgets mj_platform_core)
# On X11 the dialogs' caption buttons are switched off through libxcb.
find_library(MJ_XCB_LIBRARY xcb)
find_path(MJ_XCB_INCLUDE xcb/xcb.h)
if(MJ_XCB_LIBRARY AND MJ_XCB_INCLUDE)
    target_compile_definitions(mj_platform_qt PRIVATE MJ_HAVE_XCB=1)
    target_link_libraries(mj_platform_qt PRIVATE ${MJ_XCB_LIBRARY})
endif()

# Widget tests, run on the offscreen platform.
enable_testing()
file(GLOB MJ_PLATFORM_QT_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/platform_qt/*.cpp)
list(FILTER MJ_PLATFORM_QT_TEST_SOURCES EXCLUDE REGEX "demo_main\\.cpp$")
if(MJ_PLATFORM_QT_TEST_SOURCES)
    add_executable(mj_platform_qt_tests ${MJ_PLATFORM_QT_TEST_SOURCES})
    set_target_properties(mj_platform_qt_tests PROPERTIES AUTOMOC ON)
    target_link_libraries(mj_platform_qt_tests PRIVATE mj_platform_qt Qt6::Test)
    target_compile_definitions(mj_platform_qt_tests PRIVATE MJ_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
    add_test(NAME mj_platform_qt_tests COMMAND mj_platform_qt_tests)
    set_tests_properties(mj_platform_qt_tests PROPERTIES
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LSAN_OPTIONS=suppressions=${CMAKE_SOURCE_DIR}/tests/platform_qt/lsan.supp"
        TIMEOUT 300)
endif()

# A small program to look at the window layer for real (not a test).
if(EXISTS ${CMAKE_SOURCE_DIR}/tests/platform_qt/demo_main.cpp)
    add_executable(mj_platform_demo ${CMAKE_SOURCE_DIR}/tests/platform_qt/demo_main.cpp)
    target_link_libraries(mj_platform_demo PRIVATE mj_platform_qt)
endif()
