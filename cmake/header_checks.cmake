# add_header_checks(TARGET HEADER...): an object library that compiles each
# header (a path from the top of the checkout) on its own, twice, so a header
# that leans on what its includer brought in, or lacks its guard, fails the
# build.
function(add_header_checks target)
  set(sources "")
  foreach(header IN LISTS ARGN)
    string(MAKE_C_IDENTIFIER "${header}" name)
    set(check ${CMAKE_CURRENT_BINARY_DIR}/header_checks/${name}.cpp)
    file(CONFIGURE OUTPUT ${check} CONTENT "#include \"${header}\"\n#include \"${header}\"\n")
    list(APPEND sources ${check})
  endforeach()
  add_library(${target} OBJECT ${sources})
  target_include_directories(${target} PRIVATE ${CMAKE_SOURCE_DIR})
endfunction()
