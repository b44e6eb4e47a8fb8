# vorn_write_if_changed(<file> <content>): writes the file only when its
# content differs, so a configure that changes nothing leaves its time alone
# and relinks nothing that depends on it.
function(vorn_write_if_changed path content)
  set(staged "${path}.staged")
  file(WRITE "${staged}" "${content}")
  file(COPY_FILE "${staged}" "${path}" ONLY_IF_DIFFERENT)
  file(REMOVE "${staged}")
endfunction()
