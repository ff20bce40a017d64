#!/usr/bin/env python3
"""Draws src/res/colors.bmp, bitmap 138: the seventeen 24 x 12 swatches of the
highlight colours in one strip, entry i at x = 24 * i. White (255, 255, 255)
is the image list's mask colour, so each swatch is a 22 x 10 block on a
transparent margin; the white swatch has a one-pixel black frame so that it
shows at all. The colours are those of the action editor's colour table
(src/editor/ActionEditing.cpp), in the same order.

Run: python3 src/res/make-colors-bmp.py   (rewrites src/res/colors.bmp)
"""
import os
import sys
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from bmpwrite import write_bmp

W, H = 24, 12
COLOURS = [
    (0, 0, 0),        # 0 既定
    (0, 0, 0),        # 1 黒
    (128, 0, 0),      # 2 茶色
    (0, 128, 0),      # 3 緑
    (128, 128, 0),    # 4 オリーブ
    (0, 0, 128),      # 5 紺
    (128, 0, 128),    # 6 紫
    (0, 128, 128),    # 7 青緑
    (128, 128, 128),  # 8 灰色
    (192, 192, 192),  # 9 銀色
    (255, 0, 0),      # 10 赤
    (0, 255, 0),      # 11 黄緑
    (255, 255, 0),    # 12 黄
    (0, 0, 255),      # 13 青
    (255, 0, 255),    # 14 赤紫
    (0, 255, 255),    # 15 水色
    (255, 255, 255),  # 16 白
]
WHITE, BLACK = (255, 255, 255), (0, 0, 0)
N = len(COLOURS)
px = [[WHITE] * (W * N) for _ in range(H)]

for i, colour in enumerate(COLOURS):
    x0, y0, x1, y1 = i * W + 1, 1, i * W + W - 2, H - 2
    for y in range(y0, y1 + 1):
        for x in range(x0, x1 + 1):
            px[y][x] = colour
    if colour == WHITE:
        for x in range(x0, x1 + 1):
            px[y0][x] = px[y1][x] = BLACK
        for y in range(y0, y1 + 1):
            px[y][x0] = px[y][x1] = BLACK




write_bmp(os.path.join(os.path.dirname(os.path.abspath(__file__)), "colors.bmp"), px)
