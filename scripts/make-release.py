#!/usr/bin/env python3
"""Packs the release: one zip holding one folder with the given files, and SHA256SUMS for
the zip and for each file in it, in the format `sha256sum -c` reads.

    make-release.py --folder ZerakCalc-1.2 --zip OUT.zip --sums SHA256SUMS [--source DIR] FILE...

The same files give the same zip on any machine, at any time, in any folder: the entries
come in sorted order with fixed attributes, and every entry carries one date, the time of
the commit being built (SOURCE_DATE_EPOCH, or else the last commit of --source), written
as UTC.
"""

import argparse
import hashlib
import os
import subprocess
import sys
import time
import zipfile

# The earliest time a zip entry can carry.
ZIP_EPOCH = 315532800  # 1980-01-01 00:00:00 UTC
FILE_MODE = 0o100644
FOLDER_MODE = 0o40755
MSDOS_DIRECTORY = 0x10
UNIX = 3
COMPRESS_LEVEL = 9


def source_date_epoch(source):
    value = os.environ.get("SOURCE_DATE_EPOCH")
    if value:
        return int(value)
    try:
        out = subprocess.run(
            ["git", "-C", source, "log", "-1", "--format=%ct"],
            check=True,
            capture_output=True,
            text=True,
        ).stdout.strip()
        return int(out)
    except (OSError, subprocess.CalledProcessError, ValueError):
        sys.exit(
            "make-release.py: no commit time: set SOURCE_DATE_EPOCH or build from a git checkout"
        )


def entry(name, epoch, mode, dos_attributes=0):
    info = zipfile.ZipInfo(name, time.gmtime(max(epoch, ZIP_EPOCH))[:6])
    info.create_system = UNIX
    info.external_attr = (mode << 16) | dos_attributes
    return info


def sha256(path):
    digest = hashlib.sha256()
    with open(path, "rb") as f:
        for chunk in iter(lambda: f.read(1 << 16), b""):
            digest.update(chunk)
    return digest.hexdigest()


def write_zip(path, folder, files, epoch):
    # Written aside and renamed, so that a failed run leaves no half zip behind.
    partial = path + ".partial"
    with zipfile.ZipFile(partial, "w") as archive:
        archive.writestr(entry(folder + "/", epoch, FOLDER_MODE, MSDOS_DIRECTORY), b"")
        for name in sorted(files):
            with open(files[name], "rb") as f:
                data = f.read()
            info = entry(f"{folder}/{name}", epoch, FILE_MODE)
            archive.writestr(info, data, zipfile.ZIP_DEFLATED, COMPRESS_LEVEL)
    os.replace(partial, path)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--folder", required=True, help="the one folder inside the zip")
    parser.add_argument("--zip", required=True)
    parser.add_argument("--sums", required=True)
    parser.add_argument("--source", default=".", help="the checkout whose last commit dates the entries")
    parser.add_argument("files", nargs="+")
    args = parser.parse_args()

    files = {}
    for path in args.files:
        name = os.path.basename(path)
        if name in files:
            sys.exit(f"make-release.py: two files named {name}")
        files[name] = path

    os.makedirs(os.path.dirname(os.path.abspath(args.zip)), exist_ok=True)
    write_zip(args.zip, args.folder, files, source_date_epoch(args.source))

    lines = [f"{sha256(args.zip)}  {os.path.basename(args.zip)}\n"]
    lines += [f"{sha256(files[name])}  {args.folder}/{name}\n" for name in sorted(files)]
    with open(args.sums, "w", newline="\n") as f:
        f.writelines(lines)


if __name__ == "__main__":
    main()
