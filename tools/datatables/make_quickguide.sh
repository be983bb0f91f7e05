#!/bin/sh
# Writes the quick guide of the installed tree (data/tree/harvsim.TXT: the program's name with
# ".TXT", shown by Option > 簡単操作ガイド) from its UTF-8 source: CP932 text, CR LF line ends.
# Headings are "n．title" with the full-width digit n, so the memo window lists them.
set -eu
here="$(cd "$(dirname "$0")" && pwd)"
sed 's/$/\r/' "$here/quickguide_src.txt" | iconv -f UTF-8 -t CP932 > "$here/../../data/tree/harvsim.TXT"
