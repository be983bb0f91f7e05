# Copies the committed data tree SRC into DST. A file is copied when it is missing in DST or
# the committed copy is newer, so tables the program rewrote there (the settings file, the
# weather selection) survive a rebuild until their committed version changes.
file(GLOB_RECURSE files RELATIVE "${SRC}" "${SRC}/*")
foreach(rel ${files})
  set(from "${SRC}/${rel}")
  set(to "${DST}/${rel}")
  if(NOT EXISTS "${to}" OR "${from}" IS_NEWER_THAN "${to}")
    get_filename_component(dir "${to}" DIRECTORY)
    file(COPY "${from}" DESTINATION "${dir}")
  endif()
endforeach()
