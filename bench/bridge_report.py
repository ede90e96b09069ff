"""Reads the bridge benchmark's results and prints, per way of calling, the calls per second of each
side with the ratios of ours to each baseline."""
import json
import pathlib
import sys

import stats

# The page's clock ticks in whole milliseconds: a run's figure is taken over all its calls, long
# enough that one tick is a small part of it; the median over runs keeps out a run that met a pause.
BASELINES = {
    "reply": "baseline answering on the message's reply",
    "evaluate": "baseline answering with evaluate_javascript",
}

work = pathlib.Path(sys.argv[1])


def results(side):
    """The page's result of every run."""
    runs = []
    for line in (work / f"{side}.out").read_text().splitlines():
        data = json.loads(line)
        if data.get("error"):
            sys.exit(f"the page of {side} failed: {data['error']}")
        runs.append(data)
    if not runs:
        sys.exit(f"no result from {side}; see {work}/{side}.out")
    return runs


def calls_per_second(side, width):
    """One figure per run: its calls per second."""
    figures = []
    for data in results(side):
        run = next(run for run in data["runs"] if run["width"] == width)
        figures.append(len(run["ends"]) / (run["ends"][-1] - run["start"]) * 1000)
    return figures


hellos = {data["hello"] for side in ("ours", *BASELINES) for data in results(side)}
assert len(hellos) == 1, f"the sides answer hello differently: {hellos}"
calls = len(results("ours")[0]["runs"][0]["ends"])
stats.header(len(results("ours")), f"Bridge calls (crv.hello), {calls} per run and way, in calls/s")
for label, width in (("sequential", 1), ("8 in flight", 8)):
    for side, name in BASELINES.items():
        stats.row(f"{label}, vs {side}", "/s", calls_per_second(side, width), calls_per_second("ours", width),
                  "target >= 0.98", fmt="7.0f")
