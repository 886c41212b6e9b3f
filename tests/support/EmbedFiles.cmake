# Writes OUTPUT, a list of C++ initializers {"NAME", std::string_view("BYTES", SIZE)}, one for
# each file in FILES (separated by "|"), so that a test holds committed files in its own
# program and needs no path to the sources, under Wine too:
#   cmake -DOUTPUT=FILE.inc -DFILES="A|B" -P EmbedFiles.cmake
string(REPLACE "|" ";" files "${FILES}")
set(text "// Made by tests/support/EmbedFiles.cmake from the files named; do not edit.\n")
foreach(file IN LISTS files)
  get_filename_component(name ${file} NAME)
  file(SIZE ${file} size)
  file(READ ${file} hex HEX)
  string(REGEX REPLACE "(..)" "\\\\x\\1" escaped "${hex}")
  string(APPEND text "{\"${name}\", std::string_view(\"${escaped}\", ${size})},\n")
endforeach()
file(WRITE ${OUTPUT}.new "${text}")
file(COPY_FILE ${OUTPUT}.new ${OUTPUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUTPUT}.new)
