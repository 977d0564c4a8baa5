#!/usr/bin/env python3
"""The release of a finished build, as winget reads it.

Runs scripts/release.sh --no-build into a temporary folder with a
publication address of its own, then checks: the zip holds the package folder
(setup.exe at its root) and is named with OrvPix6.exe's version; the .sha256
file and the installer manifest's InstallerSha256 are the zip's digest; the
three manifests carry the fields, types, enumerations and limits of winget's
1.10.0 manifest format for every field they use, no field it does not know,
the values the uninstall entry gets, and the exit statuses of the setup.

  release_check.py SOURCE_DIR BUILD_DIR
"""
import hashlib
import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile
import zipfile

PACKAGE_ID = "Tamberlin.Orvelle6"
BASE_URL = "https://downloads.tamberlin.example/orvelle/6/"
URL = re.compile(r"^[Hh][Tt][Tt][Pp][Ss]?://.+$")
ID_PART = r"[^.\s\\/:*?\"<>|\x01-\x1f]{1,32}"
PACKAGE_ID_PATTERN = re.compile(rf"^{ID_PART}(\.{ID_PART}){{1,7}}$")
VERSION_PATTERN = re.compile(r"^[^\\/:*?\"<>|\x01-\x1f]+$")
LOCALE = re.compile(r"^([a-zA-Z]{2,3}|[iI]-[a-zA-Z]+|[xX]-[a-zA-Z]{1,8})(-[a-zA-Z]{1,8})*$")
RETURN_RESPONSES = {
    "packageInUse", "packageInUseByApplication", "installInProgress", "fileInUse", "missingDependency",
    "diskFull", "insufficientMemory", "invalidParameter", "noNetwork", "contactSupport",
    "rebootRequiredToFinish", "rebootRequiredForInstall", "rebootInitiated", "cancelledByUser",
    "alreadyInstalled", "downgrade", "blockedByPolicy", "systemNotSupported", "custom"}
SWITCHES = {"Silent", "SilentWithProgress", "Interactive", "InstallLocation", "Log", "Upgrade", "Custom", "Repair"}

failures = []


def check(condition, message):
    if not condition:
        failures.append(message)


def scalar(text):
    """A YAML scalar as the manifests write it: 'quoted' text or a plain integer."""
    if text.startswith("'"):
        if not (len(text) >= 2 and text.endswith("'")):
            raise ValueError(f"unterminated quote: {text}")
        return text[1:-1].replace("''", "'")
    if re.fullmatch(r"-?\d+", text):
        return int(text)
    return text


def parse_yaml(path):
    """The block YAML of the manifests: mappings, lists of scalars or of
    mappings, two spaces of indentation a level, full-line comments."""
    lines = []
    with open(path, encoding="utf-8") as manifest:
        for raw in manifest:
            line = raw.rstrip("\n")
            if line.strip() and not line.lstrip().startswith("#"):
                lines.append((len(line) - len(line.lstrip(" ")), line.strip()))
    value, used = parse_block(lines, 0, 0)
    if used != len(lines):
        raise ValueError(f"{path}: cannot read line {used + 1} of content")
    return value


def parse_block(lines, start, indent):
    if lines[start][1].startswith("- "):
        return parse_list(lines, start, indent)
    return parse_mapping(lines, start, indent, {})


def parse_mapping(lines, at, indent, mapping):
    while at < len(lines) and lines[at][0] == indent and not lines[at][1].startswith("- "):
        key, sep, rest = lines[at][1].partition(":")
        if not sep or key in mapping:
            raise ValueError(f"not a new key: {lines[at][1]}")
        rest = rest.strip()
        at += 1
        if rest:
            mapping[key] = scalar(rest)
        else:
            mapping[key], at = parse_block(lines, at, lines[at][0])
    return mapping, at


def parse_list(lines, at, indent):
    items = []
    while at < len(lines) and lines[at][0] == indent and lines[at][1].startswith("- "):
        entry = lines[at][1][2:]
        if re.match(r"^[A-Za-z0-9]+:", entry):  # a mapping: its first key on the dash's line
            lines[at] = (indent + 2, entry)
            item, at = parse_mapping(lines, at, indent + 2, {})
        else:
            item, at = scalar(entry), at + 1
        items.append(item)
    return items, at


def text_field(manifest, name, low, high, pattern=None, required=True):
    value = manifest.get(name)
    if value is None:
        check(not required, f"{name} is missing")
        return
    check(isinstance(value, str) and low <= len(value) <= high, f"{name}: not a text of {low} to {high}: {value!r}")
    if pattern is not None and isinstance(value, str):
        check(pattern.match(value) is not None, f"{name}: {value!r} does not match {pattern.pattern}")


def enum_field(manifest, name, allowed):
    check(manifest.get(name) in allowed, f"{name}: {manifest.get(name)!r} is not one of {sorted(allowed)}")


def check_common(manifest, kind, version):
    check(manifest.get("PackageIdentifier") == PACKAGE_ID, f"{kind}: PackageIdentifier")
    text_field(manifest, "PackageIdentifier", 1, 128, PACKAGE_ID_PATTERN)
    check(manifest.get("PackageVersion") == version, f"{kind}: PackageVersion {manifest.get('PackageVersion')!r}")
    text_field(manifest, "PackageVersion", 1, 128, VERSION_PATTERN)
    check(manifest.get("ManifestType") == kind, f"{kind}: ManifestType")
    check(manifest.get("ManifestVersion") == "1.10.0", f"{kind}: ManifestVersion")


def file_version(data):
    """OrvPix6.exe's fixed file version, as the program shows versions."""
    start = data.find("VS_VERSION_INFO".encode("utf-16-le"))
    signature = data.find(struct.pack("<I", 0xFEEF04BD), start)
    most, least = struct.unpack_from("<II", data, signature + 8)
    return "%d.%02d.%02d.%02d" % (most >> 16, most & 0xFFFF, least >> 16, least & 0xFFFF)


def source_text(path, pattern):
    with open(path, encoding="utf-8") as source:
        found = re.search(pattern, source.read())
    return found.group(1) if found else None


def check_zip(release, package):
    zips = [name for name in os.listdir(release) if name.endswith(".zip")]
    check(len(zips) == 1, f"one zip expected: {zips}")
    zip_name = zips[0]
    with zipfile.ZipFile(os.path.join(release, zip_name)) as archive:
        names = sorted(info.filename for info in archive.infolist())
        version = file_version(archive.read("OrvPix6.exe"))
        for name in names:
            with open(os.path.join(package, name), "rb") as original:
                check(archive.read(name) == original.read(), f"zip: {name} differs from the package folder's")
    expected = sorted(os.path.relpath(os.path.join(folder, f), package).replace(os.sep, "/")
                      for folder, _, files in os.walk(package) for f in files)
    check(names == expected, f"zip holds {names}, the package folder {expected}")
    check(zip_name == f"Orvelle6-{version}.zip", f"zip name {zip_name} for version {version}")
    with open(os.path.join(release, zip_name), "rb") as archive:
        digest = hashlib.sha256(archive.read()).hexdigest()
    with open(os.path.join(release, zip_name + ".sha256"), encoding="ascii") as sums:
        check(sums.read() == f"{digest}  {zip_name}\n", ".sha256 file is not the zip's digest")
    return zip_name, version, digest.upper()


def check_installer(manifest, zip_name, version, digest, source):
    check_common(manifest, "installer", version)
    enum_field(manifest, "InstallerType", {"zip"})
    enum_field(manifest, "NestedInstallerType", {"exe"})
    check(manifest.get("NestedInstallerFiles") == [{"RelativeFilePath": "setup.exe"}], "NestedInstallerFiles")
    enum_field(manifest, "Scope", {"machine"})
    modes = manifest.get("InstallModes")
    check(isinstance(modes, list) and len(set(modes)) == len(modes) <= 3
          and set(modes) <= {"interactive", "silent", "silentWithProgress"}
          and {"silent", "silentWithProgress"} <= set(modes), f"InstallModes {modes}")
    switches = manifest.get("InstallerSwitches", {})
    check(set(switches) <= SWITCHES, f"unknown installer switches {set(switches) - SWITCHES}")
    for name in switches:
        text_field(switches, name, 1, 2048 if name == "Custom" else 512)
    # -s alone at the first position: running copies are left running.
    check(switches.get("Silent") == "-s" and switches.get("SilentWithProgress") == "-s", "silent switches")
    check(switches.get("InstallLocation") == '-instdir "<INSTALLPATH>"', "InstallLocation switch")
    check(switches.get("Log") == '-log "<LOGPATH>"', "Log switch")
    codes = manifest.get("ExpectedReturnCodes", [])
    for code in codes:
        check(set(code) <= {"InstallerReturnCode", "ReturnResponse", "ReturnResponseUrl"}, f"return code fields {code}")
        number = code.get("InstallerReturnCode")
        check(isinstance(number, int) and number != 0 and -2**31 <= number <= 2**32 - 1, f"return code {number!r}")
        enum_field(code, "ReturnResponse", RETURN_RESPONSES)
    check({c.get("InstallerReturnCode"): c.get("ReturnResponse") for c in codes} ==
          {1602: "cancelledByUser", 1618: "installInProgress", 3010: "rebootRequiredToFinish",
           1603: "contactSupport", 1: "contactSupport"}, f"ExpectedReturnCodes {codes}")
    enum_field(manifest, "UpgradeBehavior", {"install"})
    # What the uninstall entry holds: DisplayName, Publisher, "%d.%02d.%02d".
    entry = {"DisplayName": source_text(os.path.join(source, "src/resources/setup.rc.in"),
                                        r'IDS_SHORTCUT_APP\s+"([^"]*)"'),
             "Publisher": source_text(os.path.join(source, "src/common/names.h"), r'kPublisher\[\] = "([^"]*)"'),
             "DisplayVersion": version.rsplit(".", 1)[0]}
    check(manifest.get("AppsAndFeaturesEntries") == [entry], f"AppsAndFeaturesEntries, expected [{entry}]")
    installers = manifest.get("Installers")
    check(isinstance(installers, list) and len(installers) == 1, "one installer")
    installer = installers[0]
    check(set(installer) == {"Architecture", "InstallerUrl", "InstallerSha256"}, f"installer fields {set(installer)}")
    enum_field(installer, "Architecture", {"x86", "x64", "arm", "arm64", "neutral"})
    text_field(installer, "InstallerUrl", 1, 2048, URL)
    check(installer.get("InstallerUrl") == BASE_URL + zip_name, f"InstallerUrl {installer.get('InstallerUrl')}")
    check(installer.get("InstallerSha256") == digest, "InstallerSha256 is not the zip's digest (upper case)")
    known = {"PackageIdentifier", "PackageVersion", "InstallerType", "NestedInstallerType", "NestedInstallerFiles",
             "Scope", "InstallModes", "InstallerSwitches", "ExpectedReturnCodes", "UpgradeBehavior",
             "AppsAndFeaturesEntries", "Installers", "ManifestType", "ManifestVersion"}
    check(set(manifest) == known, f"installer manifest fields {set(manifest) ^ known}")


def check_locale(manifest, version):
    check_common(manifest, "defaultLocale", version)
    text_field(manifest, "PackageLocale", 1, 20, LOCALE)
    check(manifest.get("PackageLocale") == "fr-FR", "PackageLocale")
    check(manifest.get("PackageName") == "Orvelle 6", "PackageName")
    for name, low, high in (("Publisher", 2, 256), ("PackageName", 2, 256), ("License", 3, 512),
                            ("ShortDescription", 3, 256)):
        text_field(manifest, name, low, high)
    for name, low, high in (("Copyright", 3, 512), ("Description", 3, 10000), ("Moniker", 1, 40)):
        text_field(manifest, name, low, high, required=False)
    for name in ("PublisherUrl", "PackageUrl", "LicenseUrl", "PublisherSupportUrl"):
        text_field(manifest, name, 1, 2048, URL, required=False)
    tags = manifest.get("Tags", [])
    check(len(tags) <= 16 and len(set(tags)) == len(tags) and all(1 <= len(t) <= 40 for t in tags), "Tags")
    known = {"PackageIdentifier", "PackageVersion", "PackageLocale", "Publisher", "PublisherUrl",
             "PublisherSupportUrl", "PackageName", "PackageUrl", "License", "LicenseUrl", "Copyright",
             "ShortDescription", "Description", "Moniker", "Tags", "ManifestType", "ManifestVersion"}
    check(set(manifest) <= known, f"unknown defaultLocale fields {set(manifest) - known}")


def main(source, build):
    work = tempfile.mkdtemp(prefix="release.", dir=build)
    try:
        release = os.path.join(work, "release")
        env = dict(os.environ, ORVELLE_RELEASE_BASE_URL=BASE_URL)
        subprocess.run([os.path.join(source, "scripts/release.sh"), "--no-build", "--out", release],
                       check=True, env=env)
        zip_name, version, digest = check_zip(release, os.path.join(build, "sample-package"))
        winget = os.path.join(release, "winget")
        files = sorted(os.listdir(winget))
        check(files == [f"{PACKAGE_ID}.installer.yaml", f"{PACKAGE_ID}.locale.fr-FR.yaml", f"{PACKAGE_ID}.yaml"],
              f"winget folder holds {files}")
        version_manifest = parse_yaml(os.path.join(winget, f"{PACKAGE_ID}.yaml"))
        check_common(version_manifest, "version", version)
        check(version_manifest.get("DefaultLocale") == "fr-FR", "DefaultLocale")
        check(set(version_manifest) == {"PackageIdentifier", "PackageVersion", "DefaultLocale", "ManifestType",
                                        "ManifestVersion"}, "version manifest fields")
        check_installer(parse_yaml(os.path.join(winget, f"{PACKAGE_ID}.installer.yaml")),
                        zip_name, version, digest, source)
        check_locale(parse_yaml(os.path.join(winget, f"{PACKAGE_ID}.locale.fr-FR.yaml")), version)
    finally:
        shutil.rmtree(work)
    for failure in failures:
        print("FAIL:", failure)
    if not failures:
        print(f"release {zip_name}: digest and manifests checked")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1], sys.argv[2]))
