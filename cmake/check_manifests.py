"""Checks the winget and Scoop manifests scripts/package.sh wrote beside its
zip against winget's and Scoop's rules, the zip, and the version resource of
the tolvu.exe in it. Run by CTest: check_manifests.py DIST URL HOMEPAGE."""
import hashlib, json, re, struct, sys, zipfile
from pathlib import Path
import yaml

# winget's identifier: 2 to 8 parts of 1 to 32 characters, 128 in all.
PART = r'[^.\s\\/:*?"<>|\x00-\x1f]{1,32}'
IDENTIFIER = re.compile(rf"(?=.{{1,128}}$){PART}(\.{PART}){{1,7}}")


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
    # BaseLoader: every value is text, as winget reads it (an all-digit hash too).
    docs = {p: yaml.load(p.read_text(), Loader=yaml.BaseLoader) for p in dist.glob("manifests/**/*.yaml")}
    kinds = {field(d, "ManifestType"): d for d in docs.values()}
    v, i, locale = (kinds.get(kind, {}) for kind in ("version", "installer", "defaultLocale"))
    ident, language = str(field(v, "PackageIdentifier")), str(field(locale, "PackageLocale"))
    folder = dist.joinpath("manifests", ident[:1].lower(), *ident.split("."), version)
    files = [f"{ident}.yaml", f"{ident}.installer.yaml", f"{ident}.locale.{language}.yaml"]
    scoop = json.loads((dist / "bucket" / "tolvu.json").read_text())
    found = re.search(str(field(scoop, "checkver", "regex")), zip_path.name)
    yield "zip named for tolvu.exe's version", zip_path.name == f"tolvu-{version}-win64.zip"
    yield "winget: one file of each ManifestType", len(docs) == len(kinds) == 3 and v and i and locale
    yield "winget: PackageIdentifier's form", IDENTIFIER.fullmatch(ident)
    yield "winget: folder and names", sorted(docs) == sorted(folder / name for name in files)
    yield "winget: DefaultLocale", field(v, "DefaultLocale") == language and \
        re.fullmatch(r"[a-zA-Z]{2,3}(-[a-zA-Z0-9]{1,8})*", language)
    for path, doc in docs.items():
        for key, value in (("PackageIdentifier", ident), ("PackageVersion", version),
                           ("ManifestVersion", "1.12.0")):
            yield f"winget {path.name}: {key}", field(doc, key) == value
    for key, least, most in (("Publisher", 2, 256), ("PackageName", 2, 256),
                             ("License", 3, 512), ("ShortDescription", 3, 256)):
        yield f"winget: {key}", least <= len(str(field(locale, key) or "")) <= most
    yield "winget: one nested file, one installer", \
        [len(field(i, key) or []) for key in ("NestedInstallerFiles", "Installers")] == [1, 1]
    yield "winget: the nested file is in the zip", field(i, "NestedInstallerFiles", 0, "RelativeFilePath") in names
    yield "winget: InstallerSha256", str(field(i, "Installers", 0, "InstallerSha256")).lower() == sha
    yield "scoop: description", bool(field(scoop, "description"))
    yield "scoop: checkver finds the version in the zip's name", found and found.groups()[:1] == (version,)
    yield "scoop: no shim", "bin" not in scoop
    for doc, path, value in (
            (i, ("InstallerType",), "zip"), (i, ("NestedInstallerType",), "portable"),
            (i, ("NestedInstallerFiles", 0, "RelativeFilePath"), "tolvu.exe"),
            (i, ("NestedInstallerFiles", 0, "PortableCommandAlias"), "tolvu"),
            (i, ("Installers", 0, "Architecture"), "x64"), (i, ("Installers", 0, "InstallerUrl"), zip_url),
            (scoop, ("version",), version), (scoop, ("homepage",), homepage),
            (scoop, ("license",), field(locale, "License")),
            (scoop, ("architecture", "64bit", "url"), zip_url),
            (scoop, ("architecture", "64bit", "hash"), sha), (scoop, ("checkver", "url"), homepage),
            (scoop, ("autoupdate", "architecture", "64bit", "url"), zip_url.replace(version, "$version")),
            (scoop, ("env_add_path",), ".")):
        yield f"{'scoop' if doc is scoop else 'winget'}: {'.'.join(map(str, path))}", field(doc, *path) == value


def main():
    failed = [name for name, good in rules(Path(sys.argv[1]), *sys.argv[2:4]) if not good]
    print("\n".join(f"wrong: {name}" for name in failed) or "The manifests keep every rule")
    sys.exit(1 if failed else 0)


main()
