# One CTest entry per GoogleTest suite of the end-to-end driver, so that a
# failure names its suite. Not one per case: each entry starts the driver
# anew, and under Wine each start is a Wine process and a run of
# scripts/wine.sh, paid once per suite instead of once per case. CTest reads
# the suites from the driver itself (--gtest_list_tests) when it starts,
# again after each rebuild of the driver, so a new suite needs no change
# here. Under Wine all entries share one session (a display and a
# wineserver) that a fixture starts before them and stops after them; they
# share the prefix, so none overlap.
function(tolvu_add_e2e_suites target)
  set(emulator "${CMAKE_CROSSCOMPILING_EMULATOR}")
  set(suite_properties RESOURCE_LOCK tolvu_wineprefix)
  set(emulator_name "")
  if(emulator)
    list(GET emulator 0 emulator_command)
    get_filename_component(emulator_name "${emulator_command}" NAME)
  endif()
  if(emulator_name STREQUAL "wine.sh")
    # The script bounds each of its steps itself, so CTest sets no timeout.
    set(prefix "$<TARGET_FILE_DIR:${target}>/wineprefix")
    add_test(NAME e2e.session.start COMMAND ${emulator_command} session start ${prefix})
    add_test(NAME e2e.session.stop COMMAND ${emulator_command} session stop ${prefix})
    set_tests_properties(e2e.session.start PROPERTIES
      FIXTURES_SETUP tolvu_wine_session RESOURCE_LOCK tolvu_wineprefix)
    set_tests_properties(e2e.session.stop PROPERTIES
      FIXTURES_CLEANUP tolvu_wine_session RESOURCE_LOCK tolvu_wineprefix)
    list(APPEND suite_properties
      FIXTURES_REQUIRED tolvu_wine_session ENVIRONMENT TOLVU_WINE_SESSION=1)
  else()
    # Directly on Windows (or through another emulator) nothing else bounds
    # a suite.
    list(APPEND suite_properties TIMEOUT 900)
  endif()

  # The cross build's unit tests run in the same way (tests/unit).
  set_property(GLOBAL PROPERTY tolvu_emulated_test_properties ${suite_properties})

  # What the script run by CTest needs; per configuration where the
  # generator has several.
  set(base ${CMAKE_CURRENT_BINARY_DIR}/${target}_suites)
  get_property(multi_config GLOBAL PROPERTY GENERATOR_IS_MULTI_CONFIG)
  if(multi_config)
    set(config_base "${base}-$<CONFIG>")
  else()
    set(config_base "${base}")
  endif()
  string(CONCAT content
    "set(driver [==[$<TARGET_FILE:${target}>]==])\n"
    "set(emulator [==[${emulator}]==])\n"
    "set(suite_properties [==[${suite_properties}]==])\n"
    "set(list_file [==[${config_base}.txt]==])\n"
    "set(cmake_command [==[${CMAKE_COMMAND}]==])\n"
    "include([==[${PROJECT_SOURCE_DIR}/cmake/e2e_suites_at_test_time.cmake]==])\n")
  file(GENERATE OUTPUT "${config_base}.cmake" CONTENT "${content}")
  if(multi_config)
    file(WRITE "${base}.cmake"
      "if(EXISTS \"${base}-\${CTEST_CONFIGURATION_TYPE}.cmake\")\n"
      "  include(\"${base}-\${CTEST_CONFIGURATION_TYPE}.cmake\")\n"
      "else()\n"
      "  add_test(e2e.NOT_BUILT e2e.NOT_BUILT)\n"
      "endif()\n")
  endif()
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES "${base}.cmake")
endfunction()
