#!/usr/bin/env python3
"""Writes a project of N small units for the unit-list benchmarks: DIR/BigProject.dpr and
DIR/units/UnitNNNNN.pas, each unit with a few routines."""

import os
import sys


def unit_text(name):
    return (f"unit {name};\n\ninterface\n\nprocedure {name}Run;\n\nimplementation\n\n"
            f"procedure {name}Run;\nbegin\nend;\n\nend.\n")


def main():
    if len(sys.argv) != 3:
        sys.exit("usage: make-project.py DIR UNITS")
    folder, count = sys.argv[1], int(sys.argv[2])
    os.makedirs(os.path.join(folder, "units"), exist_ok=True)
    uses = []
    for i in range(count):
        name = f"Unit{i:05d}"
        with open(os.path.join(folder, "units", name + ".pas"), "w", newline="\r\n") as out:
            out.write(unit_text(name))
        uses.append(f"  {name} in 'units\\{name}.pas'")
    with open(os.path.join(folder, "BigProject.dpr"), "w", newline="\r\n") as out:
        out.write("program BigProject;\n\nuses\n" + ",\n".join(uses) + ";\n\nbegin\nend.\n")


if __name__ == "__main__":
    main()
