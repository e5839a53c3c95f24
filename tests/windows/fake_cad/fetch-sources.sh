#!/bin/bash
# The sources the Windows test programs build with that Debian ships for
# Linux only: dxflib (the fake CAD saves and reads DXF with our DXF code)
# and simdjson (the test client reads record files), from Debian's own
# source packages, unpacked into DIR (DIR/dxflib, DIR/simdjson).
#   tests/windows/fake_cad/fetch-sources.sh DIR
set -eu
dir=$(mkdir -p "${1:?usage: fetch-sources.sh DIR}" && cd "$1" && pwd)
[ -f "$dir/dxflib/src/dl_dxf.cpp" ] && [ -f "$dir/simdjson/singleheader/simdjson.cpp" ] && exit 0
apt_dir=$dir/apt
mkdir -p "$apt_dir/lists/partial" "$apt_dir/files"
# A private source list: the system's apt configuration is left alone.
echo "deb-src http://deb.debian.org/debian bookworm main" >"$apt_dir/sources.list"
apt_options=(-o "Dir::Etc::SourceList=$apt_dir/sources.list" -o Dir::Etc::SourceParts=/dev/null
             -o "Dir::State::Lists=$apt_dir/lists" -o Debug::NoLocking=1 -qq)
apt-get "${apt_options[@]}" update
cd "$apt_dir/files"
# The versions of the Linux packages the project builds with.
apt-get "${apt_options[@]}" --download-only source dxflib=3.26.4-1 simdjson=3.0.1-1
rm -rf "$dir/dxflib" "$dir/simdjson"
mkdir -p "$dir/dxflib" "$dir/simdjson"
tar xzf dxflib_3.26.4.orig.tar.gz -C "$dir/dxflib" --strip-components=1
tar xzf simdjson_3.0.1.orig.tar.gz -C "$dir/simdjson" --strip-components=1
