#!/usr/bin/env python3
"""Checks the package-manager manifests that scripts/package.sh wrote against
the release files beside them.

    tests/package/check_manifests.py DIST VERSION RELEASE_URL

Each manifest must hold the fields its schema requires, name VERSION, give the
SHA-256 of the file in DIST, and give that file's address as RELEASE_URL + "/" +
its name. The winget product code must be the installer's Add/Remove Programs
key (read from installer/lumitrax.nsi). Prints one line per failure; exits 1
when there was any.
"""
import hashlib
import json
import re
import sys
import zipfile
from pathlib import Path

import yaml

ROOT = Path(__file__).resolve().parents[2]
failures = []


def check(condition, message):
    if not condition:
        failures.append(message)
    return condition


def sha256(path):
    return hashlib.sha256(path.read_bytes()).hexdigest()


def require(manifest, fields, where):
    for field in fields:
        check(manifest.get(field) not in (None, "", []), f"{where}: no {field}")


def load_yaml(path):
    if not check(path.is_file(), f"no {path}"):
        return {}
    return yaml.safe_load(path.read_text(encoding="utf-8")) or {}


def uninstall_key_name():
    text = (ROOT / "installer" / "lumitrax.nsi").read_text(encoding="utf-8")
    match = re.search(r'!define UNINST_KEY "([^"]+)"', text)
    return match.group(1).split("\\")[-1] if match else None


def main():
    dist, version, release_url = Path(sys.argv[1]), sys.argv[2], sys.argv[3].rstrip("/")
    setup = dist / f"Lumitrax-{version}-setup.exe"
    portable = dist / f"Lumitrax-{version}-portable.zip"
    for file in (setup, portable, dist / "SHA256SUMS"):
        if not check(file.is_file(), f"no {file}"):
            return
    sums = {}
    for line in (dist / "SHA256SUMS").read_text().splitlines():
        digest, name = line.split(maxsplit=1)
        sums[name.lstrip("*")] = digest
    check(sums.get(setup.name) == sha256(setup), "SHA256SUMS and the installer differ")
    check(sums.get(portable.name) == sha256(portable), "SHA256SUMS and the zip differ")

    # winget: a multi-file manifest set in the folder layout of the community repository.
    folders = list((dist / "manifests" / "winget").glob("*/*"))
    if not check(len(folders) == 1, f"one winget manifest folder expected, found {folders}"):
        return
    folder = folders[0]
    package_id = folder.parent.name
    check(folder.name == version, f"winget folder {folder.name} is not the version {version}")
    check(re.fullmatch(r"[^.\s\\/:*?\"<>|]{1,32}(\.[^.\s\\/:*?\"<>|]{1,32}){1,7}", package_id),
          f"{package_id} is not a package identifier")
    version_manifest = load_yaml(folder / f"{package_id}.yaml")
    installer = load_yaml(folder / f"{package_id}.installer.yaml")
    locale_name = version_manifest.get("DefaultLocale", "")
    locale = load_yaml(folder / f"{package_id}.locale.{locale_name}.yaml")
    check(len(list(folder.iterdir())) == 3, "the winget set is three files")

    require(version_manifest, ["PackageIdentifier", "PackageVersion", "DefaultLocale", "ManifestType",
                               "ManifestVersion"], "version manifest")
    require(installer, ["PackageIdentifier", "PackageVersion", "Installers", "ManifestType", "ManifestVersion"],
            "installer manifest")
    require(locale, ["PackageIdentifier", "PackageVersion", "PackageLocale", "Publisher", "PackageName", "License",
                     "ShortDescription", "ManifestType", "ManifestVersion"], "default-locale manifest")
    for manifest, kind in ((version_manifest, "version"), (installer, "installer"), (locale, "defaultLocale")):
        check(manifest.get("ManifestType") == kind, f"{kind} manifest: ManifestType {manifest.get('ManifestType')}")
        check(manifest.get("PackageIdentifier") == package_id, f"{kind} manifest: another package identifier")
        check(str(manifest.get("PackageVersion")) == version, f"{kind} manifest: version "
              f"{manifest.get('PackageVersion')} is not {version}")
        check(re.fullmatch(r"\d+\.\d+\.\d+", str(manifest.get("ManifestVersion"))),
              f"{kind} manifest: ManifestVersion {manifest.get('ManifestVersion')}")
    check(locale.get("PackageLocale") == locale_name, "the default locale's manifest is for another locale")

    product_code = uninstall_key_name()
    scopes = set()
    for entry in installer.get("Installers") or []:
        where = f"installer {entry.get('Scope')}"
        require(entry, ["Architecture", "InstallerUrl", "InstallerSha256"], where)
        scopes.add(entry.get("Scope"))
        check((entry.get("InstallerType") or installer.get("InstallerType")) == "nullsoft", f"{where}: not nullsoft")
        check(entry.get("InstallerUrl") == f"{release_url}/{setup.name}",
              f"{where}: InstallerUrl {entry.get('InstallerUrl')} is not under {release_url}")
        check(str(entry.get("InstallerSha256", "")).upper() == sha256(setup).upper(),
              f"{where}: InstallerSha256 is not the installer's")
        switches = entry.get("InstallerSwitches") or installer.get("InstallerSwitches") or {}
        check("/S" in str(switches.get("Silent", "")).split(), f"{where}: silent switch {switches.get('Silent')}")
        check("/S" in str(switches.get("SilentWithProgress", "")).split(), f"{where}: SilentWithProgress")
        all_users = "/ALLUSERS" in str(switches.get("Custom", "")).split()
        check(all_users == (entry.get("Scope") == "machine"), f"{where}: /ALLUSERS goes with the machine scope")
        check((entry.get("ProductCode") or installer.get("ProductCode")) == product_code,
              f"{where}: ProductCode is not the Add/Remove Programs key {product_code}")
        check((entry.get("UpgradeBehavior") or installer.get("UpgradeBehavior")) in ("install", "uninstallPrevious"),
              f"{where}: no upgrade behaviour")
    check(scopes == {"user", "machine"}, f"installer scopes {scopes}")
    for entry in installer.get("AppsAndFeaturesEntries") or []:
        check(str(entry.get("DisplayVersion")) == version, "AppsAndFeaturesEntries: another version")
        check(entry.get("ProductCode") == product_code, "AppsAndFeaturesEntries: another product code")

    # Scoop: the portable zip.
    scoop_path = dist / "manifests" / "scoop" / "lumitrax.json"
    if check(scoop_path.is_file(), f"no {scoop_path}"):
        scoop = json.loads(scoop_path.read_text(encoding="utf-8"))
        require(scoop, ["version", "description", "homepage", "license", "url", "hash", "bin"], "Scoop manifest")
        check(scoop.get("version") == version, f"Scoop: version {scoop.get('version')}")
        check(scoop.get("url") == f"{release_url}/{portable.name}", f"Scoop: url {scoop.get('url')}")
        digest = str(scoop.get("hash", ""))
        check(digest.removeprefix("sha256:").lower() == sha256(portable), "Scoop: hash is not the zip's")
        with zipfile.ZipFile(portable) as archive:
            names = set(archive.namelist())
        check(scoop.get("bin") in names, f"Scoop: bin {scoop.get('bin')} is not in the zip")
        shortcuts = scoop.get("shortcuts") or []
        check(len(shortcuts) == 1 and shortcuts[0][0] in names and shortcuts[0][1],
              f"Scoop: shortcuts {shortcuts}")


if __name__ == "__main__":
    if len(sys.argv) != 4:
        print(__doc__, file=sys.stderr)
        sys.exit(2)
    main()
    for failure in failures:
        print(f"manifests: {failure}")
    sys.exit(1 if failures else 0)
