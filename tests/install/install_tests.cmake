# The install tree staged with DESTDIR: every file in its place and nothing else, the menu entries and the
# metadata valid; and the launcher under Xvfb with a HOME of its own (tests/install/launcher_test.py).
find_program(MJ_INSTALL_PYTHON NAMES python3)
if(MJ_INSTALL_PYTHON)
    set(MJ_INSTALL_TEST_ARGS --cmake ${CMAKE_COMMAND} --build ${CMAKE_BINARY_DIR} --source ${CMAKE_SOURCE_DIR}
        --games ${MJ_INSTALLED_GAMES} --tools ${MJ_INSTALLED_TOOLS} --version ${PROJECT_VERSION})
    foreach(check IN ITEMS tree metadata)
        add_test(NAME install_${check} COMMAND ${MJ_INSTALL_PYTHON}
            ${CMAKE_SOURCE_DIR}/tests/install/install_tree_test.py --check ${check} ${MJ_INSTALL_TEST_ARGS})
        set_tests_properties(install_${check} PROPERTIES TIMEOUT 120)
    endforeach()
    add_test(NAME install_launcher COMMAND ${MJ_INSTALL_PYTHON} ${CMAKE_SOURCE_DIR}/tests/install/launcher_test.py
        ${MJ_INSTALL_TEST_ARGS} --out ${CMAKE_BINARY_DIR}/e2e-output/install_launcher)
    set_tests_properties(install_launcher PROPERTIES LABELS e2e TIMEOUT 240)
endif()
