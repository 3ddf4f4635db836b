#!/bin/sh
# Reads the ledgers client that scripts/make-ledgers-demo makes with lumctl:
# dump finds whole records of its layouts in every file, and ledgers show
# reads the client through.
# Usage: ledgers_demo_test.sh LUMCTL MAKE_LEDGERS_DEMO
set -eu
lumctl=$1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
"$2" "$dir"
mkdir "$dir/LumPost"
ledgers="$dir/GLed/Ent-1"

records() { "$lumctl" dump "$1" | wc -l; }
test "$(records "$dir/CntMan/Ent-1/Mascnt.dat")" -eq 1
"$lumctl" dump "$dir/CntMan/Ent-1/Mascnt.dat" | grep -q '"name":"Demo Plumbing"'
test "$(records "$ledgers/Ltc-1.Dat")" -eq 999
"$lumctl" dump "$ledgers/Lct-1.Dat" | grep -q '"version":32,'
for empty in Led-1.Dat Ljn-1.Dat Lcm-1.Dat; do
  test "$(records "$ledgers/$empty")" -eq 0
done
"$lumctl" --root "$dir/LumPost" --group 1 ledgers show --ledgers 1 > "$dir/show"
grep -q '"name": "Suspense"' "$dir/show"
