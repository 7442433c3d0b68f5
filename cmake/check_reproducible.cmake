# Checks that tolvu.exe is reproducible, run by CTest from the native tree:
# builds it twice with the package preset, from copies of the sources in two
# folders of different names, one after the other, and fails unless the two
# files are byte for byte the same.
get_filename_component(root "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)
include("${CMAKE_CURRENT_LIST_DIR}/preset_tree.cmake")

# The sources as they are in the working tree, committed or not, without
# build trees or anything else git ignores.
execute_process(COMMAND git ls-files --cached --others --exclude-standard
  WORKING_DIRECTORY "${root}" OUTPUT_VARIABLE listing RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "git cannot list the sources")
endif()
string(REPLACE "\n" ";" names "${listing}")

string(RANDOM LENGTH 8 tag)
set(work "$ENV{TMPDIR}")
if(NOT work)
  set(work /tmp)
endif()
set(work "${work}/tolvu-repro-${tag}")
# Without a fixed date, anything that dates the build shows as a difference.
unset(ENV{SOURCE_DATE_EPOCH})

set(built "")
foreach(folder first second-in-a-longer-folder-name)
  set(copy "${work}/${folder}")
  foreach(name IN LISTS names)
    if(name AND EXISTS "${root}/${name}")  # not deleted in the working tree
      get_filename_component(dir "${copy}/${name}" DIRECTORY)
      file(COPY "${root}/${name}" DESTINATION "${dir}")
    endif()
  endforeach()
  message("Building tolvu.exe in ${copy}")
  foreach(step "--preset;package" "--build;--preset;package")
    execute_process(COMMAND ${CMAKE_COMMAND} ${step} WORKING_DIRECTORY "${copy}"
      OUTPUT_QUIET RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
      file(REMOVE_RECURSE "${work}")
      message(FATAL_ERROR "Cannot build tolvu.exe in ${copy} (cmake ${step}).")
    endif()
  endforeach()
  tolvu_preset_tree("${copy}" package tree)
  list(APPEND built "${tree}/tolvu.exe")
  execute_process(COMMAND sleep 2)  # a clock read by the build then differs
endforeach()

list(GET built 0 first)
list(GET built 1 second)
file(SHA256 "${first}" first_sum)
file(SHA256 "${second}" second_sum)
if(NOT first_sum STREQUAL second_sum)
  execute_process(COMMAND cmp -l "${first}" "${second}" COMMAND head -n 20
    OUTPUT_VARIABLE differences)
  file(REMOVE_RECURSE "${work}")
  message(FATAL_ERROR "tolvu.exe differs between the two builds; the "
    "differing bytes (offset, first, second):\n${differences}")
endif()
file(REMOVE_RECURSE "${work}")
message("Both builds give the same tolvu.exe, SHA-256 ${first_sum}")
