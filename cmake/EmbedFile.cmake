# Writes OUTPUT: a C++ source defining `std::string_view SYMBOL()` over INPUT's bytes.
file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" hex_length)
math(EXPR byte_count "${hex_length} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," bytes "${hex}")
string(REGEX REPLACE "(('\\\\x[0-9a-f][0-9a-f]',){32})" "\\1\n    " bytes "${bytes}")
file(WRITE "${OUTPUT}" "// Generated from ${INPUT}; do not edit.\n#include <string_view>\n\nnamespace korvane::embedded {\nnamespace {\nconstexpr char kBytes[] = {\n    ${bytes} '\\0'};\n}  // namespace\n\nstd::string_view ${SYMBOL}() { return {kBytes, ${byte_count}}; }\n}  // namespace korvane::embedded\n")
