"""What the benchmark tree generators share: writing files with counters, a file-size mix like a
real disk's and the command line. Every choice comes from the caller's seeded random.Random, so
the same seed and arguments always give the same tree."""
import argparse
import os


class TreeWriter:
    """Writes files of a given size, filled with one repeated byte, and counts files and bytes."""

    def __init__(self, fill=b"k"):
        self.files = 0
        self.bytes = 0
        self._fill = fill
        self._blob = memoryview(fill * (4 * 1024 * 1024))
        self._folders = set()  # made already: spares a makedirs call per file

    def write(self, path, size):
        if size > len(self._blob):
            self._blob = memoryview(self._fill * size)
        self.write_data(path, self._blob[:size])

    def write_data(self, path, data):
        folder = os.path.dirname(path)
        if folder not in self._folders:
            os.makedirs(folder, exist_ok=True)
            self._folders.add(folder)
        fd = os.open(path, os.O_WRONLY | os.O_CREAT | os.O_TRUNC, 0o644)
        if data:
            os.write(fd, data)
        os.close(fd)
        self.files += 1
        self.bytes += len(data)


def skewed_size(rng, large_share, large_min, empty_below, small_below, small_max,
                medium_max=16 * 1024, large_max=4 * 1024 * 1024):
    """A size from a real disk's mix: rarely large; else, by one roll against the cumulative
    shares, empty (roll < empty_below), small (< small_below, up to small_max) or medium."""
    if rng.random() < large_share:
        return rng.randint(large_min, large_max)
    roll = rng.random()
    if roll < empty_below:
        return 0
    if roll < small_below:
        return rng.randint(1, small_max)
    return rng.randint(small_max + 1, medium_max)


def parser(root, **counts):
    """A command line of one folder argument and --NAME N options with their defaults."""
    result = argparse.ArgumentParser()
    result.add_argument(root)
    for name, default in counts.items():
        result.add_argument(f"--{name}", type=int, default=default)
    return result
