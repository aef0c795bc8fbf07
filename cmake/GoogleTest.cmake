# GoogleTest: a cross build compiles the sources that Debian's libgtest-dev installs under
# /usr/src/googletest; a native build, Debian's or Visual Studio's, finds an installed one
# (with Visual Studio, one built for the static runtime, such as vcpkg's x64-windows-static).
if(CMAKE_CROSSCOMPILING)
  set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
  # Built in every Windows build and in the test package's: for build time, not speed.
  target_compile_options(gtest PRIVATE -O1)
  target_compile_options(gtest_main PRIVATE -O1)
else()
  find_package(GTest REQUIRED)
endif()
include(GoogleTest)
