# Writes OUTPUT: a C++ source whose function SYMBOL() lists every file below FOLDER.
file(GLOB_RECURSE files LIST_DIRECTORIES false RELATIVE "${FOLDER}" "${FOLDER}/*")
list(SORT files)
set(arrays "")
set(entries "")
set(index 0)
foreach(name IN LISTS files)
  # Names are compiled as literals in the GBK execution set: only ASCII survives unchanged.
  if(NOT name MATCHES "^[A-Za-z0-9_./-]+$")
    message(FATAL_ERROR "resource file name ${name}: use ASCII letters, digits and _ . - /")
  endif()
  file(READ "${FOLDER}/${name}" hex HEX)
  string(LENGTH "${hex}" hex_length)
  math(EXPR byte_count "${hex_length} / 2")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," bytes "${hex}")
  string(REGEX REPLACE "(('\\\\x[0-9a-f][0-9a-f]',){32})" "\\1\n    " bytes "${bytes}")
  string(APPEND arrays "constexpr char kFile${index}[] = {\n    ${bytes} '\\0'};\n")
  string(APPEND entries "    {\"${name}\", {kFile${index}, ${byte_count}}},\n")
  math(EXPR index "${index} + 1")
endforeach()
if(index EQUAL 0)
  message(FATAL_ERROR "no resources in ${FOLDER}")
endif()
file(WRITE "${OUTPUT}" "// Generated from ${FOLDER}; do not edit.
#include <span>

#include \"platform/ui/resources.h\"

namespace korvane::embedded {
namespace {
${arrays}
constexpr platform::ui::ResourceFile kFiles[] = {
${entries}};
}  // namespace

std::span<const platform::ui::ResourceFile> ${SYMBOL}() { return kFiles; }
}  // namespace korvane::embedded
")
