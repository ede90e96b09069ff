"""Reads the bridge benchmark's results of both sides and prints the time per call and the ratios."""
import json
import pathlib
import statistics
import sys

# The page's clock ticks in whole milliseconds: a median is taken over blocks of calls, each long
# enough that one tick is a small part of it.
BLOCK = 100

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


hellos = {data["hello"] for side in ("baseline", "ours") for data in results(side)}
assert len(hellos) == 1, f"the two sides answer hello differently: {hellos}"
rounds = len(results("ours"))
calls = len(results("ours")[0]["runs"][0]["ends"])
rows = [(label, per_call("baseline", width), per_call("ours", width))
        for label, width in (("sequential", 1), ("8 in flight", 8))]
print(f"{rounds} rounds of {calls} calls per side; time per call (wall time over the calls) in µs,")
print(f"median over blocks of {BLOCK} calls / mean of all calls")
for label, (base_median, base_mean), (our_median, our_mean) in rows:
    print(f"{label:12} baseline {base_median:6.1f} / {base_mean:6.1f}   ours {our_median:6.1f} / {our_mean:6.1f}   "
          f"ratio {our_median / base_median:.2f} / {our_mean / base_mean:.2f}")
