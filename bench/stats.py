"""Rows of the benchmark reports: each side's median over N runs with the lowest and highest run, and
the ratio of the medians with the range of the per-run ratios. Runs of the two sides take turns, so
run i of one side and run i of the other met the same load on the machine: their ratio is a pair."""
import statistics


def spread(values):
    """Median, lowest and highest."""
    return statistics.median(values), min(values), max(values)


def row(label, unit, base_values, our_values, target, fmt="7.1f"):
    """Prints one row; the values are one figure per run, in run order on both sides."""
    if not base_values or not our_values:
        raise SystemExit(f"{label}: no figures")
    short = "." + fmt.split(".")[1]
    base, base_low, base_high = spread(base_values)
    ours, our_low, our_high = spread(our_values)
    pairs = [o / b for o, b in zip(our_values, base_values) if b]
    low, high = (min(pairs), max(pairs)) if pairs else (float("nan"), float("nan"))
    print(f"  {label:<28} baseline {base:{fmt}} [{base_low:{short}}-{base_high:{short}}] {unit:<5}"
          f" ours {ours:{fmt}} [{our_low:{short}}-{our_high:{short}}] {unit:<5}"
          f" ratio {ours / base:.3f} [{low:.2f}-{high:.2f}] ({target})")


def header(runs, what):
    print(f"{what}: median of {runs} runs per side [lowest-highest run]; ratio of the medians "
          "[lowest-highest ratio of a run's pair]")
