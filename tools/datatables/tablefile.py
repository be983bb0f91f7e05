"""Shared writers of the data-table scripts: CP932 text through the system's iconv (the codec
the program uses) and the program's fixed-width table layout, lines ended by CR LF.

The tree written to is data/tree beside this repository, or the first command-line argument.
"""

import os
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
TREE = sys.argv[1] if len(sys.argv) > 1 else os.path.join(HERE, "..", "..", "data", "tree")


def cp932(texts):
    """UTF-8 texts to CP932 bytes through iconv, one call for the whole list."""
    joined = "\n".join(texts) + "\n"
    out = subprocess.run(["iconv", "-f", "UTF-8", "-t", "CP932"], input=joined.encode("utf-8"),
                         capture_output=True, check=True).stdout
    parts = out.split(b"\n")
    assert len(parts) == len(texts) + 1, "a text holds a line break"
    return parts[:-1]


def write(relpath, data):
    path = os.path.join(TREE, *relpath.split("/"))
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)


def table(relpath, widths, rows):
    """A table file; every field right-aligned in its width, as the program's writer does."""
    for row in rows:
        assert len(row) == len(widths), (relpath, row)
    cells = cp932([str(c) for row in rows for c in row])
    lines = [b"%6d%6d" % (len(rows), len(widths)), b"".join(b"%6d" % w for w in widths)]
    k = 0
    for _ in rows:
        line = b""
        for w in widths:
            cell = cells[k]
            k += 1
            assert len(cell) <= w, (relpath, row, w)
            line += b" " * (w - len(cell)) + cell
        lines.append(line)
    write(relpath, b"".join(l + b"\r\n" for l in lines))
