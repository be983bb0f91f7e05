#!/bin/sh
# check_runner.sh STATUS MEMORY_MB COMMAND [ARG...]
# Runs COMMAND with its memory held to MEMORY_MB (its address space; under the sanitizers,
# which reserve a vast address space of their own, their resident-memory limit) and succeeds
# when it ends with STATUS; a refusal (STATUS 1) must also print its reason on the standard
# error. The time bound is the test's TIMEOUT.
expected="$1"
mb="$2"
shift 2
if [ -n "$HARVSIM_SANITIZED" ]; then
  ASAN_OPTIONS="hard_rss_limit_mb=$mb${ASAN_OPTIONS:+:$ASAN_OPTIONS}"
  export ASAN_OPTIONS
else
  ulimit -v $((mb * 1024)) || exit 2
fi
err="$(mktemp)"
"$@" 2>"$err"
status=$?
cat "$err" >&2
reason="$(grep -c ': ' "$err")"
rm -f "$err"
if [ "$status" -ne "$expected" ]; then
  echo "check_runner: exit status $status, expected $expected" >&2
  exit 1
fi
if [ "$expected" -eq 1 ] && [ "$reason" -eq 0 ]; then
  echo "check_runner: no reason given" >&2
  exit 1
fi
exit 0
