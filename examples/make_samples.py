#!/usr/bin/env python3
"""Writes the sample tile files in this folder: 16 tiles of 16-colour diagonal
stripes, as 4-bpp planar (the sample input) and as 8-bpp linear (what the tool
must make of it). Run from anywhere: python3 examples/make_samples.py"""
import pathlib

HERE = pathlib.Path(__file__).resolve().parent


def pixel(tile, y, x):
    return (x + y + tile) % 16 if (x - y) % 4 else tile


def planar_4bpp(pixels):
    tile = bytearray(32)
    for y in range(8):
        for plane in range(4):
            byte = 0
            for x in range(8):
                byte |= ((pixels[8 * y + x] >> plane) & 1) << (7 - x)
            # planes 0-1 fill bytes 0-15, planes 2-3 bytes 16-31, rows alternating
            tile[16 * (plane // 2) + 2 * y + plane % 2] = byte
    return bytes(tile)


planar = bytearray()
linear = bytearray()
for t in range(16):
    pixels = [pixel(t, y, x) for y in range(8) for x in range(8)]
    planar += planar_4bpp(pixels)
    linear += bytes(pixels)

(HERE / "stripes-4bpp-planar.bin").write_bytes(planar)
(HERE / "stripes-8bpp-linear.bin").write_bytes(linear)
