# Writes the winget and Scoop manifests of a release zip from the templates
# in manifests/; scripts/package.sh runs it:
#   cmake -DZIP=FILE -DVERSION=V -DTITLE=T -DURL=U -DHOMEPAGE=H -DOUT=DIR -P manifests.cmake
# The zip is to be published at URL/<its name>. The files go to OUT in the
# layouts of winget's community repository (manifests/t/Tolvu/Tolvu/V/) and
# of a Scoop bucket (bucket/tolvu.json).
set(ID Tolvu.Tolvu)
set(LOCALE en-US)
set(MANIFEST_VERSION 1.12.0)
set(PUBLISHER "The Tolvu authors")
set(LICENSE MIT)
set(DESCRIPTION "Edits the Windows registry from the command line, silently; scripts read the outcome from its exit status.")

file(SHA256 "${ZIP}" SHA256)
string(TOUPPER "${SHA256}" SHA256_UPPER)
get_filename_component(name "${ZIP}" NAME)
set(ZIP_URL "${URL}/${name}")
# Scoop's autoupdate puts a later version where this one is.
string(REPLACE "${VERSION}" "$version" ZIP_URL_TEMPLATE "${ZIP_URL}")

string(SUBSTRING "${ID}" 0 1 initial)
string(TOLOWER "${initial}" initial)
string(REPLACE "." "/" id_folders "${ID}")
set(winget "${OUT}/manifests/${initial}/${id_folders}/${VERSION}")
set(templates "${CMAKE_CURRENT_LIST_DIR}/manifests")
configure_file("${templates}/version.yaml.in" "${winget}/${ID}.yaml" @ONLY)
configure_file("${templates}/installer.yaml.in" "${winget}/${ID}.installer.yaml" @ONLY)
configure_file("${templates}/locale.yaml.in" "${winget}/${ID}.locale.${LOCALE}.yaml" @ONLY)
configure_file("${templates}/scoop.json.in" "${OUT}/bucket/tolvu.json" @ONLY)
