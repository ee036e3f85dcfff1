#!/usr/bin/env bash
# Makes the sample files the format reader tests read and the fuzz targets start from:
# MP3 files from ffmpeg with LAME, ZIP archives from Info-ZIP zip, Flash movies written here.
# Usage: make-samples.sh <out-dir>
set -euo pipefail
out="$1"
rm -rf "$out"
mkdir -p "$out"
export TZ=UTC

# --- MP3: a 3 s tone, 128 kbit/s, 48 kHz mono (384-byte frames), with and without an ID3v1 tag.
tone=(-f lavfi -i sine=frequency=440:duration=3:sample_rate=48000 -ac 1 -c:a libmp3lame -b:a 128k
      -id3v2_version 0 -write_xing 0 -fflags +bitexact)
# The muxer's ID3v1 writer takes the ID3v2 frame names.
ffmpeg -v error -nostdin "${tone[@]}" -write_id3v1 1 -metadata TIT2="Test Tone" -metadata TPE1="Salvadisk" \
  -metadata TALB="Samples" -metadata TDRC=2024 -metadata comment="made by ffmpeg" -metadata TRCK=7 \
  -metadata TCON=Rock "$out/tagged.mp3"
ffmpeg -v error -nostdin "${tone[@]}" -write_id3v1 0 "$out/untagged.mp3"
# MPEG-2 layer III: 22.05 kHz, 64 kbit/s.
ffmpeg -v error -nostdin -f lavfi -i sine=frequency=440:duration=2:sample_rate=22050 -ac 2 -c:a libmp3lame \
  -b:a 64k -id3v2_version 0 -write_xing 0 -write_id3v1 0 -fflags +bitexact "$out/mpeg2.mp3"

# --- ZIP: two folders and three files, every time stamp 2001-01-01 13:34:16.
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
mkdir -p "$tree/docs" "$tree/empty"
for i in $(seq 1 200); do echo "line $i of a text that packs well"; done > "$tree/docs/readme.txt"
head -c 3000 /dev/zero | tr '\0' 'x' > "$tree/docs/pattern.txt"
printf 'abc' > "$tree/small.txt"
find "$tree" -exec touch -d '2001-01-01 13:34:16' {} +
# Named one by one, so that the order does not hang on the directory listing.
entries=(docs docs/readme.txt docs/pattern.txt empty small.txt)
( cd "$tree"
  zip -q -X -0 "$out/stored.zip" "${entries[@]}"
  zip -q -X "$out/deflated.zip" "${entries[@]}"
  zip -q -X -fd "$out/descriptors.zip" "${entries[@]}"
  zip -q -X -fz "$out/zip64.zip" "${entries[@]}" )

# --- Flash: an uncompressed movie header, 550 x 400 pixels, 12 frames per second, 120 frames,
# then a background colour tag and the end tag.
# swf <file> <signature> <version> <xmax twips> <ymax twips> <rate fraction> <rate whole> <frames>
swf() {
  local file="$1" sig="$2" version="$3" xmax="$4" ymax="$5" frac="$6" whole="$7" frames="$8"
  local n=15 bits="" v i
  field() { local val=$1 w=$2 b=""; for ((i = w - 1; i >= 0; i--)); do b+=$(((val >> i) & 1)); done; printf %s "$b"; }
  bits+=$(field $n 5)
  for v in 0 "$xmax" 0 "$ymax"; do bits+=$(field "$v" $n); done
  while ((${#bits} % 8)); do bits+=0; done
  local body="" hex
  for ((i = 0; i < ${#bits}; i += 8)); do printf -v hex '\\x%02x' "$((2#${bits:i:8}))"; body+=$hex; done
  printf -v hex '\\x%02x\\x%02x\\x%02x\\x%02x' "$frac" "$whole" $((frames & 255)) $((frames >> 8)); body+=$hex
  body+='\x43\x02\x33\x66\x99\x40\x00\x00\x00'   # background colour #336699, a frame, the end
  local length=$((8 + $(printf "$body" | wc -c)))
  printf -v hex '\\x%02x\\x%02x\\x%02x\\x%02x' $((length & 255)) $(((length >> 8) & 255)) $(((length >> 16) & 255)) $((length >> 24))
  local vhex
  printf -v vhex '\\x%02x' "$version"
  printf "$sig$vhex$hex$body" > "$file"
}
swf "$out/movie.swf" FWS 6 11000 8000 0 12 120
swf "$out/short.swf" FWS 8 2000 2000 0 12 100
swf "$out/compressed.swf" CWS 10 11000 8000 0 12 120
