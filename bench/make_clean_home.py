#!/usr/bin/env python3
"""Builds a deterministic synthetic home for the Smart Clean benchmark.

Files are spread evenly over the places Smart Clean measures on Linux, in nested folders with the
sizes of real caches: mostly small files, a few large ones. Every place stays below the scanner's
20,000-item cap, so Kelvo and du do the same work. The same seed always gives the same tree.

usage: make_clean_home.py HOME [--files N]
Writes HOME/measured-places.txt: the places, one per line, relative to HOME.
"""
import os
import random

from synthetic import TreeWriter, parser

# (place Smart Clean measures, folder inside it that receives the files)
PLACES = [
    (".cache/thumbnails", "normal"),
    (".cache/mozilla/firefox", "x.default/cache2"),
    (".cache/google-chrome", "Default/Cache"),
    (".config/google-chrome/Default/Code Cache", ""),
    (".config/Code/Cache", "Cache_Data"),
    (".cache/pip", "http"),
    (".cache/go-build", ""),
    (".npm/_cacache", "content-v2"),
    (".cargo/registry/cache", "index"),
    (".local/share/Trash", "files"),
]
CAP = 20000


def build(home, total, seed=20261205):
    rng = random.Random(seed)
    writer = TreeWriter()
    per_place = total // len(PLACES)
    for place, inner in PLACES:
        root = os.path.join(home, place, inner)
        folders = set()
        for i in range(per_place):
            parts = [f"d{rng.randint(0, 9)}" for _ in range(rng.randint(1, 3))]
            folder = os.path.join(root, *parts)
            folders.add(folder)
            size = rng.choice((0, 120, 900, 3000, 5000, 12000)) if rng.random() < 0.97 else rng.randint(50000, 400000)
            writer.write(os.path.join(folder, f"f{i}.bin"), size)
        items = per_place + len(folders) + (1 if inner else 0)
        if items >= CAP:
            raise SystemExit(f"{place} would hold {items} items, past the scanner's cap: use fewer files")
    with open(os.path.join(home, "measured-places.txt"), "w") as out:
        out.write("\n".join(place for place, _ in PLACES) + "\n")
    return writer.files


def main():
    args = parser("home", files=180000).parse_args()
    made = build(args.home, args.files)
    print(f"made {made} files under {args.home}")


if __name__ == "__main__":
    main()
