#!/usr/bin/env python3
"""Builds a deterministic synthetic tree for the disk analysis benchmark.

Folders nest up to eight levels below the root; files are spread over them with the sizes of a
real disk: most are empty or a few kilobytes (up to 16 KB), a handful are large (up to 4 MB).
Some folders are packages (Name.app, Name.framework) with the usual folders and files inside.
With the default million files the tree takes about 3 GB. The same seed always gives the same tree.

usage: make_analysis_tree.py ROOT [--files N] [--per_folder N]

--per_folder sets how many files a folder holds on average (24: many small folders; 5000: a few
big ones).
"""
import os
import random

from synthetic import TreeWriter, parser, skewed_size

MAX_DEPTH = 8
FILES_PER_FOLDER = 24
PACKAGE_SHARE = 0.01
PACKAGE_INNER_DEPTH = 3  # Versions/A/Resources
LARGE_SHARE = 0.0002
NAMES = ["src", "lib", "docs", "assets", "cache", "data", "img", "logs", "notes", "tmp",
         "music", "photos", "video", "mail", "backup", "work", "old", "shared", "misc", "res"]
SUFFIXES = [".txt", ".json", ".log", ".png", ".jpg", ".dat", ".o", ".html", ".md", ".bin"]


def file_size(rng):
    return skewed_size(rng, LARGE_SHARE, 256 * 1024, empty_below=0.45, small_below=0.75, small_max=1024)


def make_folders(root, count, rng):
    """Returns (path, depth) for `count` folders, each under a random earlier folder."""
    folders = [(root, 0)]
    open_parents = [0]  # indexes of folders that may still receive children
    for i in range(count):
        parent_path, parent_depth = folders[rng.choice(open_parents)]
        package = parent_depth + 1 + PACKAGE_INNER_DEPTH <= MAX_DEPTH and rng.random() < PACKAGE_SHARE
        if package:
            name = f"{rng.choice(NAMES).title()}{i}{rng.choice(('.app', '.framework'))}"
        else:
            name = f"{rng.choice(NAMES)}{i}"
        path = os.path.join(parent_path, name)
        os.mkdir(path)
        folders.append((path, parent_depth + 1))
        if parent_depth + 1 < MAX_DEPTH and not package:
            open_parents.append(len(folders) - 1)
    return folders


def fill_package(path, rng, writer):
    """Gives a package the inner layout of a real one."""
    if path.endswith(".app"):
        inner = [("Contents", ["Info.plist", "PkgInfo"]),
                 ("Contents/MacOS", [os.path.basename(path)[:-4]]),
                 ("Contents/Resources", [f"r{i}.png" for i in range(6)]),
                 ("Contents/Frameworks", [])]
    else:
        inner = [("Versions/A", [os.path.basename(path)[:-10]]),
                 ("Versions/A/Resources", ["Info.plist"] + [f"r{i}.strings" for i in range(4)]),
                 ("Versions/A/Headers", [f"h{i}.h" for i in range(4)])]
    for folder, files in inner:
        os.makedirs(os.path.join(path, folder), exist_ok=True)
        for name in files:
            writer.write(os.path.join(path, folder, name), file_size(rng))


def build(root, total, per_folder=FILES_PER_FOLDER, seed=20261207):
    rng = random.Random(seed)
    writer = TreeWriter()
    os.makedirs(root, exist_ok=True)
    folders = make_folders(root, max(1, total // per_folder), rng)
    for path, _ in folders:
        if path.endswith((".app", ".framework")) and writer.files < total:
            fill_package(path, rng, writer)
    for i in range(total - writer.files):
        path, _ = folders[rng.randrange(len(folders))]
        writer.write(os.path.join(path, f"f{i}{rng.choice(SUFFIXES)}"), file_size(rng))
    depth = max(d + (PACKAGE_INNER_DEPTH if p.endswith((".app", ".framework")) else 0) for p, d in folders)
    return writer.files, len(folders), writer.bytes, depth


def main():
    args = parser("root", files=1000000, per_folder=FILES_PER_FOLDER).parse_args()
    files, folders, size, depth = build(args.root, args.files, args.per_folder)
    print(f"made {files} files in {folders} folders (depth {depth}), {size / 2**30:.2f} GiB, "
          f"under {args.root}")


if __name__ == "__main__":
    main()
