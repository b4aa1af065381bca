#!/usr/bin/env python3
"""Builds a deterministic synthetic home for the installer and uninstall benchmarks, as the system
it is for keeps one (default: the system it runs on).

Linux: a user-dirs file naming 下载, 桌面 and 文档 as the download, desktop and documents folders.
下载 holds FILES files (default 50,000) in nested folders, some in "Telegram Desktop"; about 1% are
packages (.deb, .rpm, .AppImage, .flatpakref, .flatpak, .snap, .run, in any letter case) and 0.3%
real archives (zip and tarballs, some carrying a package). 桌面, 文档 and ~/Public hold fewer files of
the same mix, an English ~/Downloads that the user-dirs file does not name holds a few more, and
hidden folders, hidden files, links and folders three levels down hide some. APPS applications
(default 200) alternate between AppImages (in ~/Applications, every tenth in ~/.local/bin) and
programs in ~/opt/NAME, each with a desktop entry, an icon and leftovers in ~/.config,
~/.local/share, ~/.local/state and ~/.cache, among unrelated items, longer names that only contain an
app's name and desktop entries of system programs. No Flatpak apps: Kelvo asks /usr/bin/flatpak
itself, which no stand-in may replace, and a real installation is not a benchmark's to make.

macOS: HOME/Downloads holds FILES files, about 1% of them installers (.dmg, .pkg, .iso, .xip);
HOME/Applications holds APPS bundles, each with an XML Info.plist, a binary and leftovers in the
user's Library.

--manifest FILE writes what Kelvo must list, as JSON: "installers" (path: kind, "" for the macOS
types) and "apps" (path: its strong leftovers, those named after its identifier; a folder named
after the display name alone is only a possible one), every path inside HOME. Same seed, same tree.

usage: make_downloads_and_apps.py HOME [--files N] [--apps N] [--system linux|macos] [--manifest FILE]
"""
import bz2
import gzip
import io
import json
import lzma
import os
import platform
import random
import tarfile
import zipfile

from synthetic import TreeWriter, parser

SEED = 20261206

# ---- Linux ---------------------------------------------------------------------------------------

USER_DIRS = """# This file is written by xdg-user-dirs-update
# If you want to change or add directories, just edit the line you're
# interested in. All local changes will be retained on the next run.
XDG_DESKTOP_DIR="$HOME/桌面"
XDG_DOWNLOAD_DIR="$HOME/下载"
XDG_TEMPLATES_DIR="$HOME/模板"
XDG_PUBLICSHARE_DIR="$HOME/公共"
XDG_DOCUMENTS_DIR="$HOME/文档"
XDG_MUSIC_DIR="$HOME/音乐"
XDG_PICTURES_DIR="$HOME/图片"
XDG_VIDEOS_DIR="$HOME/视频"
"""
# (suffix, kind), each also written in other letter cases now and then
PACKAGES = [(".deb", "deb"), (".rpm", "rpm"), (".AppImage", "appimage"), (".flatpakref", "flatpakref"),
            (".flatpak", "flatpak"), (".snap", "snap"), (".run", "run")]
ARCHIVES = [".zip", ".tar.gz", ".tgz", ".tar.xz", ".tar.bz2"]  # Python writes no zstd
PLAIN = ["txt", "jpg", "pdf", "json", "csv", "png", "docx", "mp3"]
SCANNED_DEPTH = 2  # a place's files and one folder level below, hidden items left out
FIXED_TIME = (2026, 11, 20, 12, 0, 0)

# Items every home keeps in the leftover folders; none carries an application's name.
NOISE = {
    ".config": ["dconf", "pulse", "gtk-3.0", "gtk-4.0", "ibus", "evolution", "nautilus", "htop", "git",
                "fontconfig", "systemd", "enchant", "procps"],
    ".local/share": ["keyrings", "gvfs-metadata", "nautilus", "tracker3", "sounds",
                     "fonts", "gnome-shell", "evolution"],
    ".local/state": ["wireplumber", "nvim"],
    ".cache": ["fontconfig", "mesa_shader_cache", "thumbnails", "pip", "mozilla", "gstreamer-1.0",
               "tracker3", "babl", "ibus", "evolution", "yelp"],
    ".var/app": ["org.gnome.Weather", "org.videolan.VLC"],  # left by Flatpak apps removed long ago
}
SYSTEM_PROGRAMS = ["firefox %u", "/usr/bin/gimp-2.10 %U", "code --new-window %F", "/opt/zoom/ZoomLauncher",
                   "env BAMF_DESKTOP_FILE_HINT=x /usr/bin/steam %U", "/snap/bin/spotify %U"]
PNG = b"\x89PNG\r\n\x1a\n" + bytes(56)


def carried_package(rng):
    suffix, _ = rng.choice(PACKAGES)
    return f"tool-{rng.randint(1, 99)}{suffix}"


def archive_bytes(rng, suffix, carries):
    """A small real archive; when it carries, a package is among its first names."""
    names = [f"docs/page{n}.html" for n in range(rng.randint(1, 6))]
    if carries:
        names.insert(rng.randint(0, len(names)), f"dist/{carried_package(rng)}")
    if suffix == ".zip":
        out = io.BytesIO()
        with zipfile.ZipFile(out, "w", zipfile.ZIP_DEFLATED) as archive:
            for name in names:
                archive.writestr(zipfile.ZipInfo(name, FIXED_TIME), b"x" * rng.randint(10, 4000))
        return out.getvalue()
    tar = io.BytesIO()
    with tarfile.open(fileobj=tar, mode="w", format=tarfile.GNU_FORMAT) as archive:
        for name in names:
            data = b"x" * rng.randint(10, 4000)
            info = tarfile.TarInfo(name)
            info.size, info.mtime = len(data), 1795000000
            archive.addfile(info, io.BytesIO(data))
    raw = tar.getvalue()
    if suffix in (".tar.gz", ".tgz"):
        return gzip.compress(raw, mtime=0)
    return lzma.compress(raw) if suffix == ".tar.xz" else bz2.compress(raw)


def with_case(rng, suffix):
    roll = rng.random()
    return suffix.upper() if roll < 0.03 else suffix.lower() if roll < 0.08 else suffix


class LinuxHome:
    def __init__(self, home, rng, writer):
        self.home, self.rng, self.writer = home, rng, writer
        self.download = os.path.join(home, "下载")
        self.installers = {}  # path: kind
        self.apps = {}  # path: leftovers
        self.serial = 0

    def path(self, *parts):
        return os.path.join(self.home, *parts)

    def fill_place(self, root, files, nesting=2, listed=True):
        """Files spread over folders up to `nesting` levels below root, with installers among them;
        those a scan of root would list (listed) are expected."""
        rng = self.rng
        for _ in range(files):
            self.serial += 1
            parts = [f"d{rng.randint(0, 30)}" for _ in range(rng.randint(0, nesting))]
            if parts and rng.random() < 0.02:
                parts[0] = ".partial"  # hidden: never looked into
            hidden = "." if rng.random() < 0.003 else ""  # a hidden file
            name, kind = self.installer_or_plain(os.path.join(root, *parts), hidden)
            path = os.path.join(root, *parts, name)
            seen = listed and len(parts) + 1 <= SCANNED_DEPTH and not any(p.startswith(".") for p in parts + [name])
            if kind and seen:
                self.installers[path] = kind
            if kind == "appimage" and seen and os.path.dirname(path) == self.download:
                self.apps[path] = []  # an AppImage in the download folder is an application too

    def installer_or_plain(self, folder, prefix):
        """Writes one file in folder, its name starting with prefix, and returns the name and the
        kind a scan would give it."""
        rng, n = self.rng, self.serial
        roll = rng.random()
        if roll < 0.01:
            suffix, kind = rng.choice(PACKAGES)
            name = f"{prefix}setup{n}-1.{n % 7}-x86_64{with_case(rng, suffix)}"
            self.writer.write(os.path.join(folder, name), rng.randint(50000, 800000))
            return name, kind
        if roll < 0.013:
            suffix = rng.choice(ARCHIVES)
            carries = rng.random() < 0.4
            name = f"{prefix}bundle{n}{with_case(rng, suffix)}"
            self.writer.write_data(os.path.join(folder, name), archive_bytes(rng, suffix, carries))
            return name, "archive" if carries else None
        name = f"{prefix}file{n}.{rng.choice(PLAIN)}"
        self.writer.write(os.path.join(folder, name), rng.choice((0, 200, 3000, 9000)))
        return name, None

    def build_downloads(self, files):
        self.writer.write_data(self.path(".config", "user-dirs.dirs"), USER_DIRS.encode())
        telegram = max(files // 100, 1)
        self.fill_place(self.download, files - telegram)
        self.fill_place(os.path.join(self.download, "Telegram Desktop"), telegram, nesting=1)
        self.fill_place(self.path("桌面"), max(files // 100, 1))
        self.fill_place(self.path("文档"), max(files // 25, 1))
        self.fill_place(self.path("Public"), 50, nesting=1)
        # The English folder the user-dirs file no longer names is not searched.
        self.fill_place(self.path("Downloads"), max(files // 500, 1), listed=False)
        # A link to an installer is never listed: trashing it would leave the installer.
        target = next(p for p in self.installers if os.path.dirname(p) == self.download)
        os.symlink(target, os.path.join(self.download, "latest" + os.path.splitext(target)[1]))

    def contents(self, folder, count, low, high):
        for part in range(count):
            self.writer.write(os.path.join(folder, f"part{part}.bin"), self.rng.randint(low, high))

    def leftover(self, relative, files):
        path = self.path(relative)
        if files:
            self.contents(path, files, 100, 20000)
        else:
            self.writer.write_data(path, b"[main]\nx=1\n")
        return path

    def build_apps(self, apps):
        rng = self.rng
        for a in range(apps):
            name = f"App{a:03d}"
            if a % 2 == 0:
                folder = ".local/bin" if a % 10 == 0 else "Applications"
                program = self.path(folder, f"{name}-{1 + a % 4}.{a % 10}.0-x86_64.AppImage")
                self.writer.write(program, rng.randint(200000, 3000000))
                os.chmod(program, 0o755)
                location, identifier = program, f"io.example.{name}"
                exec_line = f'"{program}" --no-sandbox %U' if a % 4 == 0 else f"{program} %U"
            else:
                location, identifier = self.path("opt", name), name.lower()
                program = os.path.join(location, "bin", name.lower())
                self.writer.write(program, rng.randint(50000, 500000))
                os.chmod(program, 0o755)
                self.contents(os.path.join(location, "lib"), rng.randint(3, 12), 1000, 60000)
                relative = f"opt/{name}/bin/{name.lower()}"
                exec_line = (f"env GDK_BACKEND=x11 {program} %F" if a % 3 == 0
                             else f"~/{relative}" if a % 5 == 0 else program)
            entry = self.path(".local/share/applications", f"{identifier}.desktop")
            chinese = f"Name[zh_CN]=应用{a:03d}\n" if a % 4 == 1 else ""
            text = (f"[Desktop Entry]\nType=Application\nName={name}\n{chinese}Exec={exec_line}\n"
                    f"Icon={identifier}\nTerminal=false\nCategories=Utility;\n")
            self.writer.write_data(entry, text.encode())
            self.writer.write_data(self.path(".local/share/icons/hicolor/256x256/apps", f"{identifier}.png"), PNG)
            leftovers = [entry]
            if a % 7 == 0:
                leftovers.append(self.path(".config/autostart", f"{identifier}.desktop"))
                self.writer.write_data(leftovers[-1], text.encode())
            places = [(f".config/{name}", 2), (f".config/{identifier}.conf", 0), (f".local/share/{name}", 6),
                      (f".local/state/{name.lower()}", 1), (f".cache/{identifier}", rng.randint(5, 40))]
            for relative, files in rng.sample(places, 3):
                path = self.leftover(relative, files)
                # Named by the display name alone, a folder is only a possible leftover: not chosen.
                if os.path.basename(relative).lower().startswith(identifier.lower()):
                    leftovers.append(path)
            if a % 10 == 3:
                self.leftover(f".config/{name}-backup", 1)  # only contains the name: not the app's
            self.apps[location] = leftovers

    def build_noise(self):
        for root, names in NOISE.items():
            for name in names + [f"misc-data-{n}" for n in range(40)]:
                self.contents(self.path(root, name), self.rng.randint(1, 20), 100, 20000)
        for n, command in enumerate(SYSTEM_PROGRAMS * 5):
            text = f"[Desktop Entry]\nType=Application\nName=System {n}\nExec={command}\n"
            self.writer.write_data(self.path(".local/share/applications", f"system-{n}.desktop"), text.encode())
        self.writer.write_data(self.path(".local/share/applications/mimeapps.list"), b"[Default Applications]\n")


def build_linux(home, files, apps):
    linux = LinuxHome(home, random.Random(SEED), TreeWriter())
    linux.build_downloads(files)
    linux.build_noise()
    linux.build_apps(apps)
    return linux.installers, linux.apps


# ---- macOS ---------------------------------------------------------------------------------------

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


def build_macos(home, files, apps):
    rng = random.Random(SEED)
    writer = TreeWriter()
    installers, found_apps = {}, {}
    downloads = os.path.join(home, "Downloads")
    for i in range(files):
        parts = [f"d{rng.randint(0, 30)}" for _ in range(rng.randint(0, 2))]
        if rng.random() < 0.01:
            name = f"setup-{i}." + rng.choice(["dmg", "pkg", "iso", "xip"])
            writer.write(os.path.join(downloads, *parts, name), rng.randint(100000, 2000000))
            if len(parts) + 1 <= SCANNED_DEPTH:
                installers[os.path.join(downloads, *parts, name)] = ""
        else:
            name = f"file-{i}." + rng.choice(["txt", "jpg", "pdf", "json", "csv"])
            writer.write(os.path.join(downloads, *parts, name), rng.choice((0, 200, 3000, 9000)))
    library = os.path.join(home, "Library")
    for a in range(apps):
        name = f"App{a:03d}"
        bundle = os.path.join(home, "Applications", f"{name}.app")
        writer.write_data(os.path.join(bundle, "Contents", "Info.plist"),
                          PLIST.format(name=name, ident=name.lower(), minor=a % 10).encode())
        for part in range(rng.randint(3, 12)):
            writer.write(os.path.join(bundle, "Contents", "Resources", f"r{part}.bin"), rng.randint(1000, 60000))
        found_apps[bundle] = []
        for folder in rng.sample(LEFTOVER_FOLDERS, 3):
            leftover = os.path.join(library, folder, f"com.example.{name.lower()}")
            writer.write(os.path.join(leftover, "data.bin"), rng.randint(100, 20000))
            found_apps[bundle].append(leftover)
    return installers, found_apps


def main():
    arguments = parser("home", files=50000, apps=200)
    arguments.add_argument("--system", choices=["linux", "macos"],
                           default="macos" if platform.system() == "Darwin" else "linux")
    arguments.add_argument("--manifest")
    args = arguments.parse_args()
    build = build_macos if args.system == "macos" else build_linux
    installers, apps = build(args.home, args.files, args.apps)
    if args.manifest:
        with open(args.manifest, "w", encoding="utf-8") as out:
            json.dump({"installers": installers, "apps": apps}, out, ensure_ascii=False, indent=1)
    print(f"made a {args.system} home under {args.home}: {args.files} files in the download folder "
          f"({len(installers)} installers to list), {len(apps)} applications to list")


if __name__ == "__main__":
    main()
