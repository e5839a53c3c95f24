#!/usr/bin/env python3
"""Repacks the records of a 32-bit type library on 4-byte boundaries.

widl lays the records of a type library out with natural alignment (a
double on 8 bytes) and offers no packing for them. The host's records are
packed on 4 bytes: a field starts at the next multiple of min(its
alignment, 4) and a record's size is its end rounded up to min(its
largest alignment, 4). This rewrites each record's field offsets, size and
alignment in place; everything else in the file stays byte for byte.

usage: repack_typelib.py IN.tlb OUT.tlb
"""
import struct
import sys

PACK = 4
HEADER_SIZE = 0x54
TYPEINFO_SIZE = 0x64
TKIND_RECORD = 1
VT_I2, VT_I4, VT_R4, VT_R8, VT_CY, VT_DATE, VT_BSTR = 2, 3, 4, 5, 6, 7, 8
VT_DISPATCH, VT_ERROR, VT_BOOL, VT_VARIANT, VT_UNKNOWN = 9, 10, 11, 12, 13
VT_I1, VT_UI1, VT_UI2, VT_UI4, VT_I8, VT_UI8, VT_INT, VT_UINT = 16, 17, 18, 19, 20, 21, 22, 23
VT_PTR, VT_SAFEARRAY, VT_CARRAY, VT_USERDEFINED = 26, 27, 28, 29

# width, natural alignment of the plain types on a 32-bit system
PLAIN = {
    VT_I1: (1, 1), VT_UI1: (1, 1), VT_I2: (2, 2), VT_UI2: (2, 2), VT_BOOL: (2, 2),
    VT_I4: (4, 4), VT_UI4: (4, 4), VT_INT: (4, 4), VT_UINT: (4, 4), VT_R4: (4, 4),
    VT_ERROR: (4, 4), VT_BSTR: (4, 4), VT_DISPATCH: (4, 4), VT_UNKNOWN: (4, 4),
    VT_R8: (8, 8), VT_CY: (8, 8), VT_DATE: (8, 8), VT_I8: (8, 8), VT_UI8: (8, 8),
    VT_VARIANT: (16, 8),
}


class TypeLib:
    def __init__(self, data):
        self.data = bytearray(data)
        magic, _, _, _, _, varflags = struct.unpack_from("<6i", data, 0)
        if magic != 0x5446534D:
            raise SystemExit("not an MSFT type library")
        if varflags & 0xF != 1:
            raise SystemExit("not a 32-bit type library")
        count = self.int(0x20)
        pos = HEADER_SIZE + (4 if varflags & 0x100 else 0)
        self.typeinfo_offsets = struct.unpack_from("<%di" % count, data, pos)
        segdir = pos + 4 * count
        self.typeinfo_seg = self.int(segdir)
        self.typedesc_seg = self.int(segdir + 16 * 9)
        self.arraydesc_seg = self.int(segdir + 16 * 10)
        self.layouts = {}  # typeinfo offset -> (size, alignment)

    def int(self, pos):
        return struct.unpack_from("<i", self.data, pos)[0]

    def put(self, pos, value):
        struct.pack_into("<i", self.data, pos, value)

    def width_and_alignment(self, datatype):
        if datatype < 0:
            return PLAIN[datatype & 0x3F]
        entry = self.typedesc_seg + datatype
        vt = self.int(entry) & 0xFFFF
        target = self.int(entry + 4)
        if vt in (VT_PTR, VT_SAFEARRAY):
            return 4, 4
        if vt == VT_USERDEFINED:
            return self.repack(target)
        if vt == VT_CARRAY:
            desc = self.arraydesc_seg + target
            width, alignment = self.width_and_alignment(self.int(desc))
            for k in range(self.int(desc + 4) & 0xFFFF):
                width *= self.int(desc + 8 + 8 * k)
            return width, alignment
        raise SystemExit("unexpected field type %d" % vt)

    def repack(self, typeinfo_offset):
        """Lays out one record (and the records it holds) on PACK bytes."""
        if typeinfo_offset in self.layouts:
            return self.layouts[typeinfo_offset]
        base = self.typeinfo_seg + typeinfo_offset
        typekind = self.int(base)
        if typekind & 0xF != TKIND_RECORD:
            raise SystemExit("a field of a record holds a type that is not a record")
        record = self.int(base + 4) + 4  # past the length of the member data
        end, largest = 0, 1
        for _ in range(self.int(base + 0x18) >> 16):
            width, alignment = self.width_and_alignment(self.int(record + 4))
            alignment = min(alignment, PACK)
            end = (end + alignment - 1) // alignment * alignment
            self.put(record + 16, end)
            end += width
            largest = max(largest, alignment)
            record += self.int(record) & 0xFFFF
        size = (end + largest - 1) // largest * largest
        self.put(base + 0x50, size)
        self.put(base, (typekind & ~0xFFC0) | largest << 11 | largest << 6)
        self.layouts[typeinfo_offset] = (size, largest)
        return size, largest

    def repack_all(self):
        for offset in self.typeinfo_offsets:
            if self.int(self.typeinfo_seg + offset) & 0xF == TKIND_RECORD:
                self.repack(offset)


def main():
    if len(sys.argv) != 3:
        raise SystemExit(__doc__)
    with open(sys.argv[1], "rb") as f:
        lib = TypeLib(f.read())
    lib.repack_all()
    with open(sys.argv[2], "wb") as f:
        f.write(lib.data)


if __name__ == "__main__":
    main()
