#!/usr/bin/env python3
"""Checks that Kelvo listed what the synthetic home holds, so a benchmark times real work.

Compares `kelvo installer --dry-run --json` and `kelvo uninstall --dry-run --json` with the manifest
make_downloads_and_apps.py wrote: every installer with its kind, every application with its
leftovers (the strong ones: those go with the app), nothing else inside HOME. Entries outside HOME
(the system's own applications and update folders on macOS) are not the tree's and are left out.
Prints the counts; exits 1 naming what differs.

usage: check_listing.py MANIFEST HOME INSTALLER_JSON UNINSTALL_JSON
"""
import json
import os
import sys


def load(path):
    with open(path, encoding="utf-8") as source:
        try:
            return json.load(source)
        except json.JSONDecodeError as error:
            sys.exit(f"{path} is not a JSON listing ({error})")


def differences(what, expected, listed):
    """Lines naming what is missing from listed and what it holds beyond expected."""
    lines = []
    for label, paths in (("not listed", expected.keys() - listed.keys()),
                         ("listed but not in the tree", listed.keys() - expected.keys())):
        if paths:
            lines.append(f"{len(paths)} {what} {label}, e.g. {sorted(paths)[:3]}")
    lines += [f"{path}: expected {expected[path]!r}, listed {listed[path]!r}"
              for path in sorted(expected.keys() & listed.keys()) if expected[path] != listed[path]][:5]
    return lines


def main():
    manifest_file, home, installer_file, uninstall_file = sys.argv[1:5]
    manifest = load(manifest_file)
    inside = os.path.join(home, "")
    installers = {entry["path"]: entry.get("kind", "")
                  for entry in load(installer_file)["entries"] if entry["path"].startswith(inside)}
    apps = {entry["path"]: sorted(leftover["path"] for leftover in entry["leftovers"] if leftover["match"] == "strong")
            for entry in load(uninstall_file)["entries"] if entry["path"].startswith(inside)}
    expected_apps = {path: sorted(leftovers) for path, leftovers in manifest["apps"].items()}
    problems = differences("installers", manifest["installers"], installers)
    problems += differences("applications", expected_apps, apps)
    print(f"installers listed            {len(installers)} of {len(manifest['installers'])}")
    print(f"applications listed          {len(apps)} of {len(expected_apps)}, with "
          f"{sum(map(len, apps.values()))} of {sum(map(len, expected_apps.values()))} leftovers")
    if problems:
        print("Kelvo did not list what the tree holds:\n  " + "\n  ".join(problems), file=sys.stderr)
        sys.exit(1)


if __name__ == "__main__":
    main()
