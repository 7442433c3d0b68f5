# A bounded fuzzing run, run by CTest from the native tree: builds the fuzz
# preset's tree (clang, AddressSanitizer and UndefinedBehaviorSanitizer) and
# runs the request-path fuzzer for TOLVU_FUZZ_SECONDS (environment; 60 by
# default), with the libFuzzer options in TOLVU_FUZZ_OPTIONS (e.g. -fork=2
# for both cores). The committed seeds in tests/fuzz/seeds are only read;
# what the fuzzer finds goes to the tree's corpus folder, which later runs
# start from, and a failing input to its artifacts folder. Fails when the
# fuzzer finds a crash, undefined behaviour or a broken check. TREE is the
# fuzz preset's tree.
get_filename_component(root "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)
include("${CMAKE_CURRENT_LIST_DIR}/trees.cmake")

set(seconds 60)
if(DEFINED ENV{TOLVU_FUZZ_SECONDS})
  set(seconds "$ENV{TOLVU_FUZZ_SECONDS}")
endif()
if(NOT seconds MATCHES "^[1-9][0-9]*$")
  message(FATAL_ERROR "TOLVU_FUZZ_SECONDS must be a number of seconds")
endif()
separate_arguments(options UNIX_COMMAND "$ENV{TOLVU_FUZZ_OPTIONS}")

tolvu_build_preset("${root}" fuzz failed)
if(failed)
  message(FATAL_ERROR "${failed}")
endif()

set(fuzzer "${TREE}/tests/fuzz/tolvu_request_fuzzer")
set(log "${TREE}/fuzz.log")
file(MAKE_DIRECTORY "${TREE}/corpus" "${TREE}/artifacts")
file(GLOB artifacts_before "${TREE}/artifacts/*")
message("Fuzzing the request path for ${seconds} s (log: ${log})")
execute_process(
  COMMAND "${fuzzer}" -max_total_time=${seconds} -max_len=4096 -timeout=10
          -dict=${root}/tests/fuzz/tolvu.dict -artifact_prefix=${TREE}/artifacts/
          -print_final_stats=1 ${options} "${TREE}/corpus" "${root}/tests/fuzz/seeds"
  OUTPUT_FILE "${log}" ERROR_FILE "${log}" RESULT_VARIABLE status)

# The last progress line (its form differs with -fork) and the final stats.
file(STRINGS "${log}" progress REGEX "^#[0-9]+:?[ \t].*cov:")
list(POP_BACK progress last)
file(STRINGS "${log}" stats REGEX "^stat::(number_of_executed_units|average_exec_per_sec|new_units_added|peak_rss_mb)")
list(JOIN stats "\n" stats)
message("${last}\n${stats}")
if(NOT status EQUAL 0)
  file(READ "${log}" tail)
  string(LENGTH "${tail}" length)
  if(length GREATER 6000)
    math(EXPR start "${length} - 6000")
    string(SUBSTRING "${tail}" ${start} -1 tail)
  endif()
  file(GLOB artifacts "${TREE}/artifacts/*")
  list(REMOVE_ITEM artifacts ${artifacts_before} "")
  set(reproduce "")
  foreach(artifact IN LISTS artifacts)
    string(APPEND reproduce "\nReproduce with: ${fuzzer} ${artifact}")
  endforeach()
  message("The end of its log:\n${tail}${reproduce}")
  message(FATAL_ERROR "The fuzzer failed (${status}).")
endif()
message("No failure found.")
