# korvane_test(NAME SOURCES... LIBS... [KIND unit|e2e|desktop] [PROPERTIES...]): one
# GoogleTest executable registered with CTest. Tests live in tests/ at the same relative
# path as the code they test.
include(GoogleTest)
function(korvane_test name)
  cmake_parse_arguments(ARG "" "KIND" "SOURCES;LIBS;PROPERTIES" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} korvane_test_support GTest::gmock GTest::gtest_main)
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 TEST_LIST ${name}_TESTS PROPERTIES ${ARG_PROPERTIES})
  # The discovered tests are known only when CTest reads the list the discovery wrote, so
  # their labels are set by a script CTest reads after it (gtest_discover_tests would
  # split a list-valued property).
  korvane_test_labels(labels ${name} "${ARG_KIND}")
  set(script "${CMAKE_CURRENT_BINARY_DIR}/${name}_labels.cmake")
  file(WRITE "${script}"
    "if(${name}_TESTS)\n  set_tests_properties(\${${name}_TESTS} PROPERTIES LABELS \"${labels}\")\nendif()\n")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES "${script}")
endfunction()

# korvane_test_labels(OUT NAME KIND): the CTest labels of a test defined in the current
# folder: its layer, the first folder below tests/ (common, platform, player, update,
# tools, deploy, resources), and its kind: KIND when given, else read from the name
# ("..._e2e_test" runs a real program as a black box, "...desktop..." runs on an X server
# of its own, anything else is a unit test). `ctest --preset fast` runs the unit tests.
function(korvane_test_labels out name kind)
  file(RELATIVE_PATH folder "${PROJECT_SOURCE_DIR}/tests" "${CMAKE_CURRENT_SOURCE_DIR}")
  string(REGEX REPLACE "/.*" "" layer "${folder}")
  if(NOT layer MATCHES "^(common|platform|player|update|tools|deploy|resources)$")
    message(FATAL_ERROR "${name}: tests/${folder} is below no layer's folder")
  endif()
  if(kind STREQUAL "")
    if(name MATCHES "_e2e_test$")
      set(kind e2e)
    elseif(name MATCHES "desktop")
      set(kind desktop)
    else()
      set(kind unit)
    endif()
  endif()
  if(NOT kind MATCHES "^(unit|e2e|desktop)$")
    message(FATAL_ERROR "${name}: kind ${kind} is none of unit, e2e, desktop")
  endif()
  set(${out} "${layer};${kind}" PARENT_SCOPE)
endfunction()

# korvane_label_test(NAME KIND): labels a test added with add_test in the current folder
# as korvane_test labels its own.
function(korvane_label_test name kind)
  korvane_test_labels(labels ${name} ${kind})
  set_tests_properties(${name} PROPERTIES LABELS "${labels}")
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
