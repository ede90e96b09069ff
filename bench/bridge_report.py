"""Reads the bridge benchmark's results and prints, for each side, the time per call and the calls
per second, with the ratios of ours to each baseline."""
import json
import pathlib
import statistics
import sys

# The page's clock ticks in whole milliseconds: a median is taken over blocks of calls, each long
# enough that one tick is a small part of it.
BLOCK = 100
SIDES = {
    "evaluate": "baseline answering with evaluate_javascript",
    "reply": "baseline answering on the message's reply",
    "ours": "ours",
}

work = pathlib.Path(sys.argv[1])


def results(side):
    """The page's result of every round."""
    rounds = []
    for line in (work / f"{side}.out").read_text().splitlines():
        data = json.loads(line)
        if data.get("error"):
            sys.exit(f"the page of {side} failed: {data['error']}")
        rounds.append(data)
    if not rounds:
        sys.exit(f"no result from {side}; see {work}/{side}.out")
    return rounds


def per_call(side, width):
    """Median over blocks and mean over all calls of the time per call, in microseconds."""
    blocks, total, calls = [], 0.0, 0
    for data in results(side):
        run = next(run for run in data["runs"] if run["width"] == width)
        marks = [run["start"]] + run["ends"]
        blocks += [(marks[i + BLOCK] - marks[i]) / BLOCK * 1000 for i in range(0, len(marks) - BLOCK, BLOCK)]
        total += marks[-1] - marks[0]
        calls += len(run["ends"])
    if not blocks:
        sys.exit(f"fewer than {BLOCK} calls per run: raise CALLS")
    return statistics.median(blocks), total / calls * 1000


hellos = {data["hello"] for side in SIDES for data in results(side)}
assert len(hellos) == 1, f"the sides answer hello differently: {hellos}"
rounds = len(results("ours"))
calls = len(results("ours")[0]["runs"][0]["ends"])
print(f"Bridge calls (crv.hello): {rounds} rounds of {calls} calls per side; time per call in µs as the")
print(f"median over blocks of {BLOCK} calls / the mean of all calls, and calls per second from the median")
for label, width in (("sequential", 1), ("8 in flight", 8)):
    figures = {side: per_call(side, width) for side in SIDES}
    print(f"  {label}:")
    for side, name in SIDES.items():
        median, mean = figures[side]
        print(f"    {name:45} {median:6.1f} / {mean:6.1f} µs  {1e6 / median:7.0f} calls/s")
    ours = figures["ours"][0]
    for side in ("evaluate", "reply"):
        print(f"    ratio of calls/s, ours to the {SIDES[side]}: {figures[side][0] / ours:.2f}")
