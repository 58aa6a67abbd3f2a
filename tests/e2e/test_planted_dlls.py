"""A copy of the program in a folder of its own (as in Downloads) with a
stand-in beside it for every system DLL it loads that is not a known DLL,
preferred by Wine as Windows would: no stand-in may run (each leaves a marker
file), and the program works as usual on the system's DLLs. And the PE check
of the built exes run on copies with each of its flags lost."""
import shutil
import struct
import subprocess
import sys
from pathlib import PureWindowsPath

import pytest

from harness import REPO, build_file, main_window, open_version, tree

PLANTED = ["msimg32", "oleacc", "powrprof", "uxtheme", "wininet", "comctl32", "gdiplus"]
# Loaded by start-up, a painted window, the version window's HTML view and a
# screen reader's visit; powrprof only when a hibernation fires.
USED = ["msimg32", "oleacc", "uxtheme", "wininet", "comctl32", "gdiplus"]


def mapped_dlls(pid):
    """The DLL files mapped in the process (under Wine every module is), by lower-case name."""
    found = {}
    with open(f"/proc/{pid}/maps", encoding="utf-8", errors="replace") as maps:
        for line in maps:
            path = line.split(None, 5)[-1].strip()
            if path.lower().endswith(".dll"):
                found.setdefault(path.rsplit("/", 1)[-1].lower(), set()).add(path)
    return found


def test_dlls_beside_the_exe_are_never_loaded(prefix, exe, screenshots, figures):
    folder, markers = prefix.root / "Downloads", prefix.root / "markers"
    folder.mkdir()
    markers.mkdir()
    copy = shutil.copy(exe, folder / exe.name)
    for name in PLANTED:
        shutil.copy(build_file("qh_planted_marker.dll"), folder / f"{name}.dll")
    prefix.env["WINEDLLOVERRIDES"] += ";" + ",".join(PLANTED) + "=n,b"
    prefix.env["QH_MARKER_DIR"] = str(PureWindowsPath("Z:" + str(markers)))

    app = prefix.launch(copy)
    try:
        main = main_window(app)
        open_version(app, main)
        assert any("QuondaHalvix执行命令" in line for line in tree(prefix))
        main.shot().save(screenshots / "planted_dlls_main.png")
        loaded = mapped_dlls(app.pid)
    finally:
        ran = sorted(p.name for p in markers.iterdir())
        figures(f"planted DLLs: markers that ran: {', '.join(ran) or 'none'}")
    assert ran == []
    assert app.running()
    for name in USED:
        paths = loaded.get(f"{name}.dll", set())
        assert paths, f"{name}.dll was never loaded, so this run proves nothing about it"
        assert not any(str(folder) in p for p in paths), paths


# (header field, bit flipped, the check that has to fail, the builds it is checked in)
DOCTORED = [
    ("DllCharacteristics", 0x0040, "ASLR (DYNAMIC_BASE)", "win64 win32"),
    ("DllCharacteristics", 0x0020, "high-entropy ASLR (HIGH_ENTROPY_VA)", "win64"),
    ("DllCharacteristics", 0x0100, "DEP (NX_COMPAT)", "win64 win32"),
    ("DllCharacteristics", 0x0400, "no SEH handlers (NO_SEH)", "win32"),
    ("DllCharacteristics", 0x8000, "terminal-server aware (TERMINAL_SERVER_AWARE)", "win64 win32"),
    ("Characteristics", 0x0001, "relocations", "win64 win32"),  # marked stripped
    ("first section", 0x80000000, "no writable and executable section", "win64 win32"),  # code made writable
]


@pytest.mark.parametrize("build", ["win64", "win32"])
def test_the_pe_check_fails_on_each_flag_lost(build, tmp_path):
    data = (REPO / f"build/{build}/QuondaHalvix.exe").read_bytes()
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    optional_size = struct.unpack_from("<H", data, pe + 20)[0]
    at = {"DllCharacteristics": (pe + 24 + 70, 2), "Characteristics": (pe + 22, 2),
          "first section": (pe + 24 + optional_size + 36, 4)}

    def failed(image):
        (tmp_path / "QuondaHalvix.exe").write_bytes(image)
        done = subprocess.run([sys.executable, str(REPO / "scripts/check-pe"), str(tmp_path / "QuondaHalvix.exe")],
                              capture_output=True, text=True, timeout=60)
        fails = [line.split("FAIL", 1)[1].strip().split(":")[0] for line in done.stdout.splitlines()
                 if line.strip().startswith("FAIL")]
        return done.returncode, fails

    assert failed(data) == (0, [])
    for field, bit, check, builds in DOCTORED:
        if build in builds.split():
            offset, size = at[field]
            copy = bytearray(data)
            value = int.from_bytes(copy[offset:offset + size], "little") ^ bit
            if field == "DllCharacteristics":  # and every other bit set: a check must read its own
                value = 0xFFFF ^ bit
            copy[offset:offset + size] = value.to_bytes(size, "little")
            assert failed(bytes(copy)) == (1, [check]), f"{field} ^ {bit:#x}"
