#!/usr/bin/env python3
"""Writes a small TrueType font whose glyphs also come as embedded bitmaps of
2 or 4 bits per pixel at 16 pixels per em, which no font Debian ships has:
the text tests hold the compatibility SDL_ttf to SDL_ttf with it.

    grey_bitmap_font.py DEPTH OUTPUT.ttf

The outlines are boxes; the bitmaps hold every grey level of their depth.
"""
import sys

from fontTools.fontBuilder import FontBuilder
from fontTools.pens.ttGlyphPen import TTGlyphPen

depth, output = int(sys.argv[1]), sys.argv[2]
names = [".notdef", "A", "g", "j", "space"]
fb = FontBuilder(1000, isTTF=True)
fb.setupGlyphOrder(names)
fb.setupCharacterMap({ord("A"): "A", ord("g"): "g", ord("j"): "j", ord(" "): "space"})
glyphs = {}
for name in names:
    pen = TTGlyphPen(None)
    if name != "space":
        for point in [(50, -200), (50, 700), (550, 700), (550, -200)]:
            (pen.lineTo if pen.points else pen.moveTo)(point)
        pen.closePath()
    glyphs[name] = pen.glyph()
fb.setupGlyf(glyphs)
fb.setupHorizontalMetrics({name: (600, 50) for name in names})
fb.setupHorizontalHeader(ascent=800, descent=-200)
fb.setupNameTable({"familyName": "Grey%d" % depth, "styleName": "Regular"})
fb.setupOS2(sTypoAscender=800, sTypoDescender=-200, usWinAscent=800, usWinDescent=200)
fb.setupPost()

# Glyph k's bitmap: 5 + k wide, 9 high, bearing k - 1 (g and j reach below
# the baseline), the levels in turn along each row.
bitmaps, locations = "", ""
for k, name in enumerate(names):
    width, rows = 5 + k, []
    for y in range(9):
        bits = "".join(format((x + y * 3 + k) % (1 << depth), "0%db" % depth) for x in range(width))
        bits += "0" * (-len(bits) % 8)
        rows += ["%02x" % int(bits[i:i + 8], 2) for i in range(0, len(bits), 8)]
    bitmaps += ('<ebdt_bitmap_format_1 name="%s"><SmallGlyphMetrics><height value="9"/>'
                '<width value="%d"/><BearingX value="%d"/><BearingY value="%d"/>'
                '<Advance value="%d"/></SmallGlyphMetrics><rawimagedata>%s</rawimagedata>'
                '</ebdt_bitmap_format_1>') % (name, width, k - 1, 7 - k, width + 1, " ".join(rows))
    locations += '<glyphLoc id="%d" name="%s"/>' % (k, name)
line = "".join('<%s value="%d"/>' % field for field in [
    ("ascender", 13), ("descender", -3), ("widthMax", 10), ("caretSlopeNumerator", 1),
    ("caretSlopeDenominator", 0), ("caretOffset", 0), ("minOriginSB", 0), ("minAdvanceSB", 0),
    ("maxBeforeBL", 13), ("minAfterBL", -3), ("pad1", 0), ("pad2", 0)])
last = len(names) - 1
with open(output + ".ttx", "w") as f:
    f.write('<ttFont sfntVersion="\\x00\\x01\\x00\\x00" ttLibVersion="4.38"><EBLC>'
            '<header version="2.0"/><strike index="0"><bitmapSizeTable>'
            '<sbitLineMetrics direction="hori">%s</sbitLineMetrics>'
            '<sbitLineMetrics direction="vert">%s</sbitLineMetrics><colorRef value="0"/>'
            '<startGlyphIndex value="0"/><endGlyphIndex value="%d"/><ppemX value="16"/>'
            '<ppemY value="16"/><bitDepth value="%d"/><flags value="1"/></bitmapSizeTable>'
            '<eblc_index_sub_table_1 imageFormat="1" firstGlyphIndex="0" lastGlyphIndex="%d">'
            '%s</eblc_index_sub_table_1></strike></EBLC><EBDT><header version="2.0"/>'
            '<strikedata index="0">%s</strikedata></EBDT></ttFont>'
            % (line, line, last, depth, last, locations, bitmaps))
fb.font.importXML(output + ".ttx")
fb.font.save(output)
