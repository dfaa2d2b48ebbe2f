# Included by the main build: the fuzz targets run as one test (label fuzz). They are built by
# run-fuzzers.sh with clang in a build directory of their own, since they need other compiler flags.
add_test(NAME fuzz_parsers COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/run-fuzzers.sh)
set_tests_properties(fuzz_parsers PROPERTIES
    LABELS fuzz
    TIMEOUT 2400
    ENVIRONMENT "FUZZ_BUILD_DIR=${CMAKE_BINARY_DIR}/fuzz")
