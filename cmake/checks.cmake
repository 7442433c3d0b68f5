# The checks beside the unit tests, as CTest entries of the native tree,
# each with a label: lint (include rules, formatting, clang-tidy), fuzz (a
# bounded run of the fuzzer in the fuzz preset's tree) and release (two
# builds of the package give the same bytes, signed too; its manifests keep
# winget's and Scoop's rules); and, labelled tree, the asan and
# windows trees, each configured, built and tested through its workflow
# preset, which only the ci test preset runs.
include(${CMAKE_CURRENT_LIST_DIR}/trees.cmake)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
  ${PROJECT_SOURCE_DIR}/CMakePresets.json)
tolvu_preset_tree(${PROJECT_SOURCE_DIR} fuzz fuzz_tree)
tolvu_preset_tree(${PROJECT_SOURCE_DIR} windows windows_tree)

function(tolvu_add_check name label)
  add_test(NAME ${name} COMMAND ${ARGN} WORKING_DIRECTORY ${PROJECT_SOURCE_DIR})
  set_tests_properties(${name} PROPERTIES LABELS ${label})
endfunction()

function(tolvu_add_lint name check)
  tolvu_add_check(${name} lint ${CMAKE_COMMAND} -DCHECK=${check} ${ARGN}
    -P ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/lint.cmake)
endfunction()

tolvu_add_lint(lint.includes includes)
tolvu_add_lint(lint.format format)
tolvu_add_lint(lint.workflow workflow)
tolvu_add_lint(lint.trees trees)
tolvu_add_lint(lint.tidy.portable tidy-portable -DTREE=${fuzz_tree})
tolvu_add_lint(lint.tidy.windows tidy-windows -DTREE=${windows_tree})
tolvu_add_lint(lint.msvc msvc)
tolvu_add_lint(lint.links links)
set_tests_properties(lint.trees PROPERTIES FIXTURES_SETUP tolvu_lint_trees)
set_tests_properties(lint.tidy.portable lint.tidy.windows PROPERTIES
  FIXTURES_REQUIRED tolvu_lint_trees)
add_custom_target(format COMMAND ${CMAKE_COMMAND} -DCHECK=fix-format
  -P ${CMAKE_CURRENT_LIST_DIR}/lint.cmake WORKING_DIRECTORY ${PROJECT_SOURCE_DIR})

tolvu_add_check(fuzz fuzz ${CMAKE_COMMAND} -DTREE=${fuzz_tree}
  -P ${CMAKE_CURRENT_LIST_DIR}/fuzz.cmake)
# The release package, made twice with a throwaway certificate and manifests
# for a test address, stays in the tree for the manifests' check.
set(release_url https://downloads.example.invalid/tolvu)
set(release_homepage https://tolvu.example.invalid/)
tolvu_add_check(release.reproducible release ${CMAKE_COMMAND} -DOUT=${CMAKE_BINARY_DIR}/release
  -DURL=${release_url} -DHOMEPAGE=${release_homepage}
  -P ${CMAKE_CURRENT_LIST_DIR}/check_reproducible.cmake)
tolvu_add_check(release.manifests release python3 ${CMAKE_CURRENT_LIST_DIR}/check_manifests.py
  ${CMAKE_BINARY_DIR}/release/dist ${release_url} ${release_homepage})
set_tests_properties(release.reproducible PROPERTIES FIXTURES_SETUP tolvu_release)
set_tests_properties(release.manifests PROPERTIES FIXTURES_REQUIRED tolvu_release)

foreach(tree asan windows)
  tolvu_add_check(tree.${tree} tree ${CMAKE_COMMAND} --workflow --preset ${tree})
endforeach()
