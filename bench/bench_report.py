"""The start-up bench's table: medians over the launches of every figure for
each program beside the QuondaHalvix-to-floor comparison, the stand-in with
only the program's own timers, where the program's memory beyond the floor's
goes (its own heap, font pages, libraries), and the goals with PASS or FAIL.
It only reads the dicts the scenarios return; it launches nothing."""

import statistics

from scenarios import OWN_TIMERS_MS, PROGRAM_EXE

GOAL_STARTUP_RATIO = 1.2      # of the floor
GOAL_MEMORY_MB = 6.0          # over the floor
GOAL_MEMORY_VERSION_MB = 10.0  # over the floor, after VersionWindow
GOAL_SHOWN_CPU_MS = 4.0
GOAL_SHOWN_SWITCHES = 100.0
GOAL_EXE_MB = 1.5
# Hidden wakeups may exceed the stand-in with the same timers by this factor
# before they count as periodic work of the program's own.
GOAL_HIDDEN_FACTOR = 1.5
# Memory the floor cannot have: font pages and the process's own allocations.
FONT_SUFFIXES = (".ttc", ".ttf", ".otf")
OWN_MEMORY = ("[anon]", "[heap]", "[stack]")


def memory_breakdown(program, floor):
    """Where the program's resident memory beyond the floor's goes, in kB."""
    extra = {k: program[k] - floor.get(k, 0) for k in program}
    fonts = sum(v for k, v in extra.items() if k.endswith(FONT_SUFFIXES))
    own = sum(extra.get(k, 0) for k in OWN_MEMORY)
    only = {k: v for k, v in extra.items() if k not in floor and not k.endswith(FONT_SUFFIXES)
            and k not in OWN_MEMORY}
    shared = sum(v for k, v in extra.items() if k in floor and not k.endswith(FONT_SUFFIXES)
                 and k not in OWN_MEMORY)
    return {"total": sum(extra.values()), "fonts": fonts, "own": own, "shared": shared,
            "only": sorted(only.items(), key=lambda kv: -kv[1])}


def median_of(runs, *path):
    """Median over the launches that have the figure (a sample may be left out)."""
    values = []
    for r in runs:
        v = r
        for key in path:
            v = v[key] if v is not None else None
        if v is not None:
            values.append(v)
    return statistics.median(values)


def verdict(ok):
    return "PASS" if ok else "FAIL"


def report(args, runs, model, wine_version, prefix, labels):
    """runs: name -> list of per-launch results; labels: builds compared."""
    lines = []
    out = lines.append
    names = [n for n in ("minimal", "floor", "QuondaHalvix", "baseline") if runs.get(n)]
    med = lambda name, *path: median_of(runs[name], *path)
    out(f"QuondaHalvix against the minimal window and the platform floor -- {wine_version}, "
        f"N={args.runs} launches each, median; idle periods {args.idle:g} s")
    for label in labels:
        out(f"  {label}")
    out(f"  prefix {prefix}")
    out("")
    header = f"{'measure':<58}" + "".join(f"{n:>14}" for n in names) + f"{'QH vs floor':>14}"
    out(header)
    out("-" * len(header))

    def row(label, path, fmt, scale=1.0, vs=None):
        cells = []
        for n in names:
            try:
                cells.append(f"{med(n, *path) * scale:{fmt}}")
            except (KeyError, statistics.StatisticsError):
                cells.append("")
        rel = vs(med("floor", *path) * scale, med("QuondaHalvix", *path) * scale) if vs else ""
        out(f"{label:<58}" + "".join(f"{c:>14}" for c in cells) + f"{rel:>14}")

    ratio = lambda a, b: f"{b / a:.2f}x" if a > 0 else "n/a"
    excess = lambda a, b: f"{b - a:+.1f}"
    row("start-up to window mapped (s)", ("startup_s",), ".3f", vs=ratio)
    row("VmRSS 3 s after mapping (MB)", ("rss_kb",), ".1f", 1 / 1024, vs=excess)
    for key, label in (("cpu_ms_per_s", "CPU (ms per s)"), ("wakeups_per_s", "context switches/s"),
                       ("events_per_s", "wake events/s"), ("per_event", "switches per wake event")):
        row(f"shown, idle: {label}", ("shown", key), ".2f", vs=excess)
    for state, label in (("disk", "disk check"), ("version", "VersionWindow waiting"),
                         ("armed", "armed, notice resting on screen"),
                         ("armed_parked", "armed, notice parked again"),
                         ("hidden", "hidden, idle")):
        for key, what in (("cpu_ms_per_s", "CPU (ms per s)"), ("wakeups_per_s", "context switches/s"),
                          ("per_event", "switches per wake event")):
            row(f"{label}: {what}", (state, key), ".2f")
    row("VmRSS after VersionWindow (MB)", ("rss_version_kb",), ".1f", 1 / 1024)
    out("")
    timers = " + ".join(f"{ms} ms" for ms in OWN_TIMERS_MS)
    mw = model["wakeups_per_s"]
    out(f"Stand-in with only the program's own timers ({timers}), minimal window hidden, 1 launch: "
        f"{mw:.2f} context switches/s, {model['events_per_s']:.2f} wake events/s")
    out("")

    b = memory_breakdown(runs["QuondaHalvix"][0]["mappings"], runs["floor"][0]["mappings"])
    mb = lambda kb: f"{kb / 1024:.1f} MB"
    out(f"Where QuondaHalvix's memory beyond the floor's goes (first launch of each, 3 s after "
        f"mapping): {mb(b['total'])}")
    out(f"  its own heap and anonymous memory (pixels, buffers, objects): {mb(b['own'])}")
    out(f"  pages of font files (CJK glyphs drawn):                     {mb(b['fonts'])}")
    out(f"  more pages of libraries the floor loads too:                {mb(b['shared'])}")
    only = b["only"]
    out(f"  libraries only the program loads ({len(only)}):                    "
        f"{mb(sum(v for _, v in only))}, most: "
        + ", ".join(f"{k} {v / 1024:.1f}" for k, v in only[:8]))
    out("")

    q = lambda *p: med("QuondaHalvix", *p)
    f = lambda *p: med("floor", *p)
    startup = q("startup_s") / f("startup_s")
    rss = (q("rss_kb") - f("rss_kb")) / 1024
    rss_version = (q("rss_version_kb") - f("rss_kb")) / 1024
    hidden = q("hidden", "wakeups_per_s")
    exe_mb = PROGRAM_EXE.stat().st_size / 1e6
    out("Goals (QuondaHalvix)")
    out(f"  start-up within {GOAL_STARTUP_RATIO}x the floor:             {startup:.2f}x  "
        f"{verdict(startup <= GOAL_STARTUP_RATIO)}")
    out(f"  memory within the floor + {GOAL_MEMORY_MB:g} MB:             {rss:+.1f} MB  "
        f"{verdict(rss <= GOAL_MEMORY_MB)}")
    out(f"  after VersionWindow, within the floor + {GOAL_MEMORY_VERSION_MB:g} MB: {rss_version:+.1f} MB  "
        f"{verdict(rss_version <= GOAL_MEMORY_VERSION_MB)}")
    out(f"  shown, idle: CPU <= {GOAL_SHOWN_CPU_MS:g} ms/s:                {q('shown', 'cpu_ms_per_s'):.2f}  "
        f"{verdict(q('shown', 'cpu_ms_per_s') <= GOAL_SHOWN_CPU_MS)}")
    out(f"  shown, idle: <= {GOAL_SHOWN_SWITCHES:g} context switches/s:     {q('shown', 'wakeups_per_s'):.1f}  "
        f"{verdict(q('shown', 'wakeups_per_s') <= GOAL_SHOWN_SWITCHES)}")
    out(f"  hidden: only its own timers (<= {GOAL_HIDDEN_FACTOR}x the stand-in): {hidden:.2f} vs {mw:.2f}  "
        f"{verdict(mw > 0 and hidden <= mw * GOAL_HIDDEN_FACTOR)}")
    out(f"  one exe <= {GOAL_EXE_MB:g} MB:                          {exe_mb:.2f} MB  "
        f"{verdict(exe_mb <= GOAL_EXE_MB)}")
    return "\n".join(lines)


def strip_gaps(value):
    if isinstance(value, dict):
        return {k: strip_gaps(v) for k, v in value.items() if k not in ("gaps_10ms", "mappings")}
    if isinstance(value, list):
        return [strip_gaps(v) for v in value]
    return value
