#!/usr/bin/env python3
"""Writes one Object Pascal unit of about N MB for the big-unit benchmarks: the implementation
sections of make-corpus.py's synthetic units one after another (about 2,900 routines a MB), in code
page 932 with CR LF line breaks, or LF with --lf. With --from DIR the sections are those of the real
units under DIR (.pas and .pp, in path order, repeated as needed; bytes as they are), e.g. Debian's
Free Pascal sources in /usr/share/fpcsrc (about 730 routines a MB).

    make-big-unit.py FILE MEGABYTES [--lf] [--from DIR]
"""

import importlib.util
import os
import random
import sys


def real_sections(folder):
    """The implementation sections of the units under folder, each a list of lines (bytes)."""
    names = sorted(os.path.join(root, name) for root, _, files in os.walk(folder)
                   for name in files if name.lower().endswith((".pas", ".pp")))
    for name in names:
        with open(name, "rb") as unit:
            lines = unit.read().replace(b"\r\n", b"\n").split(b"\n")
        # Up to the first "end." line, where the routine scan stops.
        starts = [i for i, line in enumerate(lines) if line.strip().lower() == b"implementation"]
        ends = [i for i, line in enumerate(lines)
                if starts and i > starts[0] and line.strip().lower() == b"end."]
        if starts and ends:
            yield lines[starts[0] + 1:ends[0]]


def main():
    args = sys.argv[1:]
    source = None
    if "--from" in args:
        at = args.index("--from")
        source = args[at + 1] if at + 1 < len(args) else None
        del args[at:at + 2]
    args = [a for a in args if a != "--lf"]
    if len(args) != 2 or ("--from" in sys.argv[1:] and not source):
        sys.exit("usage: make-big-unit.py FILE MEGABYTES [--lf] [--from DIR]")
    path, megabytes = args[0], float(args[1])
    line_break = "\n" if "--lf" in sys.argv[1:] else "\r\n"
    if source:
        write_from_real_units(path, megabytes, source, line_break.encode())
        return
    loader = importlib.util.spec_from_file_location(
        "make_corpus", os.path.join(os.path.dirname(os.path.abspath(__file__)), "make-corpus.py"))
    corpus = importlib.util.module_from_spec(loader)
    loader.loader.exec_module(corpus)
    rng = random.Random(20240601)
    parts = ["unit Big;", "", "interface", "", "uses", "  Classes, SysUtils;", "", "implementation", ""]
    size = 0
    index = 0
    while size < megabytes * 1000 * 1000:
        lines = corpus.synthetic_unit(index, rng).split("\r\n")
        body = lines[lines.index("implementation") + 2:lines.index("end.")]
        parts += body
        size += sum(len(line.encode("cp932")) + len(line_break) for line in body)
        index += 1
    parts.append("end.")
    with open(path, "wb") as out:
        out.write((line_break.join(parts) + line_break).encode("cp932"))


def write_from_real_units(path, megabytes, folder, line_break):
    head = [b"unit Big;", b"", b"interface", b"", b"uses", b"  Classes, SysUtils;", b"", b"implementation", b""]
    size = 0
    with open(path, "wb") as out:
        out.write(line_break.join(head) + line_break)
        while size < megabytes * 1000 * 1000:
            before = size
            for body in real_sections(folder):
                text = line_break.join(body) + line_break
                out.write(text)
                size += len(text)
                if size >= megabytes * 1000 * 1000:
                    break
            if size == before:
                sys.exit("no unit with an implementation section under " + folder)
        out.write(b"end." + line_break)


if __name__ == "__main__":
    main()
