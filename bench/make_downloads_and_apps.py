#!/usr/bin/env python3
"""Builds a deterministic synthetic home for the installer and uninstall benchmarks.

HOME/Downloads holds FILES files (default 50,000) in nested folders, about 1% of them installers
(.dmg, .pkg, .iso, .xip); HOME/Applications holds APPS application bundles (default 200), each
with an XML Info.plist, a binary and leftovers in the user's Library. Same seed, same tree.

usage: make_downloads_and_apps.py HOME [--files N] [--apps N]
"""
import os
import random

from synthetic import TreeWriter, parser

PLIST = """<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE plist PUBLIC "-//Apple//DTD PLIST 1.0//EN" "http://www.apple.com/DTDs/PropertyList-1.0.dtd">
<plist version="1.0"><dict>
<key>CFBundleName</key><string>{name}</string>
<key>CFBundleIdentifier</key><string>com.example.{ident}</string>
<key>CFBundleShortVersionString</key><string>1.{minor}</string>
</dict></plist>
"""
LEFTOVER_FOLDERS = ["Application Support", "Caches", "Preferences", "Logs", "Saved Application State",
                    "Containers", "HTTPStorages", "WebKit", "LaunchAgents"]


def build(home, files, apps, seed=20261206):
    rng = random.Random(seed)
    writer = TreeWriter()
    downloads = os.path.join(home, "Downloads")
    for i in range(files):
        folder = os.path.join(downloads, *[f"d{rng.randint(0, 30)}" for _ in range(rng.randint(0, 2))])
        if rng.random() < 0.01:
            name = f"setup-{i}." + rng.choice(["dmg", "pkg", "iso", "xip"])
            size = rng.randint(100000, 2000000)
        else:
            name = f"file-{i}." + rng.choice(["txt", "jpg", "pdf", "json", "csv"])
            size = rng.choice((0, 200, 3000, 9000))
        writer.write(os.path.join(folder, name), size)
    library = os.path.join(home, "Library")
    for a in range(apps):
        name = f"App{a:03d}"
        bundle = os.path.join(home, "Applications", f"{name}.app", "Contents")
        writer.write_data(os.path.join(bundle, "Info.plist"),
                          PLIST.format(name=name, ident=name.lower(), minor=a % 10).encode())
        for part in range(rng.randint(3, 12)):
            writer.write(os.path.join(bundle, "Resources", f"r{part}.bin"), rng.randint(1000, 60000))
        for folder in rng.sample(LEFTOVER_FOLDERS, 3):
            writer.write(os.path.join(library, folder, f"com.example.{name.lower()}", "data.bin"),
                         rng.randint(100, 20000))
    return files, apps


def main():
    args = parser("home", files=50000, apps=200).parse_args()
    files, apps = build(args.home, args.files, args.apps)
    print(f"made {files} files in Downloads and {apps} applications under {args.home}")


if __name__ == "__main__":
    main()
