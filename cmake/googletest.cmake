# GoogleTest from its sources, for the Windows builds: the end-to-end driver,
# and on Windows itself the unit tests too. Built once, with the static C
# runtime like the tool. Without the sources only tolvu.exe is built.
set(TOLVU_GOOGLETEST_DIR /usr/src/googletest CACHE PATH
    "GoogleTest sources to build the Windows tests with")
# The Windows presets take it from the environment, where a Windows path has
# backslashes.
file(TO_CMAKE_PATH "${TOLVU_GOOGLETEST_DIR}" googletest_dir)
if(NOT EXISTS ${googletest_dir}/CMakeLists.txt)
  set(missing_googletest_message
      "No GoogleTest sources at '${TOLVU_GOOGLETEST_DIR}': the tests are not "
      "built. Set TOLVU_GOOGLETEST_DIR to a GoogleTest source tree.")
  if(CMAKE_CROSSCOMPILING)
    # The cross build exists for the end-to-end tests; Debian's googletest
    # has the sources.
    message(FATAL_ERROR ${missing_googletest_message})
  endif()
  message(WARNING ${missing_googletest_message})
  return()
endif()
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
add_subdirectory(${googletest_dir} ${CMAKE_BINARY_DIR}/googletest
                 EXCLUDE_FROM_ALL)
# GoogleTest's port hook, found before its own: supplies what mingw-w64's
# win32 thread model lacks.
target_include_directories(gtest BEFORE PUBLIC
  ${PROJECT_SOURCE_DIR}/tests/e2e/gtest_custom)
if(MSVC)
  # GoogleTest builds itself with -WX: a warning that a newer compiler finds
  # in its code would stop the build. /WX- comes after it and wins.
  target_compile_options(gtest PRIVATE /WX-)
  target_compile_options(gtest_main PRIVATE /WX-)
endif()
