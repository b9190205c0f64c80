#!/usr/bin/env bash
# The maker's web addresses come only from the build's configuration: no
# caption, text or line of the program writes one out itself, so a re-branded
# build names its own site everywhere.
# Usage: site-addresses.sh <source folder> <address>...
set -euo pipefail
sources=$1
shift
for address in "$@"; do
  host=$(sed -E 's|^[a-z]+://||; s|[/:].*||' <<<"$address")
  if found=$(grep -rnF -- "$host" "$sources"); then
    echo "FAIL: the program writes out $host itself:" >&2
    echo "$found" >&2
    exit 1
  fi
done
echo "site addresses: passed"
