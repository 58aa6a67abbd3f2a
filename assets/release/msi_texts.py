#!/usr/bin/env python3
"""Writes the texts of QuondaHalvix.wxs that are not plain ASCII into the MSI
that wixl built from it. wixl writes the tables without a code page and drops
every character outside ASCII, which leaves the shortcut's description and the
launch condition's message empty. Here the database is given the code page of
the .wxs (Product Codepage) first, then msibuild sets each text, converting it
to that code page; Windows Installer converts it back for the shortcut and the
message box.

Usage: msi_texts.py WXS MSI"""
import subprocess
import sys
import tempfile
from pathlib import Path
from xml.etree import ElementTree

WIX = "{http://schemas.microsoft.com/wix/2006/wi}"


def texts(product):
    """(table, column, text, key column, key) of each text wixl drops."""
    for shortcut in product.iter(WIX + "Shortcut"):
        yield "Shortcut", "Description", shortcut.get("Description"), "Shortcut", shortcut.get("Id")
    for condition in product.findall(WIX + "Condition"):
        yield "LaunchCondition", "Description", condition.get("Message"), "Condition", condition.text.strip()


def main(wxs, msi):
    product = ElementTree.parse(wxs).getroot().find(WIX + "Product")
    queries = []
    for table, column, text, key_column, key in texts(product):
        if not text or text.isascii():
            continue
        # msibuild's SQL has no escape for a quote inside a string.
        if "'" in text or "'" in key:
            sys.exit(f"msi_texts: a quote in {table} {key}")
        queries.append(f"UPDATE `{table}` SET `{column}` = '{text}' WHERE `{key_column}` = '{key}'")
    if not queries:
        return 0
    codepage = product.get("Codepage")
    if not codepage:
        sys.exit("msi_texts: text outside ASCII needs Codepage on Product")
    with tempfile.TemporaryDirectory() as folder:
        # The table that sets a database's code page, in the form
        # Windows Installer exports it.
        idt = Path(folder) / "_ForceCodepage.idt"
        idt.write_bytes(f"\r\n\r\n{codepage}\t_ForceCodepage\r\n".encode("ascii"))
        subprocess.run(["msibuild", msi, "-i", str(idt)], check=True)
    for query in queries:
        subprocess.run(["msibuild", msi, "-q", query], check=True)
    # An UPDATE that matches no row succeeds all the same.
    for table, _, text, _, _ in texts(product):
        if text and text not in subprocess.run(["msiinfo", "export", msi, table], check=True,
                                               capture_output=True, text=True).stdout:
            sys.exit(f"msi_texts: {text} did not reach {table}")
    return 0


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__.rsplit("\n", 1)[-1])
    sys.exit(main(*sys.argv[1:]))
