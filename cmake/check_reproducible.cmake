# Checks that the release is reproducible, run by CTest from the native tree
# (cmake -DOUT=DIR -DURL=U -DHOMEPAGE=H -P this): tolvu.exe, built twice with
# the package preset from copies of the sources in two folders of different
# names, one after the other, is byte for byte the same; so is the package
# scripts/package.sh makes of each, signed with a throwaway certificate made in
# OUT and with manifests for the test address URL. osslsigncode verifies that
# signature, removing it gives the unsigned tolvu.exe, and package.sh --attach
# with it on the second build gives the same package again, which stays in
# OUT/dist for the manifests' check.
get_filename_component(root "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)
include("${CMAKE_CURRENT_LIST_DIR}/trees.cmake")

function(tolvu_fail)
  file(REMOVE_RECURSE "${work}")
  message(FATAL_ERROR ${ARGV})
endfunction()

# tolvu_run(WHAT COMMAND...): fails, saying WHAT, unless COMMAND succeeds.
function(tolvu_run what)
  execute_process(COMMAND ${ARGN} OUTPUT_VARIABLE output ERROR_VARIABLE output
    RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    tolvu_fail("${what}:\n${output}")
  endif()
endfunction()

# tolvu_package(COPY ARGS...): scripts/package.sh ARGS in COPY, with the test
# address, at a given time (the copies are no git checkouts).
function(tolvu_package copy)
  string(REPLACE ";" " " args "${ARGN}")
  tolvu_run("scripts/package.sh ${args} failed in ${copy}" ${CMAKE_COMMAND} -E env
    SOURCE_DATE_EPOCH=1700000000 "${copy}/scripts/package.sh" ${ARGN}
    --url "${URL}" --homepage "${HOMEPAGE}")
endfunction()

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

# RSA: an ECDSA signature differs every time.
file(REMOVE_RECURSE "${OUT}")
file(MAKE_DIRECTORY "${OUT}")
set(cert "${OUT}/test-signing.crt")
tolvu_run("openssl cannot make a test certificate" openssl req -x509 -newkey rsa:3072
  -nodes -days 2 -subj "/CN=Tolvu test signing" -keyout "${OUT}/test-signing.key"
  -addext "extendedKeyUsage=critical,codeSigning" -out "${cert}")

set(built "")
set(copies "")
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
    tolvu_fail("${failed}")
  endif()
  tolvu_preset_tree("${copy}" package tree)
  list(APPEND built "${tree}/tolvu.exe")
  list(APPEND copies "${copy}")
  tolvu_package("${copy}" --cert "${cert}" --key "${OUT}/test-signing.key")
  execute_process(COMMAND sleep 2)  # a clock read by the build or signing then differs
endforeach()

list(GET built 0 first)
list(GET built 1 second)
file(SHA256 "${first}" first_sum)
file(SHA256 "${second}" second_sum)
if(NOT first_sum STREQUAL second_sum)
  execute_process(COMMAND cmp -l "${first}" "${second}" COMMAND head -n 20
    OUTPUT_VARIABLE differences)
  tolvu_fail("tolvu.exe differs between the two builds; the "
    "differing bytes (offset, first, second):\n${differences}")
endif()
message("Both builds give the same tolvu.exe, SHA-256 ${first_sum}")

list(GET copies 0 first_copy)
list(GET copies 1 second_copy)
tolvu_run("The signed packages differ" diff -r -q "${first_copy}/dist" "${second_copy}/dist")
file(COPY "${first_copy}/dist" DESTINATION "${OUT}")

file(GLOB zip "${OUT}/dist/*.zip")
file(ARCHIVE_EXTRACT INPUT "${zip}" DESTINATION "${work}" PATTERNS tolvu.exe)
tolvu_run("osslsigncode does not verify the signed tolvu.exe"
  osslsigncode verify -CAfile "${cert}" -in "${work}/tolvu.exe")
tolvu_run("osslsigncode cannot remove the signature"
  osslsigncode remove-signature -in "${work}/tolvu.exe" -out "${work}/removed.exe")
tolvu_run("Without its signature, the signed tolvu.exe is not the unsigned one"
  cmp "${work}/removed.exe" "${first}")

file(GLOB signature "${OUT}/dist/*.sig")
tolvu_package("${second_copy}" --attach "${signature}" --ca "${cert}")
tolvu_run("Attaching the signature gives another package"
  diff -r -q "${OUT}/dist" "${second_copy}/dist")
file(REMOVE_RECURSE "${work}")
file(SHA256 "${zip}" zip_sum)
message("Both packages are the same, signed, and the signature attaches: SHA-256 ${zip_sum}")
