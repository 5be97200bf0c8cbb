# zarv_add_test(<name> SOURCES <files...> LIBS <targets...>)
# A Qt Test executable run by ctest on the offscreen platform. Tests find the
# installation folder of the build and the source tree through two definitions.
function(zarv_add_test name)
    cmake_parse_arguments(TEST "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${TEST_SOURCES})
    target_link_libraries(${name} PRIVATE ${TEST_LIBS} Qt6::Test zarv_common)
    target_compile_definitions(${name} PRIVATE
        ZARV_PROGRAM_DIR="${ZARV_PROGRAM_DIR}/"
        ZARV_SOURCE_DIR="${PROJECT_SOURCE_DIR}/"
        ZARV_TEST_BIN_DIR="${CMAKE_BINARY_DIR}/tests/bin/")
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests/bin)
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES
        TIMEOUT 300
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;ASAN_OPTIONS=detect_leaks=1:abort_on_error=1;LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/lsan.supp;UBSAN_OPTIONS=print_stacktrace=1")
endfunction()
