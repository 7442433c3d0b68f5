# Run by CTest before any test: adds one test per GoogleTest suite of the
# end-to-end driver. The suites are listed by running the driver, through
# the emulator when there is one, and kept in `list_file` until the driver
# is rebuilt. Expects driver, emulator, suite_properties, list_file and
# cmake_command (set by cmake/e2e_suites.cmake).

# Adds a test that fails with `reason`, so that a listing that went wrong
# shows in the results instead of leaving the suites out unnoticed.
function(tolvu_e2e_listing_failed reason)
  set(script "${list_file}.failed.cmake")
  file(WRITE "${script}" "message(FATAL_ERROR [==[${reason}]==])\n")
  add_test(e2e.suites "${cmake_command}" -P "${script}")
endfunction()

if(NOT EXISTS "${driver}")
  tolvu_e2e_listing_failed("The end-to-end driver ${driver} is not built.")
  return()
endif()

if(NOT EXISTS "${list_file}" OR "${driver}" IS_NEWER_THAN "${list_file}")
  file(REMOVE "${list_file}")
  execute_process(COMMAND ${emulator} "${driver}" --gtest_list_tests
    OUTPUT_VARIABLE listing ERROR_VARIABLE listing_errors
    RESULT_VARIABLE listing_status TIMEOUT 600)
  # A suite's line is its name and a dot (and perhaps a comment on its type
  # parameter); its cases follow, indented.
  string(REPLACE ";" "," listing_lines "${listing}")
  string(REPLACE "\r" "" listing_lines "${listing_lines}")
  string(REPLACE "\n" ";" listing_lines "${listing_lines}")
  set(suites "")
  foreach(line IN LISTS listing_lines)
    if(line MATCHES "^([A-Za-z0-9_/]+)\\.( .*)?$")
      list(APPEND suites "${CMAKE_MATCH_1}")
    endif()
  endforeach()
  if(NOT listing_status STREQUAL "0" OR NOT suites)
    tolvu_e2e_listing_failed(
      "Listing the suites of ${driver} failed (status ${listing_status}).\n"
      "Its output:\n${listing}${listing_errors}")
    return()
  endif()
  list(JOIN suites "\n" suite_lines)
  file(WRITE "${list_file}" "${suite_lines}\n")
endif()

file(STRINGS "${list_file}" suites)
foreach(suite IN LISTS suites)
  add_test("e2e.${suite}" ${emulator} "${driver}" "--gtest_filter=${suite}.*" --gtest_color=no)
  set_tests_properties("e2e.${suite}" PROPERTIES ${suite_properties})
endforeach()
