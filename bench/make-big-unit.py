#!/usr/bin/env python3
"""Writes one Object Pascal unit of about N MB for the big-unit benchmarks: the implementation
sections of make-corpus.py's synthetic units one after another (about 5,000 routines a MB), in code
page 932 with CR LF line breaks, or LF with --lf.

    make-big-unit.py FILE MEGABYTES [--lf]
"""

import importlib.util
import os
import random
import sys


def main():
    args = [a for a in sys.argv[1:] if a != "--lf"]
    if len(args) != 2:
        sys.exit("usage: make-big-unit.py FILE MEGABYTES [--lf]")
    path, megabytes = args[0], float(args[1])
    loader = importlib.util.spec_from_file_location(
        "make_corpus", os.path.join(os.path.dirname(os.path.abspath(__file__)), "make-corpus.py"))
    corpus = importlib.util.module_from_spec(loader)
    loader.loader.exec_module(corpus)
    rng = random.Random(20240601)
    line_break = "\n" if "--lf" in sys.argv[1:] else "\r\n"
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


if __name__ == "__main__":
    main()
