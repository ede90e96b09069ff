"""Reads the benchmark outputs of both sides and prints the figures and the ratios."""
import json
import pathlib
import statistics
import sys

work = pathlib.Path(sys.argv[1])


def result(side, page):
    """The loads of every round."""
    runs = []
    for line in (work / f"{side}-{page}.out").read_text().splitlines():
        data = json.loads(line)
        if side == "ours":  # the test host prints the page's message inside its own event line
            if data.get("event") != "WebMessage":
                continue
            data = json.loads(data["json"])
        if isinstance(data, dict) and data.get("bench") == page:
            runs += data["runs"]
    if not runs:
        sys.exit(f"no {page} result from {side}; see {work}/{side}-{page}.out")
    return runs


def spread(values):
    """Median with the middle half of the values around it: the machine's load shows in the width."""
    q = statistics.quantiles(values, n=4) if len(values) > 1 else [values[0]] * 3
    return q[1], f"{q[0]:.0f}-{q[2]:.0f}"


def fetch_rates(side):
    runs = result(side, "fetch")
    assert all(size == 64 << 20 for _, size in runs), runs
    return [size / 1e6 / (ms / 1000) for ms, size in runs]


def page_times(side):
    runs = result(side, "many")
    assert all(scripts == 200 and images == 200 for _, scripts, images in runs), runs
    return [ms for ms, _, _ in runs]


def memory(side):
    """MiB of resident memory of the process tree, one figure per round."""
    path = work / f"{side}-memory.out"
    values = [int(line) / 1024 for line in path.read_text().split()] if path.exists() else []
    if not values:
        sys.exit(f"no memory figure from {side}; see {work}/{side}-memory.log")
    return values


def row(label, unit, base_values, our_values, target, fmt="7.1f"):
    base, base_range = spread(base_values)
    ours, our_range = spread(our_values)
    print(f"{label:<26} baseline {base:{fmt}} {unit:<5} ({base_range:>9})   ours {ours:{fmt}} {unit:<5} "
          f"({our_range:>9})   ratio {ours / base:.2f} ({target})")


print(f"medians of {len(result('ours', 'fetch'))} loads per side and page, middle half in brackets")
row("(a) fetch() of 64 MiB", "MB/s", fetch_rates("baseline"), fetch_rates("ours"), "target >= 1.00")
row("(b) 200 scripts + images", "ms", page_times("baseline"), page_times("ours"), "target <= 1.05")
row("(c) memory after (b)", "MiB", memory("baseline"), memory("ours"), "ours : baseline")
