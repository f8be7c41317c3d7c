#!/usr/bin/env python3
"""Writes a corpus of Object Pascal units for the routine-list comparison: copies of the sample
project's units and synthetic units with many routines, in code page 932 with CR LF line breaks."""

import os
import random
import sys

COMMENTS = ["処理の本体", "値を確かめる", "一覧を作り直す", "画面を更新する", "合計を求める"]


def synthetic_unit(index, rng):
    name = f"Gen{index:05d}"
    cls = f"TGen{index:05d}"
    routines = rng.randint(12, 40)
    kinds = [rng.choice(["procedure", "procedure", "function", "constructor", "destructor"])
             for _ in range(routines)]
    decl = []
    body = []
    for r, kind in enumerate(kinds):
        method = f"Step{rng.randrange(100000)}_{r}"
        params = "(Sender: TObject; Count: Integer)" if r % 3 else ""
        result = ": Integer" if kind == "function" else ""
        decl.append(f"    {kind} {method}{params}{result};")
        comment = rng.choice(COMMENTS)
        body.append(f"// {comment}")
        body.append(f"{kind} {cls}.{method}{params}{result};")
        if r % 7 == 0:
            body.append("")
            body.append("  function Inner(Value: Integer): Integer;")
            body.append("  begin")
            body.append("    Result := Value * 2;")
            body.append("  end;")
            body.append("")
        body.append("var")
        body.append("  I: Integer;")
        body.append("begin")
        for line in range(rng.randint(3, 12)):
            body.append(f"  {{ {comment} }}" if line == 0 else f"  FTotal := FTotal + {line} * {r};")
        if kind == "function":
            body.append("  Result := FTotal;")
        body.append("end;")
        body.append("")
    body.append(f"class procedure {cls}.Register;")
    body.append("begin")
    body.append("end;")
    body.append("")
    body.append(f"//procedure {cls}.Old;")
    lines = [f"unit {name};", "", f"{{ {rng.choice(COMMENTS)} }}", "", "interface", "", "uses",
             "  Classes, SysUtils;", "", "type", f"  {cls} = class(TObject)", "  private",
             "    FTotal: Integer;", "  public", *decl, "    class procedure Register;", "  end;", "",
             "implementation", "", *body, "end."]
    return "\r\n".join(lines) + "\r\n"


def main():
    target = sys.argv[1]
    sample = sys.argv[2]
    megabytes = int(sys.argv[3]) if len(sys.argv) > 3 else 100
    rng = random.Random(20240601)
    os.makedirs(os.path.join(target, "src"), exist_ok=True)
    samples = []
    for root, _, files in os.walk(sample):
        samples += [os.path.join(root, f) for f in files if f.lower().endswith(".pas")]
    total = 0
    index = 0
    while total < megabytes * 1000 * 1000:
        path = os.path.join(target, "src", f"Gen{index:05d}.pas")
        if index % 50 == 0 and samples:
            with open(samples[(index // 50) % len(samples)], "rb") as f:
                data = f.read()
        else:
            data = synthetic_unit(index, rng).encode("cp932")
        with open(path, "wb") as f:
            f.write(data)
        total += len(data)
        index += 1
    print(f"{index} files, {total} bytes")


if __name__ == "__main__":
    main()
