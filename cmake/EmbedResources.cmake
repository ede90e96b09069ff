# Writes a C++ source that holds files as named program resources (the Linux stand-in for RCDATA).
# Run as a script: cmake -DOUTPUT=<file.cpp> -DRESOURCES="NAME=path|NAME=path" -P EmbedResources.cmake
string(REPLACE "|" ";" RESOURCES "${RESOURCES}")
set(entries "")
set(data "")
set(index 0)
foreach(resource IN LISTS RESOURCES)
  string(FIND "${resource}" "=" split)
  string(SUBSTRING "${resource}" 0 ${split} name)
  math(EXPR start "${split} + 1")
  string(SUBSTRING "${resource}" ${start} -1 path)
  file(READ "${path}" hex HEX)
  string(LENGTH "${hex}" hex_length)
  math(EXPR size "${hex_length} / 2")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  string(APPEND data "const unsigned char kData${index}[] = {${bytes} 0};\n")
  string(APPEND entries "    {\"${name}\", kData${index}, ${size}},\n")
  math(EXPR index "${index} + 1")
endforeach()
file(WRITE "${OUTPUT}.tmp" "// Generated from resources/ by cmake/EmbedResources.cmake: do not edit.\n"
  "#include \"platform/gtk/EmbeddedResources.h\"\n\nnamespace Platform {\n\nnamespace {\n${data}} // namespace\n\n"
  "const TEmbeddedResource kEmbeddedResources[] = {\n${entries}    {nullptr, nullptr, 0},\n};\n\n} // namespace Platform\n")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
