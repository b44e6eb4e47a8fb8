# Writes the sample parameters file: the core sections, then each
# department's sections (a department not built yet adds nothing), then the
# end mark. Run with -DOUT=<file> -DSRC=<scenarios folder>.
set(text "")
foreach(part core purchasing marketing production finance)
  if(EXISTS "${SRC}/${part}.sec")
    file(READ "${SRC}/${part}.sec" piece)
    string(APPEND text "${piece}")
  endif()
endforeach()
string(APPEND text "[END OF FILE]\n")
file(WRITE "${OUT}.tmp" "${text}")
file(RENAME "${OUT}.tmp" "${OUT}")
