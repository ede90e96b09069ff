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


def fetch_rate(side):
    runs = result(side, "fetch")
    assert all(size == 64 << 20 for _, size in runs), runs
    return statistics.median(size / 1e6 / (ms / 1000) for ms, size in runs)


def page_time(side):
    runs = result(side, "many")
    assert all(scripts == 200 and images == 200 for _, scripts, images in runs), runs
    return statistics.median(ms for ms, _, _ in runs)


base_rate, our_rate = fetch_rate("baseline"), fetch_rate("ours")
base_time, our_time = page_time("baseline"), page_time("ours")
print(f"medians of {len(result('ours', 'fetch'))} loads per side and page")
print(f"(a) fetch() of 64 MiB     baseline {base_rate:7.1f} MB/s   ours {our_rate:7.1f} MB/s   "
      f"ratio {our_rate / base_rate:.2f} (target >= 0.90)")
print(f"(b) 200 scripts + images  baseline {base_time:7.1f} ms     ours {our_time:7.1f} ms     "
      f"ratio {our_time / base_time:.2f} (target <= 1.20)")
