# libFuzzer harnesses, one per file reader, and the program that writes their
# seed inputs. Built only with -DMJ_FUZZ=ON and clang; scripts/fuzz-campaign.sh
# builds and runs them (scripts/test.sh runs it briefly). Like the tests, they
# run the game against the null host; MAHJONG_3D 1 gives it the 3D view.
set(MJ_FUZZ_DIR ${CMAKE_SOURCE_DIR}/tests/fuzz)

function(mj_fuzz_executable name source library)
    add_executable(${name} ${MJ_FUZZ_DIR}/${source} ${MJ_FUZZ_DIR}/fuzz_support.cpp
        ${CMAKE_SOURCE_DIR}/tests/support/null_host.cpp)
    target_link_libraries(${name} PRIVATE ${library})
    target_compile_definitions(${name} PRIVATE MJ_SOURCE_DIR="${CMAKE_SOURCE_DIR}" ${ARGN})
endfunction()

set(MJ_FUZZERS)
foreach(reader settings_2d settings_3d language layout savegame halloffame bmp)
    string(REGEX REPLACE "_[23]d$" "" source ${reader})
    set(library mj_core)
    if(reader STREQUAL "bmp")
        set(library mj_view2d)
    endif()
    if(reader STREQUAL "settings_3d")
        mj_fuzz_executable(mj_fuzz_${reader} fuzz_${source}.cpp ${library} MAHJONG_3D=1)
    else()
        mj_fuzz_executable(mj_fuzz_${reader} fuzz_${source}.cpp ${library})
    endif()
    target_link_options(mj_fuzz_${reader} PRIVATE -fsanitize=fuzzer)
    list(APPEND MJ_FUZZERS mj_fuzz_${reader})
endforeach()

# Writes the 3D block of the settings seeds too.
mj_fuzz_executable(mj_fuzz_seeds make_seeds.cpp mj_core MAHJONG_3D=1)

add_custom_target(mj_fuzzers DEPENDS ${MJ_FUZZERS} mj_fuzz_seeds)
