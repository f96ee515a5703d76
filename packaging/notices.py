"""Prints the notices that an artifact owes the libraries linked into its
programs. The linkers' maps name each library member and start file that a
program holds; dpkg's records name the Debian package that installed each
file, and its copyright file is that package's notice, given here whole,
with the texts of the licences in /usr/share/common-licenses that it names.
The libraries whose archive members a program holds are also offered as
source, and relinked from the release's own source archive, as section 6
of the LGPL asks of glibc in a static program.

    notices.py OUTPUT VERSION MAP..."""

import os
import re
import subprocess
import sys

# An archive's member, as in /usr/lib/x86_64-linux-gnu/libc.a(printf.o), or
# a start file, as in crt1.o, by its path: GNU ld's and lld's maps alike.
MEMBER = re.compile(r"(?<!\S)(/[^\s()]+\.a)\(")
START_FILE = re.compile(r"(?<!\S)(/[^\s()]+\.o)(?=[\s:(]|$)", re.M)
# A licence that a Debian copyright file names by its path, as in
# `/usr/share/common-licenses/LGPL-2.1'.
COMMON_LICENCE = re.compile(r"/usr/share/common-licenses/[\w+-]+(?:\.\d+)*")


def linked_files(maps):
    """{path: True for an archive, False for a start file} of every map."""
    files = {}
    for path in maps:
        text = open(path, encoding="utf-8", errors="replace").read()
        files.update(dict.fromkeys((os.path.realpath(file) for file in START_FILE.findall(text)), False))
        files.update(dict.fromkeys((os.path.realpath(file) for file in MEMBER.findall(text)), True))
    return files


def owner(path):
    """The package that installed path; merged /usr keeps some under /lib."""
    for name in (path, re.sub(r"^/usr/lib/", "/lib/", path)):
        found = subprocess.run(["dpkg-query", "-S", name], stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                               env=dict(os.environ, LC_ALL="C"), text=True)
        if found.returncode == 0:
            return found.stdout.split(":")[0]
    raise SystemExit(f"notices.py: no Debian package installed {path}, so its notice is unknown")


def main(output, version, *maps):
    sys.stdout = open(output, "w", encoding="utf-8", newline="\n")
    packages, licences = {}, set()
    for path, archive in sorted(linked_files(maps).items()):
        packages.setdefault(owner(path), []).append((os.path.basename(path), archive))
    print("The programs hold code of the libraries below, as their linkers took it from these Debian\n"
          "packages. Each package's copyright file follows its name.")
    for package, files in sorted(packages.items()):
        fields = "${Version}\t${source:Package} ${source:Version}\t${Built-Using}"
        package_version, source, built_using = subprocess.run(
            ["dpkg-query", "-W", f"-f={fields}", package], stdout=subprocess.PIPE, check=True, text=True).stdout.split("\t")
        print(f"\n== {package} {package_version}, built from {source}: " + ", ".join(name for name, _ in files))
        if any(archive for _, archive in files):
            # A cross toolchain's package holds code of the sources that its Built-Using names.
            sources = [source] + [re.sub(r" \(= (.*)\)", r" \1", used) for used in built_using.split(", ") if used]
            print("For three years from this release, its maintainers give anyone who asks the complete source\n"
                  "that Debian built it from, for no more than the cost of copying it: " + ", ".join(sources) + ".\n"
                  f"The programs' own source, consoletools-{version}.tar.gz, built as its README says with that\n"
                  "library changed, relinks them with it.")
        copyright = open(f"/usr/share/doc/{package.split(':')[0]}/copyright", encoding="utf-8").read()
        print(copyright.rstrip("\n"))
        licences.update(os.path.realpath(path) for path in COMMON_LICENCE.findall(copyright) if os.path.exists(path))
    for licence in sorted(licences):
        print(f"\n== {licence}\n" + open(licence, encoding="utf-8").read().rstrip("\n"))


if __name__ == "__main__":
    main(*sys.argv[1:])
