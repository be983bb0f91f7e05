#!/usr/bin/env bash
# The one start of the independent metafile reader (LibreOffice) that the checks against it
# share; see testsupport::ConvertWithReader.
#   reader_batch.sh clear BATCH    empties BATCH/in and BATCH/out before the checks collect
#   reader_batch.sh convert BATCH  converts every metafile in BATCH/in to a PNG file in BATCH/out
# The reader keeps its profile in BATCH/profile. "convert" exits 77 (a skip to CTest) when the
# reader is not installed, 1 when CI is set; a metafile the reader cannot load leaves no PNG file, which the
# check that collected it reports.
set -euo pipefail
if [ $# -ne 2 ]; then
  echo "usage: $0 clear|convert BATCH" >&2
  exit 2
fi
batch="$(realpath -m "$2")"
case "$1" in
  clear)
    rm -rf "$batch/in" "$batch/out"
    mkdir -p "$batch/in"
    ;;
  convert)
    if ! command -v soffice >/dev/null 2>&1; then
      # CI must run the checks: there its absence is a fault of the set-up, not a skip.
      if [ -n "${CI:-}" ]; then
        echo "soffice is not installed: scripts/setup.sh installs it" >&2
        exit 1
      fi
      echo "soffice is not installed"
      exit 77
    fi
    rm -rf "$batch/out"
    mkdir -p "$batch/out"
    shopt -s nullglob
    metafiles=("$batch"/in/*)
    echo "converting ${#metafiles[@]} metafiles"
    if [ ${#metafiles[@]} -eq 0 ]; then exit 0; fi
    timeout 540 soffice "-env:UserInstallation=file://$batch/profile" --headless \
      --convert-to png --outdir "$batch/out" "${metafiles[@]}"
    ;;
  *)
    echo "usage: $0 clear|convert BATCH" >&2
    exit 2
    ;;
esac
