# End-to-end tests: the real mahjong-2d in a real X window under Xvfb, driven
# with xdotool by tests/e2e/e2e_mahjong.py, one test per scenario. Screenshots
# and, after a failure, the program's output and last board file go to
# e2e-output/<scenario> in the build directory.
find_program(MJ_E2E_PYTHON NAMES python3)
find_program(MJ_E2E_XVFB NAMES Xvfb)
find_program(MJ_E2E_XDOTOOL NAMES xdotool)
find_program(MJ_E2E_IMPORT NAMES import)
if(MJ_E2E_PYTHON AND MJ_E2E_XVFB AND MJ_E2E_XDOTOOL AND MJ_E2E_IMPORT)
    set(MJ_E2E_SCENARIOS first_run win settings autoplay autoplay_to_end save_load screenshots)
    foreach(scenario IN LISTS MJ_E2E_SCENARIOS)
        add_test(NAME e2e_${scenario}
            COMMAND ${MJ_E2E_PYTHON} ${CMAKE_CURRENT_SOURCE_DIR}/e2e/e2e_mahjong.py
                --program $<TARGET_FILE:mahjong-2d> --data ${CMAKE_SOURCE_DIR}/data
                --out ${CMAKE_BINARY_DIR}/e2e-output --scenario ${scenario})
        set_tests_properties(e2e_${scenario} PROPERTIES LABELS e2e TIMEOUT 240)
    endforeach()
else()
    message(STATUS "End-to-end tests left out: python3, Xvfb, xdotool or ImageMagick's import is missing")
endif()
