"""What the benchmarks read of a running program from /proc: resident memory
in all and per mapped file, CPU time, context switches per thread, and the
idle measurement built on them, which samples every 10 ms and counts a run of
busy samples as one wake event. Shared by run_bench.py and task_wakeups.py;
it starts nothing and knows nothing of Wine or X."""

import collections
import os
import statistics
import time
from pathlib import Path

POLL_S = 0.010
CLK_TCK = os.sysconf("SC_CLK_TCK")


def read_rss_kb(pid):
    for line in Path(f"/proc/{pid}/status").read_text().splitlines():
        if line.startswith("VmRSS:"):
            return int(line.split()[1])
    raise RuntimeError("no VmRSS")


def read_mappings(pid):
    """Resident kB per mapped file (by name) and per kind of anonymous memory."""
    rss = collections.Counter()
    name = None
    for line in Path(f"/proc/{pid}/smaps").read_text().splitlines():
        fields = line.split()
        if "-" in fields[0] and len(fields) >= 5 and not fields[0].endswith(":"):
            name = fields[5].rsplit("/", 1)[-1] if len(fields) > 5 else "[anon]"
        elif fields[0] == "Rss:" and name is not None:
            rss[name] += int(fields[1])
    return rss


def read_cpu_ticks(pid):
    # Fields after the parenthesised name; utime and stime are fields 14 and 15.
    stat = Path(f"/proc/{pid}/stat").read_text()
    fields = stat[stat.rindex(")") + 2:].split()
    return int(fields[11]) + int(fields[12])


def read_switches(pid):
    per_thread = {}
    for task in Path(f"/proc/{pid}/task").iterdir():
        total = 0
        try:
            for line in (task / "status").read_text().splitlines():
                if line.startswith(("voluntary_ctxt_switches:", "nonvoluntary_ctxt_switches:")):
                    total += int(line.split()[1])
        except (FileNotFoundError, ProcessLookupError):
            continue  # the thread ended between listing and reading
        per_thread[task.name] = total
    return per_thread


def measure_idle(proc, seconds):
    """CPU, context switches and wake events over `seconds`, sampling every 10 ms.

    A wake event is a run of samples in which the switch count rose after a
    quiet sample: however many switches one WM_TIMER costs, it counts once."""
    pid = proc.pid
    cpu0 = read_cpu_ticks(pid)
    last = read_switches(pid)
    switches = 0
    events = []
    quiet = True
    t0 = time.monotonic()
    deadline = t0 + seconds
    while True:
        now = time.monotonic()
        if now >= deadline:
            break
        time.sleep(min(POLL_S, deadline - now))
        if proc.poll() is not None:
            raise RuntimeError(f"the program ended during the idle period (exit {proc.returncode}); "
                               "was the prefix's wineserver ended from elsewhere?")
        current = read_switches(pid)
        # Per thread, so a thread that ends does not make the sum go backwards.
        delta = sum(max(0, n - last.get(tid, 0)) for tid, n in current.items())
        last = current
        if delta:
            switches += delta
            if quiet:
                events.append(time.monotonic() - t0)
            quiet = False
        else:
            quiet = True
    elapsed = time.monotonic() - t0
    cpu = read_cpu_ticks(pid) - cpu0
    gaps = [b - a for a, b in zip(events, events[1:])]
    return {
        "cpu_ms_per_s": cpu * 1000.0 / CLK_TCK / elapsed,
        "wakeups_per_s": switches / elapsed,
        "events_per_s": len(events) / elapsed,
        "per_event": switches / len(events) if events else 0.0,
        "median_gap_ms": statistics.median(gaps) * 1000.0 if gaps else float("nan"),
        "threads": len(last),
        "gaps_10ms": [round(g * 100) * 10 for g in gaps],
    }
