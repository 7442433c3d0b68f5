# Checks that tolvu.exe is reproducible, run by CTest from the native tree:
# builds it twice with the package preset, from copies of the sources in two
# folders of different names, one after the other, and fails unless the two
# files are byte for byte the same.
get_filename_component(root "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)
include("${CMAKE_CURRENT_LIST_DIR}/trees.cmake")

# The sources as they are in the working tree, committed or not, without
# build trees or anything else git ignores.
tolvu_working_tree_files("${root}" files)

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
  foreach(file IN LISTS files)
    file(RELATIVE_PATH name "${root}" "${file}")
    get_filename_component(dir "${copy}/${name}" DIRECTORY)
    file(COPY "${file}" DESTINATION "${dir}")
  endforeach()
  message("Building tolvu.exe in ${copy}")
  tolvu_build_preset("${copy}" package failed)
  if(failed)
    file(REMOVE_RECURSE "${work}")
    message(FATAL_ERROR "${failed}")
  endif()
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
