"""A copy of the program in a folder of its own (as in a Downloads folder),
with a stand-in DLL beside it under the name of every system DLL it loads
that is not one of Windows' known DLLs. Wine is told to prefer a DLL it finds
that way over its own, which is what Windows does for such names. The
stand-ins leave a marker file when loaded; none may appear, the program has to
start and work as usual, and the DLLs it used must be the system's."""
import shutil
from pathlib import PureWindowsPath

from harness import build_file, teal, wait_until
from test_keyboard import tree

PLANTED = ["msimg32", "oleacc", "powrprof", "uxtheme", "wininet", "comctl32", "gdiplus"]
# Loaded by start-up, a painted window, the version window's HTML view and a
# screen reader's visit; powrprof only when a hibernation fires.
USED = ["msimg32", "oleacc", "uxtheme", "wininet", "comctl32", "gdiplus"]
MAIN_SIZE = (867, 524)
VERSION_SIZE = (378, 232)
UPDATE_LABEL = (760, 16)


def mapped_dlls(pid):
    """The files of the DLLs in the process (under Wine every module, built-in
    or not, is a mapped file), by lower-case name."""
    found = {}
    with open(f"/proc/{pid}/maps", encoding="utf-8", errors="replace") as maps:
        for line in maps:
            path = line.split(None, 5)[-1].strip()
            if path.lower().endswith(".dll"):
                found.setdefault(path.rsplit("/", 1)[-1].lower(), set()).add(path)
    return found


def test_dlls_beside_the_exe_are_never_loaded(prefix, exe, screenshots, figures):
    folder = prefix.root / "Downloads"
    markers = prefix.root / "markers"
    folder.mkdir()
    markers.mkdir()
    copy = folder / exe.name
    shutil.copy(exe, copy)
    stand_in = build_file("qh_planted_marker.dll")
    for name in PLANTED:
        shutil.copy(stand_in, folder / f"{name}.dll")
    prefix.env["WINEDLLOVERRIDES"] += ";" + ",".join(PLANTED) + "=n,b"
    prefix.env["QH_MARKER_DIR"] = str(PureWindowsPath("Z:" + str(markers)))

    app = prefix.launch(copy)
    try:
        main = app.wait_window(name="QuondaHalvix", size=MAIN_SIZE)
        wait_until(lambda: teal(main.pixel(300, 60)), 10, "main window painted")
        main.click(*UPDATE_LABEL)
        version = app.wait_window(size=VERSION_SIZE, position=(50, 50), timeout=10)
        wait_until(lambda: version.pixel(10, 10) == (0, 128, 0), 10, "version window painted")
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
