#!/usr/bin/env python3
"""Writes the Windows Package Manager manifest of a built MSI in its three-file
form, manifest format 1.9.0: Quonda.QuondaHalvix.yaml (version),
Quonda.QuondaHalvix.installer.yaml and Quonda.QuondaHalvix.locale.zh-CN.yaml
(the default locale). The package's codes, name, maker and version are read
from the MSI's Property table and its SHA-256 from the file, so the manifest
always describes the package it was written for; an MSI rebuilt or signed
again needs a new one.

Usage: winget_manifest.py MSI VERSION SITE INSTALLER_URL OUT_DIR
  VERSION        the version as users see it (2.1), the PackageVersion
  SITE           the official-site page, the PackageUrl; its host's root is
                 the PublisherUrl
  INSTALLER_URL  where the MSI is downloaded from"""
import hashlib
import subprocess
import sys
from pathlib import Path
from urllib.parse import urlsplit

import yaml

IDENTIFIER = "Quonda.QuondaHalvix"
MANIFEST_VERSION = "1.9.0"
LOCALE = "zh-CN"
SHORT_DESCRIPTION = "按设定的时间自动关机、重启、注销或休眠"
# The program ships under no public licence.
LICENSE = "Proprietary"


def properties(msi):
    lines = subprocess.run(["msiinfo", "export", str(msi), "Property"], check=True,
                           capture_output=True, text=True).stdout.splitlines()
    # Column names, column types and the table's name come first.
    return dict(line.split("\t", 1) for line in lines[3:])


def write(path, kind, fields, version):
    schema = f"https://aka.ms/winget-manifest.{kind.lower()}.{MANIFEST_VERSION}.schema.json"
    document = {"PackageIdentifier": IDENTIFIER, "PackageVersion": version, **fields,
                "ManifestType": kind, "ManifestVersion": MANIFEST_VERSION}
    path.write_text(f"# yaml-language-server: $schema={schema}\n\n"
                    + yaml.safe_dump(document, allow_unicode=True, sort_keys=False, width=1000),
                    encoding="utf-8")


def main(msi, version, site, installer_url, out):
    msi, out = Path(msi), Path(out)
    table = properties(msi)
    out.mkdir(parents=True, exist_ok=True)
    write(out / f"{IDENTIFIER}.yaml", "version", {"DefaultLocale": LOCALE}, version)
    write(out / f"{IDENTIFIER}.installer.yaml", "installer", {
        "InstallerLocale": LOCALE,
        "InstallerType": "msi",
        "Scope": "machine",
        # The package removes an installed one of the same upgrade code itself
        # (a major upgrade), so winget just installs it.
        "UpgradeBehavior": "install",
        "Installers": [{
            "Architecture": "x64",
            "InstallerUrl": installer_url,
            "InstallerSha256": hashlib.sha256(msi.read_bytes()).hexdigest().upper(),
            "ProductCode": table["ProductCode"],
            # What Apps & features shows: the ProductCode is new with every
            # build, the UpgradeCode ties all versions together.
            "AppsAndFeaturesEntries": [{
                "DisplayName": table["ProductName"],
                "Publisher": table["Manufacturer"],
                "DisplayVersion": table["ProductVersion"],
                "ProductCode": table["ProductCode"],
                "UpgradeCode": table["UpgradeCode"],
            }],
        }],
    }, version)
    parts = urlsplit(site)
    write(out / f"{IDENTIFIER}.locale.{LOCALE}.yaml", "defaultLocale", {
        "PackageLocale": LOCALE,
        "Publisher": table["Manufacturer"],
        "PublisherUrl": f"{parts.scheme}://{parts.netloc}/",
        "PackageName": table["ProductName"],
        "PackageUrl": site,
        "License": LICENSE,
        "ShortDescription": SHORT_DESCRIPTION,
    }, version)
    return 0


if __name__ == "__main__":
    if len(sys.argv) != 6:
        sys.exit(__doc__[__doc__.index("Usage:"):])
    sys.exit(main(*sys.argv[1:]))
