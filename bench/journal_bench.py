#!/usr/bin/env python3
"""What kitloom-cli's journal costs, measured with the real program.

  bench/journal_bench.py PROGRAM [--saves 400] [--runs 5]
      One patch into SAVES saves, with the journal and with --no-journal, side by side in
      one run, each time into a fresh copy of the game and a fresh journal; then the undo of
      each journaled install. Prints the median wall times, their ratio, and the flush
      barriers (fsync and fdatasync calls, counted with strace when it is there) per table.

Take PROGRAM from an optimised build (the bench preset: build/bench/kitloom-cli).
"""
import argparse
import os
import re
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from download_bench import make_game, make_patches  # noqa: E402


def timed(program, args, state):
    environment = dict(os.environ, XDG_STATE_HOME=state)
    start = time.perf_counter()
    done = subprocess.run([program, *args], env=environment, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE,
                          text=True)
    elapsed = time.perf_counter() - start
    if done.returncode != 0:
        sys.exit(f"{program} {' '.join(args)} failed ({done.returncode}): {done.stderr}")
    return elapsed


def barriers(program, args, state):
    """The fsync and fdatasync calls of one run, or None without strace."""
    if not shutil.which("strace"):
        return None
    environment = dict(os.environ, XDG_STATE_HOME=state)
    done = subprocess.run(["strace", "-f", "-c", "-e", "trace=fsync,fdatasync", program, *args], env=environment,
                          stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
    if done.returncode != 0:
        sys.exit(f"strace {program} {' '.join(args)} failed ({done.returncode}): {done.stderr}")
    return sum(int(calls) for calls in re.findall(r"^\s*[\d.]+\s+[\d.]+\s+\d+\s+(\d+)\s+(?:\d+\s+)?f(?:data)?sync$",
                                                  done.stderr, re.MULTILINE))


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("program")
    parser.add_argument("--saves", type=int, default=400)
    parser.add_argument("--runs", type=int, default=5)
    options = parser.parse_args()
    program = os.path.abspath(options.program)

    with tempfile.TemporaryDirectory(prefix="kitloom-bench-") as root:
        make_game(os.path.join(root, "game"), options.saves)
        source = os.path.join(root, "patches")
        patch = os.path.basename(make_patches(program, source, 1, 4096)[0])

        def fresh(label):
            game = os.path.join(root, "try")
            patches = os.path.join(root, "try-patches")
            state = os.path.join(root, "state-" + label)
            for folder in (game, patches, state):
                shutil.rmtree(folder, ignore_errors=True)
            shutil.copytree(os.path.join(root, "game"), game)
            shutil.copytree(source, patches)  # the images are moved out of it
            return ["install", "--game", game, os.path.join(patches, patch)], state

        journaled, unjournaled, undone = [], [], []
        for _ in range(options.runs):
            args, state = fresh("journal")
            journaled.append(timed(program, args, state))
            undone.append(timed(program, ["undo"], state))
            args, state = fresh("none")
            unjournaled.append(timed(program, args + ["--no-journal"], state))

        counted = {}
        for label, extra in (("journal", []), ("none", ["--no-journal"])):
            args, state = fresh(label)
            counted[label] = barriers(program, args + extra, state)

    j, n, u = statistics.median(journaled), statistics.median(unjournaled), statistics.median(undone)
    print(f"one patch into {options.saves} saves, median of {options.runs}: with the journal {j:.3f} s, "
          f"without {n:.3f} s, ratio {j / n:.2f}; undo of it {u:.3f} s")
    if counted["journal"] is None:
        print("flush barriers not counted: strace is not installed")
    else:
        for label, words in (("journal", "with the journal"), ("none", "without")):
            print(f"flush barriers {words}: {counted[label]} in all, {counted[label] / options.saves:.2f} per table")


if __name__ == "__main__":
    main()
