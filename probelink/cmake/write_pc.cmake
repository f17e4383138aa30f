# Run by the install step: writes probelink.pc for the prefix being installed
# to and adds it to the install manifest, as install(FILES) would.
foreach(dir libdir includedir)
  set(relative "${probelink_pc_${dir}}")
  if(IS_ABSOLUTE "${relative}")
    set(pc_${dir} "${relative}")
    set(full_${dir} "${relative}")
  else()
    set(pc_${dir} "\${prefix}/${relative}")
    set(full_${dir} "${CMAKE_INSTALL_PREFIX}/${relative}")
  endif()
endforeach()
set(pc_prefix "${CMAKE_INSTALL_PREFIX}")
set(pc_version "${probelink_pc_version}")

set(pc_file "$ENV{DESTDIR}${full_libdir}/pkgconfig/probelink.pc")
message(STATUS "Installing: ${pc_file}")
configure_file("${probelink_pc_template}" "${pc_file}" @ONLY)
list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${pc_file}")
