# GoogleTest: a cross build compiles the sources that Debian's libgtest-dev installs under
# /usr/src/googletest; a native build, Debian's or Visual Studio's, finds an installed one
# (with Visual Studio, one built for the static runtime, such as vcpkg's x64-windows-static).
if(CMAKE_CROSSCOMPILING)
  set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
else()
  find_package(GTest REQUIRED)
endif()
include(GoogleTest)
