"""Checks the winget and Scoop manifests scripts/package.sh wrote beside its
zip against winget's and Scoop's rules, the zip, and the version resource of
the tolvu.exe in it. Run by CTest: check_manifests.py DIST URL HOMEPAGE."""
import hashlib, json, re, struct, sys, zipfile
from pathlib import Path
import yaml

# winget's identifier: 2 to 8 parts of 1 to 32 characters, 128 in all.
PART = r'[^.\s\\/:*?"<>|\x00-\x1f]{1,32}'
IDENTIFIER = re.compile(rf"(?=.{{1,128}}$){PART}(\.{PART}){{1,7}}")
FILE_NAMES = {"version": "{}.yaml", "installer": "{}.installer.yaml",
              "defaultLocale": "{}.locale.{}.yaml"}


def release_version(exe):
    """VS_FIXEDFILEINFO's file version, the fourth number only when it is not 0."""
    at = exe.index(b"\xbd\x04\xef\xfe", exe.index("VS_VERSION_INFO".encode("utf-16-le")))
    high, low = struct.unpack_from("<II", exe, at + 8)
    numbers = [high >> 16, high & 0xFFFF, low >> 16, low & 0xFFFF]
    return ".".join(map(str, numbers if numbers[3] else numbers[:3]))


def field(document, *path):
    for key in path:
        try:
            document = document[key]
        except (KeyError, IndexError, TypeError):
            return None
    return document


def rules(dist, url, homepage):
    (zip_path,) = dist.glob("tolvu-*-win64.zip")
    sha = hashlib.sha256(zip_path.read_bytes()).hexdigest()
    with zipfile.ZipFile(zip_path) as archive:
        names, version = archive.namelist(), release_version(archive.read("tolvu.exe"))
    zip_url = f"{url}/{zip_path.name}"
    yield "zip named for tolvu.exe's version", zip_path.name == f"tolvu-{version}-win64.zip"

    paths = list(dist.glob("manifests/**/*.yaml"))
    # BaseLoader: every value is text, as winget reads it (an all-digit hash too).
    docs = {field(d, "ManifestType"): (p, d)
            for p in paths for d in [yaml.load(p.read_text(), Loader=yaml.BaseLoader)]}
    yield "winget: three files, one of each type", len(paths) == 3 and set(docs) == set(FILE_NAMES)
    v, i, locale = (docs.get(kind, (None, {}))[1] for kind in FILE_NAMES)
    ident, language = str(field(v, "PackageIdentifier")), field(locale, "PackageLocale")
    yield "winget: PackageIdentifier's form", bool(IDENTIFIER.fullmatch(ident))
    folder = dist.joinpath("manifests", ident[:1].lower(), *ident.split("."), version)
    for kind, (path, doc) in docs.items():
        name = FILE_NAMES.get(kind, "?").format(ident, language)
        yield f"winget {kind}: folder and name", path == folder / name
        yield f"winget {kind}: PackageIdentifier", field(doc, "PackageIdentifier") == ident
        yield f"winget {kind}: PackageVersion", field(doc, "PackageVersion") == version
        yield f"winget {kind}: ManifestVersion", field(doc, "ManifestVersion") == "1.12.0"
    yield "winget: DefaultLocale, PackageLocale", field(v, "DefaultLocale") == language and \
        bool(re.fullmatch(r"[a-zA-Z]{2,3}(-[a-zA-Z0-9]{1,8})*", str(language)))
    for key, least, most in (("Publisher", 2, 256), ("PackageName", 2, 256),
                             ("License", 3, 512), ("ShortDescription", 3, 256)):
        yield f"winget: {key}", least <= len(str(field(locale, key) or "")) <= most
    yield "winget: InstallerType zip", field(i, "InstallerType") == "zip"
    yield "winget: NestedInstallerType portable", field(i, "NestedInstallerType") == "portable"
    nested = field(i, "NestedInstallerFiles")
    yield "winget: one nested file, an exe in the zip", len(nested or []) == 1 and \
        str(field(nested, 0, "RelativeFilePath")).endswith(".exe") and \
        field(nested, 0, "RelativeFilePath") in names
    yield "winget: PortableCommandAlias", field(nested, 0, "PortableCommandAlias") == "tolvu"
    installers = field(i, "Installers")
    yield "winget: one installer, x64", len(installers or []) == 1 and \
        field(installers, 0, "Architecture") == "x64"
    yield "winget: InstallerUrl", field(installers, 0, "InstallerUrl") == zip_url
    yield "winget: InstallerSha256", str(field(installers, 0, "InstallerSha256")).lower() == sha

    scoop = json.loads((dist / "bucket" / "tolvu.json").read_text())
    yield "scoop: version", field(scoop, "version") == version
    for key, value in (("description", None), ("homepage", homepage), ("license", field(locale, "License"))):
        yield f"scoop: {key}", bool(field(scoop, key)) and value in (None, field(scoop, key))
    yield "scoop: url", field(scoop, "architecture", "64bit", "url") == zip_url
    yield "scoop: hash", field(scoop, "architecture", "64bit", "hash") == sha
    found = re.search(str(field(scoop, "checkver", "regex")), zip_path.name)
    yield "scoop: checkver reads the version from the homepage", bool(found) and \
        found.groups()[:1] == (version,) and field(scoop, "checkver", "url") == homepage
    later = str(field(scoop, "autoupdate", "architecture", "64bit", "url"))
    yield "scoop: autoupdate", "$version" in later and later.replace("$version", version) == zip_url
    yield "scoop: the folder on the path, no shim", field(scoop, "env_add_path") == "." and \
        "bin" not in scoop


def main():
    failed = [name for name, good in rules(Path(sys.argv[1]), *sys.argv[2:4]) if not good]
    print("\n".join(f"wrong: {name}" for name in failed) or "The manifests keep every rule")
    sys.exit(1 if failed else 0)


main()
