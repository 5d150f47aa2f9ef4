# korvane_test(NAME SOURCES... LIBS ...): one GoogleTest executable registered with CTest.
# Tests live in tests/ at the same relative path as the code they test.
include(GoogleTest)
function(korvane_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;PROPERTIES" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} korvane_test_support GTest::gmock GTest::gtest_main)
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES ${ARG_PROPERTIES})
endfunction()

# korvane_embed(TARGET NAME FILE SYMBOL): turns a file's bytes into a generated source
# that defines `std::string_view korvane::embedded::SYMBOL()`, so data travels inside the binary.
function(korvane_embed target file symbol)
  set(out "${CMAKE_CURRENT_BINARY_DIR}/embedded/${symbol}.cpp")
  add_custom_command(
    OUTPUT "${out}"
    COMMAND ${CMAKE_COMMAND} -DINPUT=${file} -DOUTPUT=${out} -DSYMBOL=${symbol}
            -P "${PROJECT_SOURCE_DIR}/cmake/EmbedFile.cmake"
    DEPENDS "${file}" "${PROJECT_SOURCE_DIR}/cmake/EmbedFile.cmake"
    VERBATIM)
  target_sources(${target} PRIVATE "${out}")
endfunction()
