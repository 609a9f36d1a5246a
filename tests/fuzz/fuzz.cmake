# libFuzzer harnesses, one per file reader, and the program that writes their
# seed inputs. Built only with -DMJ_FUZZ=ON and clang; scripts/fuzz-campaign.sh
# builds and runs them (scripts/test.sh runs it briefly).
set(MJ_FUZZ_DIR ${CMAKE_SOURCE_DIR}/tests/fuzz)
set(MJ_FUZZ_HOST ${CMAKE_SOURCE_DIR}/tests/fakes/fake_ui.cpp)

function(mj_fuzzer name source)
    add_executable(${name} ${MJ_FUZZ_DIR}/${source} ${MJ_FUZZ_DIR}/fuzz_support.cpp ${ARGN})
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
    list(APPEND MJ_FUZZERS ${name})
    set(MJ_FUZZERS ${MJ_FUZZERS} PARENT_SCOPE)
endfunction()

mj_fuzzer(mj_fuzz_settings_2d fuzz_settings.cpp ${MJ_FUZZ_HOST})
target_link_libraries(mj_fuzz_settings_2d PRIVATE mj_core_2d)
mj_fuzzer(mj_fuzz_settings_3d fuzz_settings.cpp ${MJ_FUZZ_HOST})
target_link_libraries(mj_fuzz_settings_3d PRIVATE mj_core_3d)
foreach(reader language layout savegame halloffame)
    mj_fuzzer(mj_fuzz_${reader} fuzz_${reader}.cpp ${MJ_FUZZ_HOST})
    target_link_libraries(mj_fuzz_${reader} PRIVATE mj_core_2d)
endforeach()
mj_fuzzer(mj_fuzz_bmp fuzz_bmp.cpp ${CMAKE_SOURCE_DIR}/tests/view2d/view_fakes.cpp)
target_link_libraries(mj_fuzz_bmp PRIVATE mj_view2d_2d mj_core_2d)

add_executable(mj_fuzz_seeds ${MJ_FUZZ_DIR}/make_seeds.cpp ${MJ_FUZZ_DIR}/fuzz_support.cpp ${MJ_FUZZ_HOST})
target_link_libraries(mj_fuzz_seeds PRIVATE mj_core_3d)
target_compile_definitions(mj_fuzz_seeds PRIVATE MJ_SOURCE_DIR="${CMAKE_SOURCE_DIR}")

add_custom_target(mj_fuzzers DEPENDS ${MJ_FUZZERS} mj_fuzz_seeds)
