"""Checks artifacts on themselves, and names every fault.

    artifact.py members EPOCH ARTIFACT...
    artifact.py package BUILD STRIP READELF BUILT... -- PROMPTS...
    artifact.py notices PAGE BUILT...

members: a folder, or a program in bin/, is 0755, any other member 0644 (or,
in the source archive, 0755 where git has it executable); each belongs to
root, or 0, and is dated EPOCH; they come in order of name; a gzip file, or
member, holds no name and no time. package: BUILD's artifact, made by
packaging/package.sh, passes that, holds exactly its files, its programs
are the tested BUILT ones stripped by STRIP, each holding its dialogue (the
PROMPTS check), and its notices hold the copyright file of every Debian
package that the linker's map of each shows a file taken from, and the
common licences that it names. A .deb also
needs the libc6 of its programs' newest glibc symbol (READELF lists them),
is for its programs' machine, conflicts with Debian's calendar, has no
maintainer scripts, dpkg-gencontrol's Installed-Size, a changelog dated
EPOCH and a copyright file that Debian's parser takes as DEP-5. notices:
the page holds the same notices, and the project's licence."""

import calendar
import gzip
import io
import os
import re
import shutil
import subprocess
import sys
import tarfile
import tempfile
import time
import zipfile

ENVIRONMENT = dict(os.environ, LC_ALL="C")  # the tools' words are parsed
PACKAGING = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "packaging")
DOCS = "share/doc/consoletools/"


def held(programs, kind):
    """The files that an artifact of this kind holds, below its top folder."""
    if kind == "zip":
        return [f"bin/{program}.exe" for program in programs] + ["LICENSE.txt", "NOTICES.txt", "README.md"]
    files = [f"bin/{program}" for program in programs] + [f"share/man/man1/{program}.1.gz" for program in programs]
    files += ["share/man/man7/consoletools.7.gz", DOCS + "README.md", DOCS + "changelog.gz", DOCS + "NOTICES"]
    if kind == "deb":
        return files + [DOCS + "changelog.Debian.gz", DOCS + "copyright", "share/lintian/overrides/consoletools"]
    return files + [DOCS + "LICENSE"]


def tool(*command, env=None):
    return subprocess.run(command, check=True, stdout=subprocess.PIPE, env=env or ENVIRONMENT).stdout


def members(path):
    """(name, folder?, mode, owner or None, time, content) of each member."""
    if path.endswith(".zip"):
        with zipfile.ZipFile(path) as archive:
            for info in archive.infolist():
                # zip -X writes no extra field, where an owner would be.
                yield (info.filename.rstrip("/"), info.is_dir(), info.external_attr >> 16 & 0o7777,
                       info.extra and f"extra fields {info.extra!r}", calendar.timegm(info.date_time),
                       archive.read(info))
        return
    data = tool("dpkg-deb", "--fsys-tarfile", path) if path.endswith(".deb") else open(path, "rb").read()
    with tarfile.open(fileobj=io.BytesIO(data)) as archive:
        for info in archive:
            owner = (info.uid, info.gid, info.uname, info.gname)
            yield (info.name.removeprefix("./"), info.isdir(), info.mode,
                   owner != (0, 0, "root", "root") and f"{info.uname}:{info.gname} ({info.uid}:{info.gid})", info.mtime,
                   info.isfile() and archive.extractfile(info).read())


def gzip_problem(data):  # a name or a time in the header differs from one build to the next
    return (data[3] & 0x08 or data[4:8] != bytes(4)) and "holds a name or a time in its gzip header"


def member_problems(path, epoch):
    source = not re.search(r"\.deb$|\.zip$|-linux-[^/]*\.tar\.gz$", path)
    # DOS times go in steps of 2 s, and zip rounds an odd second up.
    dated = (epoch + 1) // 2 * 2 if path.endswith(".zip") else epoch
    found = [gzip_problem(open(path, "rb").read(10))] if path.endswith(".gz") else []
    names = []
    for name, folder, mode, owner, date, content in members(path):
        names.append(name.split("/"))
        if name.endswith(".gz") and content and (problem := gzip_problem(content)):
            found.append(f"{name} {problem}")
        modes = (0o755,) if folder or "/bin/" in f"/{name}" else (0o644, 0o755) if source else (0o644,)
        if mode not in modes:
            found.append(f"{name} has mode {mode:o}")
        if owner:
            found.append(f"{name} belongs to {owner}")
        if date != dated:
            found.append(f"{name} is dated {date}, not {dated}")
    if names != sorted(names):
        found.append("its members are not in order of name")
    return [f"{os.path.basename(path)}: {problem}" for problem in found if problem]


def package_problems(build, strip, readelf, built, prompts):
    config = dict(line.split("=", 1) for line in open(f"{build}/artifact.conf").read().splitlines())
    kind, epoch = config["kind"], int(config["epoch"])
    shutil.rmtree(scratch := f"{build}/package-check", ignore_errors=True)
    path = tool("sh", f"{PACKAGING}/package.sh", build, f"{scratch}/out").decode().strip()
    found = member_problems(path, epoch)
    top = "usr/" if kind == "deb" else config["name"] + "/"
    files = sorted(name for name, folder, *_ in members(path) if not folder and name)
    wanted = sorted(top + file for file in held([os.path.splitext(os.path.basename(p))[0] for p in built], kind))
    if files != wanted:
        found.append(f"it holds {files}, not {wanted}")

    unpacked = f"{scratch}/unpacked"
    if kind == "deb":
        tool("dpkg-deb", "-x", path, unpacked)
    else:
        with (zipfile.ZipFile(path) if kind == "zip" else tarfile.open(path)) as archive:
            archive.extractall(unpacked)
    notices = f"{unpacked}/{top}" + ("NOTICES.txt" if kind == "zip" else DOCS + "NOTICES")
    found += notice_problems(open(notices).read() if os.path.exists(notices) else "", built)
    for program in built:
        packaged = f"{unpacked}/{top}bin/{os.path.basename(program)}"
        tool(strip, "-o", f"{scratch}/stripped", program, env=dict(ENVIRONMENT, SOURCE_DATE_EPOCH=str(epoch)))
        if not os.path.exists(packaged) or open(packaged, "rb").read() != open(f"{scratch}/stripped", "rb").read():
            found.append(f"its {top}bin/{os.path.basename(program)} is not the tested one, stripped")
        elif (ran := subprocess.run([*prompts, packaged], stdout=subprocess.PIPE)).returncode != 0:
            found.append(f"its {top}bin/{os.path.basename(program)}: {ran.stdout.decode(errors='replace')}")
    if kind == "deb":
        found += deb_problems(build, readelf, path, unpacked, epoch)
    return found


def notice_problems(notices, built):
    """The Debian packages that the linkers' maps show files taken from,
    whose copyright file the notices lack."""
    taken = {os.path.realpath(file) for program in built
             for file in re.findall(r"(?m)(?:^|\s)(/\S+?\.(?:o(?=[\s:(]|$)|a(?=\()))", open(f"{program}.map").read())}
    packages = {tool("dpkg-query", "-S", file).decode().split(":")[0] for file in taken}
    texts = {f"/usr/share/doc/{package}/copyright": open(f"/usr/share/doc/{package}/copyright").read() for package in packages}
    texts.update({path: open(path).read() for text in list(texts.values())
                  for path in re.findall(r"/usr/share/common-licenses/[\w+-]+(?:\.\d+)*", text) if os.path.exists(path)})
    return [f"its notices lack {path}" for path, text in sorted(texts.items()) if text.strip() not in notices]


# Debian's names for the ELF machines of e_machine (at byte 18).
MACHINES = {62: "amd64", 183: "arm64", 40: "armel"}


def deb_problems(build, readelf, path, unpacked, epoch):
    from debian.copyright import Copyright  # python3-debian, which only Debian's python3 imports
    found = []
    fields = {field: tool("dpkg-deb", "--field", path, field).decode().strip()
              for field in ("Architecture", "Depends", "Conflicts", "Installed-Size")}
    versions = [tuple(map(int, version.split(b"."))) for program in os.scandir(f"{unpacked}/usr/bin")
                for version in re.findall(rb"@GLIBC_([0-9.]+)", tool(readelf, "--dyn-syms", "--wide", program.path))]
    newest = ".".join(map(str, max(versions, default=())))
    if f"libc6 (>= {newest})" not in fields["Depends"].split(", "):
        found.append(f"it depends on {fields['Depends']!r}; its programs need GLIBC_{newest}")
    machines = {MACHINES.get(int.from_bytes(open(program.path, "rb").read(20)[18:20], "little"))
                for program in os.scandir(f"{unpacked}/usr/bin")}
    if machines != {fields["Architecture"]}:
        found.append(f"it is for {fields['Architecture']}, its programs for {machines}")
    try:
        Copyright(open(f"{unpacked}/usr/{DOCS}copyright"), strict=True)
    except Exception as error:  # the parser's errors have no common class
        found.append(f"its copyright file is not DEP-5: {error}")
    if fields["Conflicts"] != "calendar":  # Debian's own calendar installs /usr/bin/calendar too
        found.append(f"it conflicts with {fields['Conflicts']!r}, not with Debian's calendar")
    with tempfile.TemporaryDirectory() as raw:
        tool("dpkg-deb", "--raw-extract", path, raw)
        control = sorted(os.listdir(f"{raw}/DEBIAN"))
        os.remove(f"{raw}/DEBIAN/control")  # which dpkg-gencontrol writes after counting
        counted = tool("dpkg-gencontrol", f"-c{PACKAGING}/control", f"-l{build}/changelog.Debian", f"-P{raw}", "-O",
                       "-Vshlibs:Depends=", env=dict(ENVIRONMENT, DEB_HOST_ARCH=fields["Architecture"]))
    if control != ["control", "md5sums"]:
        found.append(f"its control part holds {control}, not control and md5sums")
    size = re.search(rb"^Installed-Size: (\d+)$", counted, re.M)[1].decode()
    if fields["Installed-Size"] != size:
        found.append(f"its Installed-Size is {fields['Installed-Size']}, dpkg-gencontrol counts {size}")
    changes = gzip.open(f"{unpacked}/usr/{DOCS}changelog.Debian.gz").read().decode()
    date = time.strftime("%a, %d %b %Y %H:%M:%S +0000", time.gmtime(epoch))
    if not changes.endswith(f">  {date}\n"):
        found.append(f"its changelog.Debian is not dated {date}: {changes!r}")
    return found


def main(args):
    if args[0] == "members":
        found = [problem for path in args[2:] for problem in member_problems(path, int(args[1]))]
    elif args[0] == "notices":
        page = open(args[1], encoding="utf-8").read()
        licence = open(os.path.join(PACKAGING, "..", "LICENSES", "MIT.txt")).read()
        found = notice_problems(page, args[2:]) + ([] if licence in page else ["the page lacks its own licence"])
    else:
        separator = args.index("--")
        found = package_problems(*args[1:4], args[4:separator], args[separator + 1:])
    for problem in found:
        print(f"FAIL {problem}")
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
