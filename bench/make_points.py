#!/usr/bin/python3
"""Writes N survey points "name,x,y,z,code" (a fixed seed: every run the same)."""
import random
import sys

n = int(sys.argv[1])
rng = random.Random(1)
out = sys.stdout
for i in range(1, n + 1):
    out.write(f"{i},{438000 + rng.random() * 5000:.3f},{4472000 + rng.random() * 5000:.3f},"
              f"{600 + rng.random() * 40:.3f},C{i % 17}\n")
