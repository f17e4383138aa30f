# GoogleTest built with the project's own compiler from Debian's source
# package, for a target whose libraries Debian does not ship.
set(QUILLON_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest's source tree")
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
# It names its targets GTest::gtest and GTest::gtest_main itself.
add_subdirectory(${QUILLON_GTEST_SOURCE} googletest EXCLUDE_FROM_ALL SYSTEM)
