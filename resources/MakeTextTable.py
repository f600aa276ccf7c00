#!/usr/bin/env python3
"""Writes a string table (id -> text, JSON) as the body of a C++ array of
{id, "text"} pairs, so that a program can carry one language's texts built
in, from the same source as that language's library."""

import json
import os
import sys


def literal(text):
    out = []
    for byte in text.encode("utf-8"):
        ch = chr(byte)
        if ch == "\\" or ch == '"':
            out.append("\\" + ch)
        elif 0x20 <= byte < 0x7F and ch != "?":
            out.append(ch)
        else:
            # Octal escapes end after three digits, so a following digit
            # cannot be swallowed as hex escapes would be.
            out.append("\\%03o" % byte)
    return '"' + "".join(out) + '"'


def main(argv):
    if len(argv) != 3:
        sys.exit("usage: MakeTextTable.py STRINGS.json OUTPUT")
    with open(argv[1], encoding="utf-8") as f:
        table = json.load(f)
    lines = [f"{{{int(k)}, {literal(v)}}},\n" for k, v in sorted(table.items(), key=lambda kv: int(kv[0]))]
    os.makedirs(os.path.dirname(os.path.abspath(argv[2])), exist_ok=True)
    with open(argv[2], "w", encoding="utf-8", newline="\n") as f:
        f.write("// Generated from " + argv[1].replace("\\", "/").split("/")[-2] + "/Strings.json: do not edit.\n")
        f.writelines(lines)


if __name__ == "__main__":
    main(sys.argv)
