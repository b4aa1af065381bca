#!/usr/bin/env python3
"""A home folder whose optimisation-measured folders hold about ENTRIES files, for
bench/optimize.sh: on Linux (--system linux) the thumbnail cache (most of them), user fonts, desktop
entries, file-type definitions and autostart entries; on macOS the Library folders its steps
measure. Writes measured-folders.txt (one path below the home per line) for the yardstick."""
import os
import random

from synthetic import TreeWriter, parser

FOLDERS = {  # (folder, share of the entries, file name pattern)
    "linux": [
        (".cache/thumbnails/normal", 0.45, "{:032x}.png"),
        (".cache/thumbnails/large", 0.25, "{:032x}.png"),
        (".local/share/fonts/family{:03d}", 0.20, "face{}.ttf"),
        (".local/share/applications", 0.07, "app{}.desktop"),
        (".local/share/mime/packages", 0.03, "type{}.xml"),
    ],
    "macos": [
        ("Library/Saved Application State/app{:03d}.savedState", 0.30, "window{}.data"),
        ("Library/Preferences", 0.25, "com.example.app{}.plist"),
        ("Library/Fonts", 0.20, "font{}.otf"),
        ("Library/LaunchAgents", 0.05, "agent{}.plist"),
        ("Library/Mail/V10/mailbox{:03d}", 0.20, "message{}.sqlite"),
    ],
}


def write_autostart(home, writer):
    """Twenty autostart entries, every other one naming a program that is gone."""
    for index in range(20):
        program = "/bin/true" if index % 2 else f"/opt/gone/program{index}"
        text = f"[Desktop Entry]\nType=Application\nName=Entry {index}\nExec={program} --x\n"
        writer.write_data(os.path.join(home, ".config/autostart", f"entry{index}.desktop"), text.encode())


def main():
    command_line = parser("home", entries=100000, seed=1)
    command_line.add_argument("--system", choices=sorted(FOLDERS), default="linux")
    args = command_line.parse_args()
    rng = random.Random(args.seed)
    writer = TreeWriter(b"t")
    folders = set()
    for folder, share, pattern in FOLDERS[args.system]:
        count = int(args.entries * share)
        for index in range(count):
            # Patterns with a number in the folder spread their files over 100 subfolders.
            place = folder.format(index % 100) if "{" in folder else folder
            writer.write(os.path.join(args.home, place, pattern.format(index)), rng.randint(0, 40000))
        folders.add(folder.rsplit("/", 1)[0] if "{" in folder else folder)
    if args.system == "linux":
        write_autostart(args.home, writer)
        folders.add(".config/autostart")
    with open(os.path.join(args.home, "measured-folders.txt"), "w") as listing:
        listing.write("\n".join(sorted(folders)) + "\n")
    print(f"{writer.files} files, {writer.bytes} bytes")


if __name__ == "__main__":
    main()
