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

# korvane_utf8_sources(FILES...): these sources are compiled with the UTF-8 execution
# character set. For sources that hold no system texts and must include a header that
# GBK cannot compile (libstdc++'s <chrono> and <format>, and so cpp-httplib).
function(korvane_utf8_sources)
  set_source_files_properties(${ARGN} DIRECTORY "${CMAKE_CURRENT_SOURCE_DIR}"
    PROPERTIES COMPILE_OPTIONS "-fexec-charset=UTF-8")
endfunction()
