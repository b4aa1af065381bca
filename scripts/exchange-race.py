#!/usr/bin/env python3
"""Races a real Smart Clean against a folder that is exchanged with a link, as fast as the kernel
allows, and counts what the link's target lost. Run by hand on Linux (it needs renameat2):

    python3 scripts/exchange-race.py build/src/Kelvo/kelvo [rounds]

Each round builds a synthetic home whose place ~/.cache/thumbnails (a place of the Linux catalogue)
holds a folder "victim" with files, beside a link "victim-link" to a twin folder outside the home.
While `kelvo clean --yes` runs, another process keeps exchanging the two names atomically
(RENAME_EXCHANGE), at two levels: the place itself (against a link to an outside twin) and a folder
inside it. Whatever the interleaving, the twins outside the home must keep every file; the files
removed in the home show that the clean did run.
"""
import ctypes
import multiprocessing
import os
import shutil
import subprocess
import sys
import tempfile

AT_FDCWD = -100
RENAME_EXCHANGE = 2
FILES_PER_TREE = 600

libc = ctypes.CDLL(None, use_errno=True)


def exchange_forever(a, b, stop):
    a, b = os.fsencode(a), os.fsencode(b)
    while not stop.is_set():
        libc.renameat2(AT_FDCWD, a, AT_FDCWD, b, RENAME_EXCHANGE)


def fill(folder, count):
    for i in range(count):
        sub = os.path.join(folder, "d%02d" % (i % 20))
        os.makedirs(sub, exist_ok=True)
        with open(os.path.join(sub, "f%d" % i), "wb") as out:
            out.write(b"x" * 100)


def count_files(folder):
    return sum(len(files) for _, _, files in os.walk(folder))


def one_round(kelvo, level):
    root = tempfile.mkdtemp(prefix="kelvo-race-")
    try:
        home = os.path.join(root, "home")
        outside = os.path.join(root, "outside")
        cache = os.path.join(home, ".cache", "thumbnails")
        fill(os.path.join(cache, "victim"), FILES_PER_TREE)
        fill(os.path.join(outside, "twin"), FILES_PER_TREE)
        fill(os.path.join(outside, "cache-twin", "victim"), FILES_PER_TREE)
        if level == "inside":
            first, second = os.path.join(cache, "victim"), os.path.join(cache, "victim-link")
            os.symlink(os.path.join(outside, "twin"), second)
        else:
            first, second = cache, os.path.join(home, ".cache", "thumbnails-link")
            os.symlink(os.path.join(outside, "cache-twin"), second)
        stop = multiprocessing.Event()
        swapper = multiprocessing.Process(target=exchange_forever, args=(first, second, stop))
        swapper.start()
        env = dict(os.environ, HOME=home, XDG_DATA_HOME=os.path.join(home, ".local/share"),
                   XDG_CONFIG_HOME=os.path.join(home, ".config"), LANG="C.UTF-8")
        result = subprocess.run([kelvo, "clean", "--yes", "--lang", "en"], env=env,
                                capture_output=True, text=True, timeout=300)
        stop.set()
        swapper.join()
        lost = (2 * FILES_PER_TREE - count_files(outside))
        removed_in_home = FILES_PER_TREE - count_files(home)
        return lost, removed_in_home, result.returncode
    finally:
        shutil.rmtree(root, ignore_errors=True)


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    kelvo = os.path.abspath(sys.argv[1])
    rounds = int(sys.argv[2]) if len(sys.argv) > 2 else 25
    any_lost = False
    for level in ("place", "inside"):
        worst = 0
        removed = []
        statuses = {}
        for _ in range(rounds):
            lost, removed_in_home, status = one_round(kelvo, level)
            worst = max(worst, lost)
            removed.append(removed_in_home)
            statuses[status] = statuses.get(status, 0) + 1
        any_lost = any_lost or worst > 0
        print("%-6s %d rounds: most files lost outside the home in a round %d; files removed in the home "
              "per round min %d, max %d of %d; exit statuses %s"
              % (level, rounds, worst, min(removed), max(removed), FILES_PER_TREE, statuses))
    sys.exit(1 if any_lost else 0)


if __name__ == "__main__":
    main()
