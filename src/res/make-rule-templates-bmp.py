#!/usr/bin/env python3
"""Draws src/res/rule-templates.bmp, bitmap 137: four 16 x 16 images in one
strip for the rows of the ready-made rule list, magenta (255, 0, 255)
transparent.

 0 safe list: a green shield with a white tick
 1 block list: a red no-entry disc
 2 unclassified: a grey tray with a blue question mark
 3 separator: a dashed grey line

Run: python3 src/res/make-rule-templates-bmp.py   (rewrites src/res/rule-templates.bmp)
"""
import os
import sys
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from bmpwrite import write_bmp

W, H, N = 16, 16, 4
MAGENTA = (255, 0, 255)
px = [[MAGENTA] * (W * N) for _ in range(H)]

def put(img, x, y, c):
    if 0 <= x < W and 0 <= y < H:
        px[y][img * W + x] = c

def rect(img, x0, y0, x1, y1, c):
    for y in range(y0, y1 + 1):
        for x in range(x0, x1 + 1):
            put(img, x, y, c)

GREEN, DARK_GREEN = (40, 160, 60), (10, 90, 30)
RED, DARK_RED = (220, 40, 40), (130, 10, 10)
GREY, DARK_GREY, LIGHT_GREY = (170, 170, 170), (90, 90, 90), (225, 225, 225)
BLUE, WHITE = (30, 80, 200), (255, 255, 255)

# 0: shield, flat top, rounded point at the bottom
for y in range(1, 15):
    half = 6 if y < 9 else 6 - (y - 8)
    for x in range(8 - half - 1, 8 + half + 1):
        edge = x in (8 - half - 1, 8 + half) or y in (1, 14)
        put(0, x, y, DARK_GREEN if edge else GREEN)
for x, y in ((4, 7), (5, 8), (6, 9), (7, 10), (8, 9), (9, 8), (10, 7), (11, 6)):
    put(0, x, y, WHITE); put(0, x, y + 1, WHITE)

# 1: no-entry disc with a white bar
for y in range(H):
    for x in range(W):
        d = (x - 7.5) ** 2 + (y - 7.5) ** 2
        if d <= 56:
            put(1, x, y, DARK_RED if d > 42 else RED)
rect(1, 3, 7, 12, 8, WHITE)

# 2: tray with a question mark above it
rect(2, 1, 11, 14, 14, GREY)
rect(2, 1, 11, 14, 11, DARK_GREY); rect(2, 1, 11, 1, 14, DARK_GREY); rect(2, 14, 11, 14, 14, DARK_GREY)
rect(2, 2, 14, 13, 14, DARK_GREY); rect(2, 5, 12, 10, 12, LIGHT_GREY)
for x, y in ((6, 2), (7, 1), (8, 1), (9, 2), (10, 3), (10, 4), (9, 5), (8, 6), (8, 7)):
    put(2, x, y, BLUE); put(2, x - 1 if x < 8 else x, y + 0, BLUE)
rect(2, 8, 9, 8, 9, BLUE); rect(2, 7, 9, 7, 9, BLUE)

# 3: dashed line across the middle
for x in range(0, 16):
    if x % 4 != 3:
        rect(3, x, 7, x, 8, DARK_GREY)


write_bmp(os.path.join(os.path.dirname(os.path.abspath(__file__)), "rule-templates.bmp"), px)
