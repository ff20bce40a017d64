#!/usr/bin/env python3
"""Draws src/res/folders.bmp, bitmap 135: eight 16 x 16 folder images in one
strip, magenta (255, 0, 255) transparent.

 0 "Outlook Express" (the top item)   4 sent items (folder 6)
 1 local folders (folder 1)           5 deleted items (folder 7)
 2 inbox (folder 4)                   6 drafts (folder 8)
 3 outbox (folder 5)                  7 any other folder

Run: python3 src/res/make-folders-bmp.py   (rewrites src/res/folders.bmp)
"""
import os
import sys
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from bmpwrite import write_bmp

W, H, N = 16, 16, 8
MAGENTA = (255, 0, 255)
px = [[MAGENTA] * (W * N) for _ in range(H)]

def put(img, x, y, c):
    if 0 <= x < W and 0 <= y < H:
        px[y][img * W + x] = c

def rect(img, x0, y0, x1, y1, c):
    for y in range(y0, y1 + 1):
        for x in range(x0, x1 + 1):
            put(img, x, y, c)

def frame(img, x0, y0, x1, y1, c):
    for x in range(x0, x1 + 1):
        put(img, x, y0, c); put(img, x, y1, c)
    for y in range(y0, y1 + 1):
        put(img, x0, y, c); put(img, x1, y, c)

YELLOW, DARK_YELLOW, BROWN = (255, 214, 90), (222, 170, 40), (128, 90, 20)
BLUE, DARK_BLUE, WHITE, GREY = (60, 120, 220), (20, 50, 140), (255, 255, 255), (150, 150, 150)
GREEN, RED, BLACK = (30, 150, 50), (200, 40, 40), (0, 0, 0)

def folder(img):
    rect(img, 1, 3, 6, 4, DARK_YELLOW)          # tab
    rect(img, 1, 5, 14, 13, YELLOW)
    frame(img, 1, 5, 14, 13, BROWN)
    for x in range(1, 7):
        put(img, x, 3, BROWN)
    put(img, 1, 4, BROWN); put(img, 7, 4, BROWN)

def envelope(img, x0, y0, x1, y1):
    rect(img, x0, y0, x1, y1, WHITE)
    frame(img, x0, y0, x1, y1, DARK_BLUE)
    mid = (x0 + x1) // 2
    for i in range(0, mid - x0 + 1):
        put(img, x0 + i, y0 + i // 2 + 1, DARK_BLUE)
        put(img, x1 - i, y0 + i // 2 + 1, DARK_BLUE)

# 0: the top item, a blue globe behind an envelope
for y in range(H):
    for x in range(W):
        if (x - 7.5) ** 2 + (y - 6.5) ** 2 <= 36:
            put(0, x, y, BLUE if (x + y) % 5 else GREEN)
envelope(0, 3, 8, 13, 14)

# 1: local folders, two folders stacked
rect(1, 3, 1, 8, 2, DARK_YELLOW)
rect(1, 3, 3, 15, 9, DARK_YELLOW); frame(1, 3, 3, 15, 9, BROWN)
rect(1, 0, 6, 12, 14, YELLOW); frame(1, 0, 6, 12, 14, BROWN)

# 2 inbox: folder with a green arrow pointing down
folder(2)
rect(2, 7, 6, 8, 10, GREEN)
for i, y in enumerate(range(10, 13)):
    rect(2, 5 + i, y, 10 - i, y, GREEN)

# 3 outbox: folder with a blue arrow pointing up
folder(3)
for i, y in enumerate(range(6, 9)):
    rect(3, 7 - i, y, 8 + i, y, BLUE)
rect(3, 7, 9, 8, 12, BLUE)

# 4 sent items: folder with an envelope
folder(4)
envelope(4, 4, 7, 12, 12)

# 5 deleted items: a grey waste bin
rect(5, 4, 4, 11, 14, GREY); frame(5, 4, 4, 11, 14, BLACK)
rect(5, 3, 2, 12, 3, BLACK); rect(5, 6, 1, 9, 1, BLACK)
for x in (6, 8, 10):
    rect(5, x, 6, x, 12, BLACK)

# 6 drafts: a page with a red pencil stroke
rect(6, 3, 1, 12, 14, WHITE); frame(6, 3, 1, 12, 14, GREY)
for y in (4, 6, 8):
    rect(6, 5, y, 10, y, GREY)
for i in range(6):
    put(6, 8 + i // 2 + i % 2, 13 - i, RED); put(6, 9 + i // 2, 13 - i, RED)

# 7 any other folder
folder(7)


write_bmp(os.path.join(os.path.dirname(os.path.abspath(__file__)), "folders.bmp"), px)
