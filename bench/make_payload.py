#!/usr/bin/env python3
"""Deterministic benchmark inputs, written on the Unix side into a folder.

  make_payload.py package DIR FILES MEGABYTES SUBFOLDERS [VARIANT]
      A package folder's payload: FILES files of MEGABYTES in all, in the
      folder and in SUBFOLDERS sub-folders, the install script "OrvUnInst.log"
      that names them (per-file lines, renaming pairs, "Make Dir: " lines and
      pattern lines), and "peer-files.nsh", the per-file removal lines of the
      peer installer's uninstaller. VARIANT (default 0) changes every
      file's bytes and nothing else: a later version of the same package,
      to measure an upgrade. The program files of the package (setup,
      uninstaller, application) are copied in by the caller.
  make_payload.py log FILE LINES
      An uninstall log of LINES lines naming files and folders that are not
      there: the replay reads and acts on every line and removes nothing.

The same arguments give the same bytes on every run.
"""
import random
import sys
from pathlib import Path

# Fixed names of the package: the files the caller copies in, named in the
# script so that an installation holds them all.
PACKAGE_PROGRAMS = ["OrvPix6.exe", "OrvUnInst.exe"]
PEER_INSTALLER = "peer-setup.exe"
PEER_UNINSTALLER = "peer-uninst.exe"


def write_lines(path, lines):
    # The install script's own form: ANSI text with CR LF line ends.
    path.write_bytes("".join(line + "\r\n" for line in lines).encode("ascii"))


def make_package(folder, files, megabytes, subfolders, variant=0):
    folder.mkdir(parents=True, exist_ok=True)
    seed = f"orvelle-bench-{files}-{megabytes}-{subfolders}" + (f"-{variant}" if variant else "")
    rng = random.Random(seed)
    block = rng.randbytes(1 << 20)
    mean = megabytes * (1 << 20) // files

    def content(index):
        size = max(1, mean // 2 + (index * 7919) % mean)  # mean/2 .. 3*mean/2
        start = (index * 104729) % len(block)
        data = block[start:start + size]
        while len(data) < size:
            data += block[: size - len(data)]
        return data

    per_file = max(files // 10, 1)  # listed one line each, in the folder
    renamed = max(files // 100, 1)  # renaming pairs, in the folder
    in_subfolders = files - per_file - renamed
    script = [
        "Benchmark package: remarks, per-file lines, renaming pairs,",
        "sub-folders made by Make Dir lines and filled by pattern lines.",
    ]
    installed = list(PACKAGE_PROGRAMS)
    shipped = list(PACKAGE_PROGRAMS)
    script += [f"File Copy: {name}" for name in PACKAGE_PROGRAMS]
    index = 0
    for i in range(per_file):
        name = f"file{i:05d}.bin"
        (folder / name).write_bytes(content(index))
        index += 1
        script.append(f"File Copy: {name}")
        installed.append(name)
        shipped.append(name)
    for i in range(renamed):
        source, target = f"set{i:04d}.src", f"set{i:04d}.cfg"
        (folder / source).write_bytes(content(index))
        index += 1
        script.append(f"File Copy: {source} > {target}")
        installed.append(target)
        shipped.append(source)
    for s in range(subfolders):
        sub = f"data{s}"
        (folder / sub).mkdir(exist_ok=True)
        count = in_subfolders // subfolders + (1 if s < in_subfolders % subfolders else 0)
        for i in range(count):
            name = f"{sub}\\item{i:05d}.dat"
            (folder / sub / f"item{i:05d}.dat").write_bytes(content(index))
            index += 1
            installed.append(name)
            shipped.append(name)
        script.append(f"Make Dir: {sub}")
        script.append(f"File Copy: {sub}\\*.dat")
    script.append("File Del: obsolete.bin | left by an earlier version")
    write_lines(folder / "OrvUnInst.log", script)

    # The peer copies the whole package folder, itself and the script included.
    peer = [f'Delete "$INSTDIR\\{name}"' for name in shipped + ["OrvUnInst.log", "setup.exe", PEER_INSTALLER]]
    peer += [f'RMDir "$INSTDIR\\data{s}"' for s in range(subfolders)]
    write_lines(folder / "peer-files.nsh", peer)


def make_log(path, lines):
    path.parent.mkdir(parents=True, exist_ok=True)
    out = []
    for i in range(lines):
        kind = i % 20
        if kind < 14:
            out.append(f"File Copy: absent{i:06d}.bin")
        elif kind < 16:
            out.append(f"File Del: gone{i:06d}.dll | remark")
        elif kind < 17:
            out.append(f"File Copy: old{i:06d}.src > new{i:06d}.cfg")
        elif kind < 18:
            out.append(f"Make Dir: nodir{i:06d}")
        else:
            out.append(f"remark line {i}")
    write_lines(path, out)


def main(argv):
    if len(argv) in (6, 7) and argv[1] == "package":
        make_package(Path(argv[2]), *(int(arg) for arg in argv[3:]))
    elif len(argv) == 4 and argv[1] == "log":
        make_log(Path(argv[2]), int(argv[3]))
    else:
        sys.stderr.write(__doc__)
        return 2
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
