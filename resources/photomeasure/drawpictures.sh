#!/bin/sh
# Rebuilds the PNG pictures of this folder from drawpictures.cpp.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
g++ -std=c++20 -O1 -fPIC "$here/drawpictures.cpp" -o "$work/drawpictures" \
    $(pkg-config --cflags --libs Qt6Gui)
QT_QPA_PLATFORM=offscreen "$work/drawpictures" "$here"
