#!/usr/bin/env python3
"""Writes the package-manager manifests of a release from the files in dist/.

    scripts/manifests.py DIST VERSION RELEASE_URL SITE_URL

DIST holds Lumitrax-VERSION-setup.exe and Lumitrax-VERSION-portable.zip; each
file's address is RELEASE_URL + "/" + its name. Written under DIST/manifests:
  winget/MOVRANIK.Lumitrax/VERSION/  the version, installer and en-US default-locale
                                     manifests of the installer (nullsoft, both scopes)
  scoop/lumitrax.json                the Scoop manifest of the portable zip
"""
import hashlib
import json
import sys
from pathlib import Path

PACKAGE_ID = "MOVRANIK.Lumitrax"
PUBLISHER = "MOVRANIK"
NAME = "Lumitrax"
# The Add/Remove Programs key the installer writes, under HKCU or HKLM.
PRODUCT_CODE = "Lumitrax"
LICENSE = "Freeware"
SHORT_DESCRIPTION = "Shows the state of Num, Caps and Scroll Lock in the notification area."
DESCRIPTION = (
    "Lumitrax shows the state of Num Lock, Caps Lock and Scroll Lock on keyboards that have no lock lights: "
    "a small icon in the notification area, an optional on-screen display when a lock changes, a beep if "
    "you wish, and the locks switched from its menu."
)
MANIFEST_VERSION = "1.6.0"
# Windows 7 with Service Pack 1.
MINIMUM_OS_VERSION = "6.1.7601.0"


def sha256(path: Path) -> str:
    digest = hashlib.sha256()
    with path.open("rb") as file:
        for block in iter(lambda: file.read(1 << 16), b""):
            digest.update(block)
    return digest.hexdigest()


def header(kind: str) -> str:
    return (f"# Written by scripts/manifests.py.\n"
            f"# yaml-language-server: $schema=https://aka.ms/winget-manifest.{kind}.{MANIFEST_VERSION}.schema.json\n\n")


def quoted(text: str) -> str:
    return json.dumps(text)  # a JSON string is a valid YAML double-quoted scalar


def main() -> int:
    if len(sys.argv) != 5:
        print(__doc__, file=sys.stderr)
        return 2
    dist, version, release_url, site_url = Path(sys.argv[1]), sys.argv[2], sys.argv[3].rstrip("/"), sys.argv[4]
    setup_name = f"Lumitrax-{version}-setup.exe"
    zip_name = f"Lumitrax-{version}-portable.zip"
    setup, portable = dist / setup_name, dist / zip_name
    for file in (setup, portable):
        if not file.is_file():
            print(f"manifests: no {file}", file=sys.stderr)
            return 1
    setup_url, zip_url = f"{release_url}/{setup_name}", f"{release_url}/{zip_name}"
    setup_hash = sha256(setup).upper()

    winget = dist / "manifests" / "winget" / PACKAGE_ID / version
    winget.mkdir(parents=True, exist_ok=True)
    common = f"PackageIdentifier: {PACKAGE_ID}\nPackageVersion: {quoted(version)}\n"

    (winget / f"{PACKAGE_ID}.yaml").write_text(
        header("version") + common + "DefaultLocale: en-US\nManifestType: version\n"
        f"ManifestVersion: {MANIFEST_VERSION}\n", encoding="utf-8")

    def installer(scope: str, extra: str) -> str:
        return (f"- Architecture: x64\n"
                f"  Scope: {scope}\n"
                f"  InstallerUrl: {quoted(setup_url)}\n"
                f"  InstallerSha256: {setup_hash}\n"
                f"{extra}")

    switches = "    Silent: /S\n    SilentWithProgress: /S\n"
    (winget / f"{PACKAGE_ID}.installer.yaml").write_text(
        header("installer") + common +
        f"MinimumOSVersion: {MINIMUM_OS_VERSION}\n"
        "InstallerType: nullsoft\n"
        "InstallModes:\n- interactive\n- silent\n- silentWithProgress\n"
        # Setup replaces an older version in place and keeps the settings.
        "UpgradeBehavior: install\n"
        f"ProductCode: {PRODUCT_CODE}\n"
        "AppsAndFeaturesEntries:\n"
        f"- DisplayName: {NAME}\n  Publisher: {PUBLISHER}\n  DisplayVersion: {quoted(version)}\n"
        f"  ProductCode: {PRODUCT_CODE}\n"
        "Installers:\n" +
        installer("user", "  InstallerSwitches:\n" + switches) +
        installer("machine", "  ElevationRequirement: elevationRequired\n  InstallerSwitches:\n" + switches +
                  "    Custom: /ALLUSERS\n") +
        f"ManifestType: installer\nManifestVersion: {MANIFEST_VERSION}\n", encoding="utf-8")

    (winget / f"{PACKAGE_ID}.locale.en-US.yaml").write_text(
        header("defaultLocale") + common +
        "PackageLocale: en-US\n"
        f"Publisher: {PUBLISHER}\n"
        f"PublisherUrl: {quoted(site_url)}\n"
        f"PackageName: {NAME}\n"
        f"PackageUrl: {quoted(site_url)}\n"
        f"License: {LICENSE}\n"
        f"ShortDescription: {quoted(SHORT_DESCRIPTION)}\n"
        f"Description: {quoted(DESCRIPTION)}\n"
        "Tags:\n- keyboard\n- num-lock\n- caps-lock\n- scroll-lock\n- tray\n"
        f"ManifestType: defaultLocale\nManifestVersion: {MANIFEST_VERSION}\n", encoding="utf-8")

    scoop = dist / "manifests" / "scoop"
    scoop.mkdir(parents=True, exist_ok=True)
    manifest = {
        "version": version,
        "description": SHORT_DESCRIPTION,
        "homepage": site_url,
        "license": LICENSE,
        "url": zip_url,
        "hash": sha256(portable),
        "bin": "Lumitrax.exe",
        "shortcuts": [["Lumitrax.exe", NAME]],
        "notes": "Settings are kept per user under HKEY_CURRENT_USER\\Software\\MOVRANIK\\Lumitrax.",
    }
    (scoop / "lumitrax.json").write_text(json.dumps(manifest, indent=4) + "\n", encoding="utf-8")
    return 0


if __name__ == "__main__":
    sys.exit(main())
