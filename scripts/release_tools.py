#!/usr/bin/env python3
"""Helpers of scripts/release.sh (standard library only).

  release_tools.py version EXE
      The fixed file version of a Windows program's version resource, as
      "%d.%02d.%02d.%02d" (6.1.2.3 reads 6.01.02.03).
  release_tools.py fill TEMPLATE OUTPUT NAME=VALUE...
      Writes TEMPLATE with every @NAME@ replaced by VALUE. The templates put
      each value inside a single-quoted YAML string, so a quote in a value is
      doubled. A token left without a value is an error.
"""
import re
import struct
import sys

FIXED_FILE_INFO_SIGNATURE = struct.pack("<I", 0xFEEF04BD)


def file_version(path):
    """(major, minor, third, fourth) of VS_FIXEDFILEINFO's file version."""
    with open(path, "rb") as exe:
        data = exe.read()
    key = "VS_VERSION_INFO".encode("utf-16-le")
    start = data.find(key)
    if start < 0:
        raise SystemExit(f"release_tools: {path} has no version resource")
    # The fixed part follows the key and its padding within a few bytes.
    signature = data.find(FIXED_FILE_INFO_SIGNATURE, start, start + len(key) + 16)
    if signature < 0:
        raise SystemExit(f"release_tools: {path}: no fixed file information")
    most, least = struct.unpack_from("<II", data, signature + 8)
    return most >> 16, most & 0xFFFF, least >> 16, least & 0xFFFF


def fill(template, output, assignments):
    values = {}
    for assignment in assignments:
        name, sep, value = assignment.partition("=")
        if not sep:
            raise SystemExit(f"release_tools: not NAME=VALUE: {assignment}")
        values[name] = value.replace("'", "''")
    with open(template, encoding="utf-8") as source:
        text = source.read()
    for name, value in values.items():
        text = text.replace(f"@{name}@", value)
    left = re.findall(r"@[A-Z0-9_]+@", text)
    if left:
        raise SystemExit(f"release_tools: {template}: no value for {', '.join(sorted(set(left)))}")
    with open(output, "w", encoding="utf-8", newline="\n") as target:
        target.write(text)


def main(argv):
    if len(argv) == 3 and argv[1] == "version":
        print("%d.%02d.%02d.%02d" % file_version(argv[2]))
    elif len(argv) >= 4 and argv[1] == "fill":
        fill(argv[2], argv[3], argv[4:])
    else:
        raise SystemExit(__doc__)


if __name__ == "__main__":
    main(sys.argv)
