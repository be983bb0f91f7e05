# The source files of a library, a program or a test suite: the files matching the patterns.
# A folder that is there for one of them must hold its sources: finding none stops the
# configuration instead of silently leaving out a library or a test suite.
function(harvsim_sources var)
  if(CMAKE_SCRIPT_MODE_FILE)
    file(GLOB found ${ARGN})
  else()
    # A file added or removed later configures again.
    file(GLOB found CONFIGURE_DEPENDS ${ARGN})
  endif()
  if(NOT found)
    message(FATAL_ERROR "No source files match ${ARGN} (for ${var})")
  endif()
  set(${var} ${found} PARENT_SCOPE)
endfunction()

# Run as a script (cmake -DFOLDER=... -P HarvsimSources.cmake): the sources of one folder, as
# the configuration looks for them.
if(CMAKE_SCRIPT_MODE_FILE AND DEFINED FOLDER)
  harvsim_sources(FOLDER_SOURCES ${FOLDER}/*.cpp)
  message(STATUS "${FOLDER}: sources found")
endif()
