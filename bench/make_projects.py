#!/usr/bin/env python3
"""Builds a deterministic set of synthetic development projects for the purge benchmark.

Two hundred projects sit one to three levels below the root (ROOT/p, ROOT/group/p,
ROOT/group/sub/p): JavaScript with nested node_modules, Rust with target/, Python with .venv and
__pycache__, Gradle/Android with build/ and .gradle, Swift with .build and DerivedData, and a few
Go, .NET, Dart, Zig and Terraform ones; some carry .idea/system. Each project has its marker file
(package.json, Cargo.toml, ...) and a little source next to its build folders. Every build folder
sits at most six levels below the root. The same seed always gives the same projects.

usage: make_projects.py ROOT [--projects N] [--list FILE]
--list writes the build folders that a search stopping at each match finds, relative to ROOT.
"""
import os
import random

from synthetic import TreeWriter, parser, skewed_size

KINDS = [("js", 34), ("rust", 14), ("python", 20), ("gradle", 14), ("swift", 10), ("other", 8)]
PACKAGES = ["react", "lodash", "chalk", "debug", "ms", "semver", "glob", "minimatch", "yargs",
            "commander", "express", "axios", "uuid", "rxjs", "tslib", "zod", "vite", "esbuild",
            "postcss", "jest", "eslint", "typescript", "webpack", "babel-core", "acorn", "ws",
            "prettier", "rollup", "next", "vue", "redux", "moment", "dayjs", "qs", "mime", "cookie",
            "body-parser", "source-map", "picomatch", "fast-glob", "ajv", "js-yaml"]
CRATES = ["serde", "tokio", "rand", "regex", "syn", "quote", "proc-macro2", "libc", "log", "anyhow",
          "clap", "itertools", "bytes", "mio", "hashbrown"]
WHEELS = ["numpy", "requests", "urllib3", "idna", "certifi", "pip", "setuptools", "attrs",
          "click", "jinja2", "markupsafe", "pytest", "pluggy", "six", "yaml"]


class Maker(TreeWriter):
    def __init__(self, root, rng):
        super().__init__(fill=b"p")
        self.root = root
        self.rng = rng
        self.found = []  # build folders a pruning search lists, relative to the root

    def write(self, path, size=None):
        if size is None:
            size = skewed_size(self.rng, 0.001, 512 * 1024, empty_below=0.3, small_below=0.7, small_max=2048)
        super().write(path, size)

    def files_in(self, folder, count, names=None, suffix=".bin"):
        for i in range(count):
            name = names[i % len(names)] if names else f"f{i}{suffix}"
            self.write(os.path.join(folder, name))

    def artefact(self, project, rel):
        """Creates an empty build folder and records it; the caller fills it."""
        path = os.path.join(project, rel)
        os.makedirs(path, exist_ok=True)
        self.found.append(os.path.relpath(path, self.root))
        return path

    def source(self, project, marker, folders, suffix):
        self.write(os.path.join(project, marker), self.rng.randint(100, 2000))
        self.write(os.path.join(project, "README.md"), self.rng.randint(100, 4000))
        for folder in folders:
            self.files_in(os.path.join(project, folder), self.rng.randint(3, 12), suffix=suffix)

    # --- kinds of project -------------------------------------------------------------------
    def js(self, project):
        rng = self.rng
        self.source(project, "package.json", ["src", "src/components", "public"], ".js")
        self.write(os.path.join(project, "package-lock.json"), rng.randint(20000, 200000))
        modules = self.artefact(project, "node_modules")
        for name in rng.sample(PACKAGES, rng.randint(15, 35)):
            package = os.path.join(modules, name)
            self.write(os.path.join(package, "package.json"), rng.randint(300, 3000))
            self.files_in(os.path.join(package, "lib"), rng.randint(5, 40), suffix=".js")
            self.files_in(os.path.join(package, "dist"), rng.randint(1, 6), suffix=".min.js")
            if rng.random() < 0.5:  # a dependency with its own node_modules
                for inner in rng.sample(PACKAGES, rng.randint(1, 4)):
                    nested = os.path.join(package, "node_modules", inner)
                    self.write(os.path.join(nested, "package.json"), rng.randint(300, 3000))
                    self.files_in(os.path.join(nested, "lib"), rng.randint(2, 10), suffix=".js")
                    if rng.random() < 0.3:
                        self.files_in(os.path.join(nested, "node_modules", "ms"), 3, suffix=".js")
        self.files_in(os.path.join(modules, ".bin"), rng.randint(2, 8), suffix="")
        self.files_in(os.path.join(modules, ".cache", "babel-loader"), rng.randint(5, 30), suffix=".json")
        extras = [".next", "dist", "coverage", ".turbo", ".parcel-cache", ".vite", ".cache", "out",
                  "bower_components", ".svelte-kit", ".angular", ".nuxt", ".astro", ".output",
                  ".expo", ".expo-shared", ".serverless", ".webpack", ".rollup.cache", ".vscode-test"]
        for extra in rng.sample(extras, rng.randint(1, 3)):
            folder = self.artefact(project, extra)
            self.files_in(os.path.join(folder, "static", "chunks"), rng.randint(5, 40), suffix=".js")
            self.files_in(folder, rng.randint(1, 6), suffix=".json")

    def rust(self, project):
        rng = self.rng
        self.source(project, "Cargo.toml", ["src", "src/cli", "tests"], ".rs")
        self.write(os.path.join(project, "Cargo.lock"), rng.randint(2000, 60000))
        target = self.artefact(project, "target")
        self.write(os.path.join(target, "CACHEDIR.TAG"), 177)
        for profile in ["debug"] + (["release"] if rng.random() < 0.5 else []):
            base = os.path.join(target, profile)
            for crate in rng.sample(CRATES, rng.randint(6, 14)):
                h = f"{rng.getrandbits(64):016x}"
                self.write(os.path.join(base, "deps", f"lib{crate}-{h}.rlib"), rng.randint(20000, 900000))
                self.write(os.path.join(base, "deps", f"lib{crate}-{h}.rmeta"), rng.randint(2000, 90000))
                self.write(os.path.join(base, "deps", f"{crate}-{h}.d"), rng.randint(200, 4000))
                self.files_in(os.path.join(base, ".fingerprint", f"{crate}-{h}"), 4, suffix=".json")
                if rng.random() < 0.3:
                    self.files_in(os.path.join(base, "build", f"{crate}-{h}", "out"), rng.randint(1, 5))
            self.files_in(os.path.join(base, "incremental", f"app-{rng.getrandbits(32):08x}"),
                          rng.randint(20, 80), suffix=".o")

    def python(self, project):
        rng = self.rng
        package = f"pkg{rng.randint(0, 999)}"
        self.source(project, "pyproject.toml", [f"src/{package}", "tests"], ".py")
        venv_name = rng.choice([".venv", ".venv", "venv", "env", ".env"])
        venv = self.artefact(project, venv_name)
        self.write(os.path.join(venv, "pyvenv.cfg"), 120)
        self.files_in(os.path.join(venv, "bin"), 6, names=["python", "python3", "pip", "pip3",
                                                             "activate", "activate.fish"])
        site = os.path.join(venv, "lib", "python3.11", "site-packages")
        for wheel in rng.sample(WHEELS, rng.randint(4, 12)):
            self.files_in(os.path.join(site, wheel), rng.randint(5, 25), suffix=".py")
            self.files_in(os.path.join(site, wheel, "__pycache__"), rng.randint(5, 25), suffix=".pyc")
            self.files_in(os.path.join(site, f"{wheel}-1.0.dist-info"), 4, suffix="")
        for folder in (f"src/{package}", "tests"):
            cache = self.artefact(project, os.path.join(folder, "__pycache__"))
            self.files_in(cache, rng.randint(3, 12), suffix=".cpython-311.pyc")
        for extra in rng.sample([".pytest_cache", ".mypy_cache", ".tox", ".nox", ".ruff_cache",
                                 ".pytype", "build", "dist"], rng.randint(1, 3)):
            folder = self.artefact(project, extra)
            self.files_in(os.path.join(folder, "v", "cache"), rng.randint(2, 20), suffix=".json")

    def gradle(self, project):
        rng = self.rng
        self.source(project, "build.gradle.kts", ["app/src/main/java/com/example"], ".kt")
        self.write(os.path.join(project, "settings.gradle.kts"), 300)
        self.write(os.path.join(project, "app", "build.gradle.kts"), 1500)
        gradle = self.artefact(project, ".gradle")
        self.files_in(os.path.join(gradle, "8.5", "fileHashes"), rng.randint(3, 8), suffix=".lock")
        self.files_in(os.path.join(gradle, "buildOutputCleanup"), 2, suffix=".lock")
        for rel in ("build", "app/build"):
            build = self.artefact(project, rel)
            self.files_in(os.path.join(build, "intermediates", "javac", "classes"), rng.randint(20, 80),
                          suffix=".class")
            self.files_in(os.path.join(build, "intermediates", "dex"), rng.randint(2, 10), suffix=".dex")
            self.files_in(os.path.join(build, "tmp", "kotlin-classes"), rng.randint(10, 40), suffix=".class")
            if rng.random() < 0.3:
                self.files_in(os.path.join(build, "outputs", "apk"), 1, suffix=".apk")
        if rng.random() < 0.4:
            self.files_in(os.path.join(self.artefact(project, ".kotlin"), "sessions"), 3, suffix=".salive")
        if rng.random() < 0.3:
            self.files_in(os.path.join(self.artefact(project, "app/.cxx"), "Debug", "arm64-v8a"),
                          rng.randint(10, 30), suffix=".o")

    def swift(self, project):
        rng = self.rng
        self.source(project, "Package.swift", ["Sources/App", "Tests/AppTests"], ".swift")
        build = self.artefact(project, ".build")
        self.files_in(os.path.join(build, "debug", "App.build"), rng.randint(20, 60), suffix=".o")
        self.files_in(os.path.join(build, "checkouts", "swift-argument-parser", "Sources"),
                      rng.randint(10, 40), suffix=".swift")
        derived = self.artefact(project, "DerivedData")
        self.files_in(os.path.join(derived, "App-abc", "Build", "Intermediates.noindex"),
                      rng.randint(20, 60), suffix=".o")
        self.files_in(os.path.join(derived, "App-abc", "Index.noindex", "DataStore"),
                      rng.randint(10, 40), suffix=".idx")
        for extra in rng.sample([".swiftpm", "Pods", "Carthage"], rng.randint(0, 2)):
            self.files_in(os.path.join(self.artefact(project, extra), "Build"), rng.randint(5, 20))

    def other(self, project):
        rng = self.rng
        kind = rng.choice(["go", "dotnet", "dart", "zig", "terraform"])
        if kind == "go":
            self.source(project, "go.mod", ["cmd/app", "internal/store"], ".go")
            vendor = self.artefact(project, "vendor")
            for module in ("github.com/pkg/errors", "golang.org/x/sys/unix", "github.com/spf13/cobra"):
                self.files_in(os.path.join(vendor, module), rng.randint(5, 30), suffix=".go")
        elif kind == "dotnet":
            self.source(project, "App.csproj", ["Controllers", "Models"], ".cs")
            for rel in ("bin", "obj"):
                self.files_in(os.path.join(self.artefact(project, rel), "Debug", "net8.0"),
                              rng.randint(10, 40), suffix=".dll")
        elif kind == "dart":
            self.source(project, "analysis_options.yaml", ["lib", "test"], ".dart")
            self.files_in(os.path.join(self.artefact(project, ".dart_tool"), "package_config"), 8, suffix=".json")
            self.files_in(os.path.join(self.artefact(project, "build"), "app", "outputs"), 12)
        elif kind == "zig":
            self.source(project, "build.zig", ["src"], ".zig")
            self.files_in(os.path.join(self.artefact(project, ".zig-cache"), "o"), rng.randint(10, 40), suffix=".o")
            self.files_in(os.path.join(self.artefact(project, "zig-out"), "bin"), 2, suffix="")
        else:
            self.source(project, "main.tf", ["modules/net"], ".tf")
            self.files_in(os.path.join(self.artefact(project, ".terraform"), "providers"), 4)
        if rng.random() < 0.3:
            self.files_in(os.path.join(self.artefact(project, "build-cache"), "v1"), rng.randint(5, 20))


def project_paths(count, rng):
    """Returns `count` distinct project folders one to three levels below the root."""
    paths = []
    for i in range(count):
        depth = rng.choice((1, 2, 2, 3, 3))
        parts = [f"group{rng.randint(0, 5)}", f"team{rng.randint(0, 3)}"][: depth - 1]
        paths.append(os.path.join(*parts, f"project{i:03d}"))
    return paths


def build(root, count, seed=20261208):
    rng = random.Random(seed)
    maker = Maker(root, rng)
    kinds = [kind for kind, weight in KINDS for _ in range(weight)]
    for rel in project_paths(count, rng):
        project = os.path.join(root, rel)
        getattr(maker, rng.choice(kinds))(project)
        if rng.random() < 0.2:
            maker.write(os.path.join(project, ".idea", "workspace.xml"), rng.randint(500, 5000))
            system = maker.artefact(project, os.path.join(".idea", "system"))
            maker.files_in(os.path.join(system, "caches"), rng.randint(5, 20), suffix=".dat")
            maker.files_in(os.path.join(system, "index"), rng.randint(5, 20), suffix=".idx")
    return maker


def main():
    cli = parser("root", projects=200)
    cli.add_argument("--list", help="write the build folders found, one a line, relative to ROOT")
    args = cli.parse_args()
    maker = build(args.root, args.projects)
    if args.list:
        with open(args.list, "w") as out:
            out.write("\n".join(sorted(maker.found)) + "\n")
    print(f"made {args.projects} projects: {maker.files} files, {len(maker.found)} build folders, "
          f"{maker.bytes / 2**20:.0f} MiB, under {args.root}")


if __name__ == "__main__":
    main()
