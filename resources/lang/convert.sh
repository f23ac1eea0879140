#!/bin/sh
# Converts the UTF-8 language sources in source/ to the language files beside this script,
# each in the Windows code page its name ends with and with CR LF line ends, the form the
# files have always shipped in. Run it after editing a source; commit both.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
export LC_ALL=C
for source in "$here"/source/*.ini; do
  name=$(basename "$source")
  codepage=$(printf '%s\n' "$name" | sed -n 's/^[A-Za-z]*\([0-9][0-9]*\)\.ini$/\1/p')
  if [ -z "$codepage" ]; then
    echo "convert.sh: $name does not end in a code page number" >&2
    exit 1
  fi
  # iconv stops at a character the code page lacks, so a bad translation fails here.
  iconv -f UTF-8 -t "CP$codepage" "$source" > "$here/$name.tmp"
  sed 's/$/\r/' "$here/$name.tmp" > "$here/$name"
  rm "$here/$name.tmp"
done
