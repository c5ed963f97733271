# Writes OUTPUT, a C++ source whose function reg::seed::SYMBOL() returns the
# bytes of INPUT. Run as: cmake -DINPUT=... -DSYMBOL=... -DOUTPUT=... -P EmbedFile.cmake
file(READ "${INPUT}" bytes HEX)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${bytes}")
string(REGEX REPLACE "((0x[0-9a-f][0-9a-f],){16})" "\\1\n" bytes "${bytes}")
get_filename_component(name "${INPUT}" NAME)
file(WRITE "${OUTPUT}.tmp" "// Generated from ${name} at build time; do not edit.
#include \"registry/seed.h\"

namespace reg::seed {
namespace {
const unsigned char Bytes[] = {
${bytes}};
} // namespace

std::string_view ${SYMBOL}() {
  return {reinterpret_cast<const char *>(Bytes), sizeof Bytes};
}

} // namespace reg::seed
")
# Only touch OUTPUT when it changes, so that an unchanged seed rebuilds nothing.
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
