# Installs the library for other programs: the shared object with its SONAME
# links, the header, a pkg-config file and a CMake package that gives the
# imported target probelink::probelink.
include(CMakePackageConfigHelpers)

set(probelink_cmake_dir "${CMAKE_INSTALL_LIBDIR}/cmake/probelink")

install(TARGETS probelink EXPORT probelinkTargets
  LIBRARY DESTINATION "${CMAKE_INSTALL_LIBDIR}"
  PUBLIC_HEADER DESTINATION "${CMAKE_INSTALL_INCLUDEDIR}")
install(EXPORT probelinkTargets
  NAMESPACE probelink::
  DESTINATION "${probelink_cmake_dir}")

configure_package_config_file("${CMAKE_CURRENT_LIST_DIR}/probelinkConfig.cmake.in"
  "${CMAKE_CURRENT_BINARY_DIR}/probelinkConfig.cmake"
  INSTALL_DESTINATION "${probelink_cmake_dir}")
# A program built for one SONAME runs only with that one.
write_basic_package_version_file("${CMAKE_CURRENT_BINARY_DIR}/probelinkConfigVersion.cmake"
  VERSION "${PROBELINK_VERSION}"
  COMPATIBILITY SameMajorVersion)
install(FILES
  "${CMAKE_CURRENT_BINARY_DIR}/probelinkConfig.cmake"
  "${CMAKE_CURRENT_BINARY_DIR}/probelinkConfigVersion.cmake"
  DESTINATION "${probelink_cmake_dir}")

# The pkg-config file is written when installing, not when configuring: only
# then is the prefix known for sure (`cmake --install --prefix` replaces the
# configured one, and so does CPack).
install(CODE "
  set(probelink_pc_template [[${CMAKE_CURRENT_LIST_DIR}/probelink.pc.in]])
  set(probelink_pc_libdir [[${CMAKE_INSTALL_LIBDIR}]])
  set(probelink_pc_includedir [[${CMAKE_INSTALL_INCLUDEDIR}]])
  set(probelink_pc_version [[${PROBELINK_VERSION}]])
  include([[${CMAKE_CURRENT_LIST_DIR}/write_pc.cmake]])
")

# A program of this project installed outside the linker's own folders (a
# user's ~/.local) finds the library beside its bin folder; under /usr it
# needs no search path.
function(probelink_find_when_installed target)
  if(NOT CMAKE_INSTALL_FULL_LIBDIR IN_LIST CMAKE_CXX_IMPLICIT_LINK_DIRECTORIES)
    file(RELATIVE_PATH relative "${CMAKE_INSTALL_FULL_BINDIR}" "${CMAKE_INSTALL_FULL_LIBDIR}")
    set_target_properties(${target} PROPERTIES INSTALL_RPATH "$ORIGIN/${relative}")
  endif()
endfunction()
