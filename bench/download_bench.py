#!/usr/bin/env python3
"""How kitloom-cli installs downloads, measured with the real program.

  bench/download_bench.py PROGRAM [--patches 100] [--saves 20] [--runs 5]
      A pack of PATCHES patches (each with two 64 KiB images) into SAVES saves: installing it
      from its zip and from the same patches unpacked, side by side in one run, each time
      into a fresh copy of the game; prints the median wall times and their ratio.
  bench/download_bench.py PROGRAM --memory [--megabytes 500]
      A zip of about MEGABYTES MiB (patches with 15 MiB images, stored, so that nothing
      shrinks them): the install's peak resident memory.

Take PROGRAM from an optimised build (the bench preset: build/bench/kitloom-cli); the
sanitisers of the native preset multiply both time and memory.
"""
import argparse
import os
import random
import shutil
import statistics
import subprocess
import sys
import tempfile
import time
import zipfile

HERE = os.path.dirname(os.path.abspath(__file__))


def run(program, *args, cwd=None):
    done = subprocess.run([program, *args], cwd=cwd, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
    if done.returncode != 0:
        sys.exit(f"{program} {' '.join(args)} failed ({done.returncode}): {done.stderr}")


def make_game(folder, saves):
    subprocess.run([os.path.join(HERE, "..", "scripts", "make-demo-game.sh"), folder], check=True,
                   stdout=subprocess.DEVNULL)
    for name in os.listdir(folder):
        if name.endswith((".jer", ".fsh")):
            os.remove(os.path.join(folder, name))
    table = os.path.join(folder, "saves", "000", "teamgear.dbf")
    for save in range(saves):
        os.makedirs(os.path.join(folder, "saves", f"{save:03d}"), exist_ok=True)
        if save:
            shutil.copy(table, os.path.join(folder, "saves", f"{save:03d}", "teamgear.dbf"))
    os.makedirs(os.path.join(folder, "render"), exist_ok=True)


def jersey_name(index):
    letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ"
    return "".join(letters[(index // 26 ** place) % 26] for place in range(4))


def make_patches(program, folder, count, image_bytes):
    """COUNT patches in FOLDER, each with its two images; their paths."""
    os.makedirs(folder)
    paths = []
    rng = random.Random(7)
    for index in range(count):
        name = jersey_name(index)
        run(program, "make-patch", "--prefix", "kb", "--file", f"p{index:03d}", "--team", str(index % 99),
            "--name", name, "--year", "1998-99", cwd=folder)
        for image in (f"kb{name}.fsh", f"kb{name}_num.fsh"):
            with open(os.path.join(folder, image), "wb") as file:
                file.write(rng.randbytes(image_bytes))
        paths.append(os.path.join(folder, f"p{index:03d}.jer"))
    return paths


def peak_memory(program, *args):
    """The peak resident memory of one run of PROGRAM, in MiB, as GNU time (Debian's package
    time) reads it: a child keeps the peak of the pages it started with, so the program must
    start from a process as small as time, not from this one."""
    if not os.access("/usr/bin/time", os.X_OK):
        sys.exit("the memory benchmark needs GNU time: apt-get install time")
    done = subprocess.run(["/usr/bin/time", "-f", "%M", program, *args], stdout=subprocess.DEVNULL,
                          stderr=subprocess.PIPE, text=True)
    if done.returncode != 0:
        sys.exit(f"{program} {' '.join(args)} failed ({done.returncode}): {done.stderr}")
    return int(done.stderr.split()[-1]) / 1024


def timed_install(program, game, download):
    start = time.perf_counter()
    run(program, "install", "--game", game, download)
    return time.perf_counter() - start


def speed(program, patches, saves, runs):
    with tempfile.TemporaryDirectory(prefix="kitloom-bench-") as root:
        make_game(os.path.join(root, "game"), saves)
        source = os.path.join(root, "patches")
        paths = make_patches(program, source, patches, 64 * 1024)
        pack = os.path.join(root, "pack.zip")
        run(program, "pack", *paths, "-o", pack)
        zipped, unpacked = [], []
        for _ in range(runs):
            for times, from_zip in ((zipped, True), (unpacked, False)):
                game = os.path.join(root, "try")
                shutil.rmtree(game, ignore_errors=True)
                shutil.copytree(os.path.join(root, "game"), game)
                download = pack
                if not from_zip:
                    download = os.path.join(root, "unpacked")
                    shutil.rmtree(download, ignore_errors=True)
                    shutil.copytree(source, download)  # a folder's images are moved out of it
                times.append(timed_install(program, game, download))
        z, u = statistics.median(zipped), statistics.median(unpacked)
        print(f"{patches} patches into {saves} saves, median of {runs}: from the zip {z:.3f} s, "
              f"unpacked {u:.3f} s, ratio {z / u:.2f}")


def memory(program, megabytes):
    image_bytes = 15 * 1024 * 1024
    count = max(1, -(-megabytes * 1024 * 1024 // (2 * image_bytes)))  # at least MEGABYTES
    with tempfile.TemporaryDirectory(prefix="kitloom-bench-") as root:
        make_game(os.path.join(root, "game"), 3)
        paths = make_patches(program, os.path.join(root, "patches"), count, image_bytes)
        pack = os.path.join(root, "big.zip")
        with zipfile.ZipFile(pack, "w", zipfile.ZIP_STORED) as archive:
            for path in paths:
                folder = os.path.dirname(path)
                archive.write(path, os.path.basename(path))
                with open(path, "rb") as patch:
                    lines = patch.read().split(b"\r\n")
                for image in lines[1:3]:
                    archive.write(os.path.join(folder, image.decode("latin-1")), image.decode("latin-1"))
        shutil.rmtree(os.path.join(root, "patches"))
        size = os.path.getsize(pack) / (1024 * 1024)
        peak = peak_memory(program, "install", "--game", os.path.join(root, "game"), pack)
        baseline = peak_memory(program, "--version")
        print(f"a {size:.0f} MiB zip of {count} patches: peak resident memory of the install {peak:.1f} MiB "
              f"(kitloom-cli --version: {baseline:.1f} MiB)")


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("program")
    parser.add_argument("--patches", type=int, default=100)
    parser.add_argument("--saves", type=int, default=20)
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--memory", action="store_true")
    parser.add_argument("--megabytes", type=int, default=500)
    options = parser.parse_args()
    program = os.path.abspath(options.program)
    if options.memory:
        memory(program, options.megabytes)
    else:
        speed(program, options.patches, options.saves, options.runs)


if __name__ == "__main__":
    main()
