# tolvu.exe: a GUI-subsystem program with a Unicode entry point, its runtimes
# linked in statically so that it imports only DLLs every Windows has (with
# MSVC, CMAKE_MSVC_RUNTIME_LIBRARY in the top CMakeLists.txt).
enable_language(RC)

set(TOLVU_VERSION_COMMAS
    "${PROJECT_VERSION_MAJOR},${PROJECT_VERSION_MINOR},${PROJECT_VERSION_PATCH},${PROJECT_VERSION_TWEAK}")
configure_file(${PROJECT_SOURCE_DIR}/src/host/tolvu.rc.in
               ${CMAKE_CURRENT_BINARY_DIR}/generated/tolvu.rc @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/src/host/tolvu.manifest.in
               ${CMAKE_CURRENT_BINARY_DIR}/generated/tolvu.manifest @ONLY)

add_executable(tolvu WIN32
  src/cli/win_main.cpp
  src/host/windows_host.cpp
  ${CMAKE_CURRENT_BINARY_DIR}/generated/tolvu.rc
)
# windres reports no dependencies: without this, a changed manifest would
# not rebuild the resources that embed it.
set_source_files_properties(${CMAKE_CURRENT_BINARY_DIR}/generated/tolvu.rc
  PROPERTIES OBJECT_DEPENDS ${CMAKE_CURRENT_BINARY_DIR}/generated/tolvu.manifest)
target_link_libraries(tolvu PRIVATE tolvu_core advapi32)
target_compile_definitions(tolvu PRIVATE ${TOLVU_WINDOWS_DEFINITIONS})

# Terminal-server aware: without the flag, Remote Desktop servers give the
# program a per-user Windows folder, where the registry editor is not found.
# NX and ASLR as every current program has them.
if(MSVC)
  # The manifest comes from the resource script; keep the linker's own out.
  target_link_options(tolvu PRIVATE /MANIFEST:NO /TSAWARE /NXCOMPAT /DYNAMICBASE)
else()
  target_link_options(tolvu PRIVATE -municode ${TOLVU_STATIC_RUNTIME_LINK_OPTIONS} -s
                      -Wl,--tsaware -Wl,--nxcompat -Wl,--dynamicbase)
endif()

# The same commit gives the same bytes in any folder at any time: no link
# time stamp in the PE header, and neither the source nor the build folder in
# what the compiler writes (the binary folder's map comes last so that it wins
# when it lies inside the source folder).
if(NOT MSVC)
  foreach(target tolvu_core tolvu)
    target_compile_options(${target} PRIVATE
      "-ffile-prefix-map=${PROJECT_SOURCE_DIR}/=" "-ffile-prefix-map=${PROJECT_BINARY_DIR}/=")
  endforeach()
  target_link_options(tolvu PRIVATE -Wl,--no-insert-timestamp)
endif()

# What scripts/package.sh names the release after: the program's title, and
# the version resource's numbers without the fourth when it is 0 (1.1.0.0 is
# released as 1.1.0), as the zip's name and the manifests give it.
set(release_version "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}")
if(PROJECT_VERSION_TWEAK)
  string(APPEND release_version ".${PROJECT_VERSION_TWEAK}")
endif()
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/version.txt CONTENT "${release_version}\n")
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/title.txt CONTENT "${TOLVU_TITLE}\n")
