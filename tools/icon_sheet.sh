#!/usr/bin/env bash
# Builds tools/icon_sheet.cpp natively and writes the sheet as a PNG.
# Usage: tools/icon_sheet.sh OUT.png [SIZE]
set -euo pipefail
cd "$(dirname "$0")/.."
out=$(realpath -m "${1:?usage: $0 OUT.png}")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
g++ -std=c++20 -O1 -Isrc tools/icon_sheet.cpp src/core/icon_composer.cpp src/core/masked_image.cpp \
  src/core/pixel_buffer.cpp src/core/lock_names.cpp -o "$work/icon_sheet"
"$work/icon_sheet" ${2:+"$2"} > "$work/sheet.ppm"
python3 - "$work/sheet.ppm" "$out" <<'PY'
import struct, sys, zlib
data = open(sys.argv[1], 'rb').read()
header, _, rest = data.partition(b'\n255\n')
width, height = map(int, header.split()[1:3])
stride = width * 3
raw = b''.join(b'\0' + rest[y * stride:(y + 1) * stride] for y in range(height))
def chunk(kind, body):
    return struct.pack('>I', len(body)) + kind + body + struct.pack('>I', zlib.crc32(kind + body))
png = b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', width, height, 8, 2, 0, 0, 0))
png += chunk(b'IDAT', zlib.compress(raw, 9)) + chunk(b'IEND', b'')
open(sys.argv[2], 'wb').write(png)
PY
echo "sheet written to $out"
