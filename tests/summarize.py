"""Adds up the JUnit-style result files of every test tier and prints the
closing line "N passed, N failed"; exits non-zero when anything failed or a
tier left no results at all."""
import sys
import xml.etree.ElementTree as ET
from pathlib import Path

EXPECTED = ["includes.xml", "pe.xml", "native.xml", "fuzz.xml", "windows.xml", "e2e.xml"]


def count(path):
    passed = failed = 0
    for case in ET.parse(path).getroot().iter("testcase"):
        if case.find("skipped") is not None:
            continue
        if case.find("failure") is not None or case.find("error") is not None:
            failed += 1
        else:
            passed += 1
    return passed, failed


def main(folder):
    passed = failed = 0
    for name in EXPECTED:
        path = Path(folder) / name
        if not path.exists():
            print(f"{name}: no results (the tier did not run)")
            failed += 1
            continue
        try:
            p, f = count(path)
        except ET.ParseError:
            print(f"{name}: unreadable results")
            failed += 1
            continue
        print(f"{name}: {p} passed, {f} failed")
        passed += p
        failed += f
    print(f"{passed} passed, {failed} failed")
    return 0 if failed == 0 and passed > 0 else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv[1] if len(sys.argv) > 1 else "build/results"))
