# What the checks' scripts share about the source trees and the build trees
# their presets name.

# tolvu_preset_tree(SOURCE_DIR PRESET OUT): the folder the configure preset
# builds in, which only CMakePresets.json in SOURCE_DIR names.
function(tolvu_preset_tree source preset out)
  file(READ "${source}/CMakePresets.json" presets)
  string(JSON count LENGTH "${presets}" configurePresets)
  math(EXPR last "${count} - 1")
  foreach(i RANGE ${last})
    string(JSON name GET "${presets}" configurePresets ${i} name)
    if(name STREQUAL preset)
      string(JSON dir GET "${presets}" configurePresets ${i} binaryDir)
      string(REPLACE "\${sourceDir}" "${source}" dir "${dir}")
      set(${out} "${dir}" PARENT_SCOPE)
      return()
    endif()
  endforeach()
  message(FATAL_ERROR "CMakePresets.json has no configure preset ${preset}")
endfunction()

# tolvu_build_preset(SOURCE_DIR PRESET OUT [CONFIGURE_ONLY]): configures the
# tree of the preset, and builds it unless CONFIGURE_ONLY. OUT is empty when
# that worked, and otherwise says what failed.
function(tolvu_build_preset source preset out)
  set(${out} "" PARENT_SCOPE)
  execute_process(COMMAND ${CMAKE_COMMAND} --preset ${preset}
    WORKING_DIRECTORY "${source}" OUTPUT_QUIET RESULT_VARIABLE status)
  if(status EQUAL 0 AND NOT ARGN STREQUAL "CONFIGURE_ONLY")
    execute_process(COMMAND ${CMAKE_COMMAND} --build --preset ${preset}
      WORKING_DIRECTORY "${source}" OUTPUT_QUIET RESULT_VARIABLE status)
  endif()
  if(NOT status EQUAL 0)
    set(${out} "cannot build the ${preset} tree in ${source}" PARENT_SCOPE)
  endif()
endfunction()

# tolvu_working_tree_files(SOURCE_DIR OUT [PATHSPEC...]): the files git
# knows or would add (committed or not, nothing it ignores) that are there
# in the working tree, as full paths.
function(tolvu_working_tree_files source out)
  execute_process(
    COMMAND git ls-files --cached --others --exclude-standard ${ARGN}
    WORKING_DIRECTORY "${source}" OUTPUT_VARIABLE listing RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "git cannot list the files of ${source}")
  endif()
  string(REPLACE "\n" ";" names "${listing}")
  set(files "")
  foreach(name IN LISTS names)
    if(name AND EXISTS "${source}/${name}")  # not deleted in the working tree
      list(APPEND files "${source}/${name}")
    endif()
  endforeach()
  list(REMOVE_DUPLICATES files)
  set(${out} "${files}" PARENT_SCOPE)
endfunction()

# cmake -DPRESET=NAME -P trees.cmake prints the folder of that configure
# preset, for the scripts (scripts/common.sh), which find it no other way.
if(CMAKE_SCRIPT_MODE_FILE STREQUAL CMAKE_CURRENT_LIST_FILE AND DEFINED PRESET)
  get_filename_component(source "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)
  tolvu_preset_tree("${source}" "${PRESET}" dir)
  execute_process(COMMAND ${CMAKE_COMMAND} -E echo "${dir}")
endif()
