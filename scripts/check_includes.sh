#!/usr/bin/env bash
# Checks that the libraries' includes point one way:
#   platform → framework, chart, report → model/sim → model/results → views → app/ui → app (main)
# framework, chart and report stand side by side on platform and never include one another
# (chart and report include platform alone). Every quoted #include of a source or header in
# these folders must name a file of its own folder's layer or of a layer below it; a folder
# that includes a layer above it (or a side-by-side neighbour) is reported with the file and
# line, and the script fails. Programs above all libraries (tests/, bench/, fuzz/, tools/) are
# not checked.
#
# Usage: check_includes.sh [source root]   (default: the repository holding this script)
set -euo pipefail
root="${1:-$(cd "$(dirname "$0")/.." && pwd)}"
cd "$root"

# One pass over every file: the layer of a path is its longest matching folder; a layer may
# include itself and the layers listed for it.
status=0
find platform framework chart report model views app -type f \( -name '*.cpp' -o -name '*.h' \) -print0 2>/dev/null |
  sort -z | xargs -0 awk '
    function layer(path) {
      if (path ~ /^platform\//) return "platform"
      if (path ~ /^framework\//) return "framework"
      if (path ~ /^chart\//) return "chart"
      if (path ~ /^report\//) return "report"
      if (path ~ /^model\/sim\//) return "model/sim"
      if (path ~ /^model\/results\//) return "model/results"
      if (path ~ /^views\//) return "views"
      if (path ~ /^app\/ui\//) return "app/ui"
      if (path ~ /^app\//) return "app"
      return ""
    }
    BEGIN {
      below["platform"] = "platform"
      below["framework"] = "platform framework"
      below["chart"] = "platform chart"
      below["report"] = "platform report"
      below["model/sim"] = "platform framework chart report model/sim"
      below["model/results"] = below["model/sim"] " model/results"
      below["views"] = below["model/results"] " views"
      below["app/ui"] = below["views"] " app/ui"
      below["app"] = below["app/ui"] " app"
      failures = 0
    }
    FNR == 1 { from = layer(FILENAME) }
    /^[ \t]*#[ \t]*include[ \t]*"/ {
      target = $0
      sub(/^[^"]*"/, "", target)
      sub(/".*$/, "", target)
      # A name without a folder is a file beside the includer: its own layer.
      if (from == "" || index(target, "/") == 0) next
      to = layer(target)
      if (to == "" || index(" " below[from] " ", " " to " ") > 0) next
      printf "%s:%d: %s includes \"%s\" of %s, a layer above it or beside it\n", FILENAME, FNR, from, target, to
      failures++
    }
    END {
      if (failures > 0) {
        printf "include check: %d include(s) against the layer order\n", failures
        exit 1
      }
      print "include check: every include points down the layers"
    }' || status=1
exit "$status"
