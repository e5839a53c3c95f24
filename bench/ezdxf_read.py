#!/usr/bin/python3
"""ezdxf reading a DXF file and walking its model space, as an import does:
bench/ezdxf_read.py FILE"""
import sys
from collections import Counter

import ezdxf

doc = ezdxf.readfile(sys.argv[1])
kinds = Counter(e.dxftype() for e in doc.modelspace())
print(dict(kinds), file=sys.stderr)
