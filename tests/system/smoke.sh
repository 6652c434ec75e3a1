#!/usr/bin/env bash
# Starts the built program offscreen under a temporary config folder, checks that it is still
# running after two seconds, then ends it by its process id.
set -u
programm="$1"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
QT_QPA_PLATFORM=offscreen XDG_CONFIG_HOME="$tmp" "$programm" >"$tmp/ausgabe.txt" 2>&1 &
pid=$!
sleep 2
if ! kill -0 "$pid" 2>/dev/null; then
  echo "skalora ended early:"; cat "$tmp/ausgabe.txt"
  exit 1
fi
kill "$pid"
wait "$pid" 2>/dev/null
echo "skalora ran for two seconds"
exit 0
