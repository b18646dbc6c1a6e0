# cmake -DINPUT=file -DOUTPUT=file.cpp -DNAME=kName -DNAMESPACE=ns -P EmbedBytes.cmake
# Writes a source that defines `const unsigned char NAME[]` with the bytes of
# INPUT and `const uint32_t NAME##Size` with their count, in NAMESPACE.
file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" digits)
math(EXPR size "${digits} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
# Sixteen bytes a line.
string(REGEX REPLACE "((0x..,){16})" "\\1\n    " bytes "${bytes}")
get_filename_component(source "${INPUT}" NAME)
file(WRITE "${OUTPUT}.tmp"
  "// Generated from ${source}; do not edit.\n"
  "#include <cstdint>\n\n"
  "namespace ${NAMESPACE} {\n\n"
  "extern const unsigned char ${NAME}[];\n"
  "extern const uint32_t ${NAME}Size;\n\n"
  "alignas(4) const unsigned char ${NAME}[${size}] = {\n    ${bytes}\n};\n"
  "const uint32_t ${NAME}Size = ${size};\n\n"
  "} // namespace ${NAMESPACE}\n")
file(RENAME "${OUTPUT}.tmp" "${OUTPUT}")
