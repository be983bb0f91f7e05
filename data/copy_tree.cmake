file(GLOB entries "${SRC}/*")
if(entries)
  file(COPY ${entries} DESTINATION "${DST}")
endif()
