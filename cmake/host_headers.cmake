# Debian's header-only libraries give /usr/include as their include folder,
# which in a cross build would put the host's C library ahead of the
# target's. There an imported target is pointed instead at a folder holding
# links to its own headers alone.
function(quillon_host_headers target)
  if(NOT CMAKE_CROSSCOMPILING)
    return()
  endif()
  string(MAKE_C_IDENTIFIER "${target}" name)
  set(folder "${CMAKE_BINARY_DIR}/host-headers/${name}")
  file(MAKE_DIRECTORY "${folder}")
  foreach(entry IN LISTS ARGN)
    file(CREATE_LINK "/usr/include/${entry}" "${folder}/${entry}" SYMBOLIC)
  endforeach()
  set_target_properties(${target} PROPERTIES INTERFACE_INCLUDE_DIRECTORIES "${folder}")
endfunction()
