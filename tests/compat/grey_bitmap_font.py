#!/usr/bin/env python3
"""Writes a small TrueType font whose glyphs also come as embedded bitmaps of
2 or 4 bits per pixel at 16 pixels per em, which no font Debian ships has:
the text tests hold the compatibility SDL_ttf to SDL_ttf with it.

    grey_bitmap_font.py DEPTH OUTPUT.ttf

The outlines are boxes; the bitmaps hold every grey level of their depth, so
that each level is drawn as ink or not as SDL_ttf decides.
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
        pen.moveTo((50, -200))
        pen.lineTo((50, 700))
        pen.lineTo((550, 700))
        pen.lineTo((550, -200))
        pen.closePath()
    glyphs[name] = pen.glyph()
fb.setupGlyf(glyphs)
fb.setupHorizontalMetrics({name: (600, 50) for name in names})
fb.setupHorizontalHeader(ascent=800, descent=-200)
fb.setupNameTable({"familyName": "Grey%d" % depth, "styleName": "Regular"})
fb.setupOS2(sTypoAscender=800, sTypoDescender=-200, usWinAscent=800, usWinDescent=200)
fb.setupPost()
font = fb.font

# Glyph k's bitmap: width 5 + k, height 9, bearing -1 + k (g and j reach
# below the baseline), every level in turn along each row.
levels = 1 << depth
strikes, locations = [], []
for index, name in enumerate(names):
    width, height = 5 + index, 9
    rows = []
    for y in range(height):
        bits = "".join(format((x + y * 3 + index) % levels, "0%db" % depth) for x in range(width))
        bits += "0" * (-len(bits) % 8)
        rows.append(" ".join("%02x" % int(bits[i:i + 8], 2) for i in range(0, len(bits), 8)))
    strikes.append("""
    <ebdt_bitmap_format_1 name="%s">
      <SmallGlyphMetrics>
        <height value="%d"/><width value="%d"/><BearingX value="%d"/>
        <BearingY value="%d"/><Advance value="%d"/>
      </SmallGlyphMetrics>
      <rawimagedata>%s</rawimagedata>
    </ebdt_bitmap_format_1>""" % (name, height, width, index - 1, 7 - index, width + 1,
                                  " ".join(rows)))
    locations.append('<glyphLoc id="%d" name="%s"/>' % (index, name))
line = """<sbitLineMetrics direction="%s"><ascender value="13"/><descender value="-3"/>
  <widthMax value="10"/><caretSlopeNumerator value="1"/><caretSlopeDenominator value="0"/>
  <caretOffset value="0"/><minOriginSB value="0"/><minAdvanceSB value="0"/>
  <maxBeforeBL value="13"/><minAfterBL value="-3"/><pad1 value="0"/><pad2 value="0"/>
  </sbitLineMetrics>"""
xml = """<?xml version="1.0" encoding="UTF-8"?>
<ttFont sfntVersion="\\x00\\x01\\x00\\x00" ttLibVersion="4.38">
<EBLC><header version="2.0"/><strike index="0"><bitmapSizeTable>%s%s
  <colorRef value="0"/><startGlyphIndex value="0"/><endGlyphIndex value="%d"/>
  <ppemX value="16"/><ppemY value="16"/><bitDepth value="%d"/><flags value="1"/>
  </bitmapSizeTable>
  <eblc_index_sub_table_1 imageFormat="1" firstGlyphIndex="0" lastGlyphIndex="%d">%s
  </eblc_index_sub_table_1></strike></EBLC>
<EBDT><header version="2.0"/><strikedata index="0">%s</strikedata></EBDT>
</ttFont>""" % (line % "hori", line % "vert", len(names) - 1, depth, len(names) - 1,
                "".join(locations), "".join(strikes))
xml_path = output + ".ttx"
with open(xml_path, "w") as f:
    f.write(xml)
font.importXML(xml_path)
font.save(output)
