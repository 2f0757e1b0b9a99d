#!/usr/bin/env bash
# Builds the picture decoder fuzzer with clang's libFuzzer and runs it for a while.
#   tests/skin/fuzz/run-fuzzer.sh [seconds]
# Crashing inputs are written to build/skin-fuzz/crashes; copy the ones worth keeping to
# tests/skin/data/hostile/, where the normal test run decodes them.
set -euo pipefail
root=$(cd "$(dirname "$0")/../../.." && pwd)
out=$root/build/skin-fuzz
seconds=${1:-120}
mkdir -p "$out/corpus" "$out/crashes"
cp -n "$root"/tests/skin/data/*.png "$root"/tests/skin/data/*.jpg "$out/corpus/" 2>/dev/null || true
for id in 204 402 403 410; do cp -n "$root/resources/images/$id.png" "$out/corpus/"; done
clang++ -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
  -I"$root" $(pkg-config --cflags libpng libjpeg) \
  "$root/tests/skin/fuzz/DecoderFuzzer.cpp" "$root/skin/ImageDecoder.cpp" "$root/skin/PictureCodec.cpp" \
  "$root/skin/PictureScaler.cpp" "$root/skin/JpegEncoder.cpp" "$root/skin/ExifOrientation.cpp" \
  "$root/platform/sys/DevicePath.cpp" "$root/platform/base/DeviceConfig.cpp" "$root/platform/base/Utf.cpp" \
  $(pkg-config --libs libpng libjpeg) -o "$out/decoder-fuzzer"
cd "$out"
./decoder-fuzzer -max_total_time="$seconds" -max_len=65536 -rss_limit_mb=1024 -malloc_limit_mb=512 \
  -artifact_prefix="$out/crashes/" corpus
