"""Reads the serving benchmark's outputs of both sides and prints the figures and the ratios."""
import json
import pathlib
import statistics
import sys

import stats

work = pathlib.Path(sys.argv[1])


def result(side, page):
    """The loads of every run, one list per run."""
    runs = []
    for line in (work / f"{side}-{page}.out").read_text().splitlines():
        data = json.loads(line)
        if side == "ours":  # the test host prints the page's message inside its own event line
            if data.get("event") != "WebMessage":
                continue
            data = json.loads(data["json"])
        if isinstance(data, dict) and data.get("bench") == page:
            runs.append(data["runs"])
    if not runs:
        sys.exit(f"no {page} result from {side}; see {work}/{side}-{page}.out")
    return runs


def fetch_rates(side, page="fetch"):
    """MB/s, the median of each run's loads."""
    figures = []
    for loads in result(side, page):
        assert all(size == 64 << 20 for _, size in loads), loads
        figures.append(statistics.median(size / 1e6 / (ms / 1000) for ms, size in loads))
    return figures


def page_times(side):
    """ms, the median of each run's loads."""
    figures = []
    for loads in result(side, "many"):
        assert all(scripts == 200 and images == 200 for _, scripts, images in loads), loads
        figures.append(statistics.median(ms for ms, _, _ in loads))
    return figures


def memory(side):
    """MiB of resident memory of the process tree, one figure per run."""
    path = work / f"{side}-memory.out"
    values = [int(line) / 1024 for line in path.read_text().split()] if path.exists() else []
    if not values:
        sys.exit(f"no memory figure from {side}; see {work}/{side}-memory.log")
    return values


stats.header(len(result("ours", "fetch")), "Serving pages from memory; a run's figure is the median of its 3 loads")
stats.row("(a) fetch() of 64 MiB", "MB/s", fetch_rates("baseline"), fetch_rates("ours"), "target >= 0.98")
stats.row("(b) 200 scripts + images", "ms", page_times("baseline"), page_times("ours"), "lower; target <= 1.02")
stats.row("(c) memory after (b)", "MiB", memory("baseline"), memory("ours"), "ours : baseline")
# The entries' cipher is the package format's, and decrypting it costs more than serving the bytes.
stats.row("(d) fetch() from a package", "MB/s", fetch_rates("baseline"), fetch_rates("package", "package"),
          "ours from the package : baseline from memory")
