#!/usr/bin/env python3
"""Writes the program's own data tables of the installed tree (data/tree/).

    python3 tools/datatables/make_tables.py [<tree>]      (default: data/tree beside this repo)

Texts are written here in UTF-8 and turned into CP932 by the system's iconv (the same codec
the program uses), lines end in CR LF. Table files use the program's fixed-width layout:
line 1 row and column counts, line 2 the column widths, each right-aligned in 6 characters,
then one row per line with every field right-aligned in its width, as the program itself
writes them. Run again after a change; the output is the same byte for byte.

Files written (paths inside the tree):
  DATA/利用環境.WIN, DATA/利用環境.ORG   settings rows 0..20 and their factory copy
  DATA/DAT/エラー文.DAT                   numbered error texts: "NNN text", text in bytes 5..74
  DATA/DAT/都々逸.DAT                     81-byte records: a length byte and 80 bytes of text
  DATA/DAT/単位系SIW.DAT                  unit names: engineering unit -> SI unit
  DATA/DAT/国名.DAT                       countries: name, folder, code (Japan first)
  DATA/DAT/観測年度.DAT                   years: name, number, two-character code
  DATA/DAT/印刷用紙.DAT                   papers: "name(WIDTHxHEIGHT)", the last row the fallback
  DATA/COLOR/標準色.COL                   256 palette lines: "%5d $BBGGRR name"
  .keep files in the empty folders of the folder table
"""

import colorsys

from tablefile import cp932, table, write


# ---- Settings: 21 rows of 40 characters ------------------------------------------------------
SETTINGS = [
    "HarvSim 利用環境ファイル",              # 0  carried along
    "雨水利用シミュレーション",              # 1  carried along
    "Linux",                                 # 2  system name
    "ﾒﾓﾘ:1024MB(512MB) CRT:1280x1024",       # 3  rewritten at start-up
    "Windows Drive[C:]",                     # 4
    "Start Drive[C:]",                       # 5
    "\\",                                    # 6  base folder, rewritten at start-up
    "",                                      # 7
    "C:...DATA\\",                           # 8
    "雨水利用シミュレーション Ver2.00",      # 9
    "HarvSim Ver.2.00 (国№ 1)",              # 10
    "2000/01/01 00:00:00",                   # 11
    "C:...CAL\\HVS\\",                       # 12 last file: the sample case, stored form
    "TEST_HVS",                              # 13
    ".HVS",                                  # 14
    "FD[A:] CD[  ] MC[  ] HD[C:]",           # 15
    " " * 10 + "[224][226][228][230][232][234]",  # 16 colour groups
    " " * 10 + "[236][238][240][242][244][246]",  # 17
    " " * 10 + "[164][168][176][187][201][202]",  # 18
    "標準色.COL",                            # 19 palette file in DATA\COLOR\
    "",                                      # 20 carried along
]
assert len(SETTINGS) == 21
for name in ("利用環境.WIN", "利用環境.ORG"):
    table("DATA/" + name, [40], [[r] for r in SETTINGS])

# ---- Error texts: number in bytes 1-3, text in bytes 5-74 -----------------------------------
ERRORS = [
    (500, "処理を中断しました。"),
    (511, "保存先のファイルが読取り専用などのため、書き込めません。"),
    (521, "表ファイルの行数が多すぎます（999行まで）。"),
    (522, "先頭から999行だけを読み込みます。"),
]
texts = cp932([t for _, t in ERRORS])
lines = []
for (no, _), t in zip(ERRORS, texts):
    assert len(t) <= 70, no
    lines.append(b"%3d " % no + t)
write("DATA/DAT/エラー文.DAT", b"".join(l + b"\r\n" for l in lines))

# ---- Joke lines: records of a length byte and 80 bytes --------------------------------------
DODOITSU = [
    "降った雨水 溜めればお宝 撒けば庭木も 笑い出す",
    "梅雨の長雨 恨みはしない タンク満々 夏支度",
    "空の恵みを 屋根から集め 流すトイレも 雨頼み",
    "日照り続きで タンクは空よ 待つは夕立 雷様",
    "十五年分の 雨から答え 出して見せます 貯水槽",
    "小さな槽でも 使えば減らす 水道代も 下水道も",
    "打ち水すれば 雨水とても 涼しい風を 連れてくる",
]
records = b""
for t in cp932(DODOITSU):
    assert len(t) <= 80
    records += bytes([len(t)]) + t + b" " * (80 - len(t))
write("DATA/DAT/都々逸.DAT", records)

# ---- Unit names: column 1 is looked for in a unit text (after "㎡" became "m2"), the first
# matching row wins, so longer names come first.
table("DATA/DAT/単位系SIW.DAT", [16, 16], [
    ["kcal/m2h", "W/m2"],
    ["kcal/m2日", "Wh/m2日"],
    ["x100kcal", "x100Wh"],
    ["Mcal", "kWh"],
    ["kcal/h", "W"],
    ["kcal", "Wh"],
])

# ---- Countries: name, folder under WCD\, code of the station tables ------------------------
table("DATA/DAT/国名.DAT", [20, 10, 8], [
    ["日本", "JAPAN", "JPN"],
    ["アメリカ合衆国", "USA", "USA"],
    ["中国", "CHINA", "CHN"],
    ["チリ", "CHILE", "CHL"],
])

# ---- Years: name, year number, code (".H" + code ends a station's daily file name) --------
table("DATA/DAT/観測年度.DAT", [10, 6, 4],
      [["標準年", "1990", "AV"]] + [["%d年" % y, str(y), "%02d" % (y % 100)] for y in range(1981, 1996)])

# ---- Papers: "(" + width "x" height in mm; "横" marks landscape; the last row is the fallback
papers = [("A4", 210, 297), ("A3", 297, 420), ("B4", 257, 364), ("B5", 182, 257), ("Letter", 216, 279)]
rows = [["%s(%dx%d)" % (n, w, h)] for n, w, h in papers]
rows += [["%s横(%dx%d)" % (n, h, w)] for n, w, h in papers]
rows += [["その他の用紙（A4扱い）"]]
table("DATA/DAT/印刷用紙.DAT", [24], rows)

# ---- Palette: 256 entries, entry i on line i + 1, "$BBGGRR" in characters 7-13 -------------
def rgb(h):
    return ((h >> 16) & 255, (h >> 8) & 255, h & 255)


def mix(c, other, f):
    return tuple(round(a + (b - a) * f) for a, b in zip(c, other))


palette = [None] * 256
names = [""] * 256
# 0-15: the sixteen standard colours (-1 .. -15 name the same entries).
std16 = [(0x000000, "黒"), (0x800000, "えび茶"), (0x008000, "緑"), (0x808000, "オリーブ"),
         (0x000080, "紺"), (0x800080, "紫"), (0x008080, "青緑"), (0x808080, "灰色"),
         (0xC0C0C0, "銀"), (0xFF0000, "赤"), (0x00FF00, "黄緑"), (0xFFFF00, "黄"),
         (0x0000FF, "青"), (0xFF00FF, "赤紫"), (0x00FFFF, "水色"), (0xFFFFFF, "白")]
for i, (h, n) in enumerate(std16):
    palette[i], names[i] = rgb(h), n
# 16-31: greys from black to white.
for k in range(16):
    v = round(k * 255 / 15)
    palette[16 + k], names[16 + k] = (v, v, v), "灰%d" % k
# 32-159: eight hues in sixteen steps from dark to light.
HUES = [(0.0, "赤"), (0.08, "橙"), (0.15, "黄"), (0.33, "緑"), (0.5, "青緑"), (0.62, "青"),
        (0.75, "青紫"), (0.88, "赤紫")]
for hi, (hue, n) in enumerate(HUES):
    for k in range(16):
        light = 0.15 + 0.7 * k / 15
        r, g, b = colorsys.hls_to_rgb(hue, light, 0.85)
        palette[32 + 16 * hi + k] = (round(r * 255), round(g * 255), round(b * 255))
        names[32 + 16 * hi + k] = "%s%d" % (n, k)
# 160-223: pale tints of the eight hues for backgrounds of grids and panels.
for hi, (hue, n) in enumerate(HUES):
    r, g, b = colorsys.hls_to_rgb(hue, 0.5, 0.9)
    base = (r * 255, g * 255, b * 255)
    for k in range(8):
        palette[160 + 8 * hi + k] = mix(base, (255, 255, 255), 0.55 + 0.055 * k)
        names[160 + 8 * hi + k] = "淡%s%d" % (n, k)
# 224-238: fifteen line colours, well apart, for the years 1981-1995 and the tank sizes.
LINES = [0x1F77B4, 0xFF7F0E, 0x2CA02C, 0xD62728, 0x9467BD, 0x8C564B, 0xE377C2, 0x7F7F7F,
         0xBCBD22, 0x17BECF, 0x393B79, 0xAD494A, 0x637939, 0x8C6D31, 0x7B4173]
for k, h in enumerate(LINES):
    palette[224 + k], names[224 + k] = rgb(h), "線%d" % (k + 1)
palette[239], names[239] = rgb(0x404040), "濃灰"
# 240-253: the line colours lightened, for fills; 254 the hidden tank; 255 white.
for k in range(14):
    palette[240 + k], names[240 + k] = mix(palette[224 + k], (255, 255, 255), 0.5), "淡線%d" % (k + 1)
palette[254], names[254] = rgb(0xD0D0D0), "非表示"
palette[255], names[255] = (255, 255, 255), "白"
assert all(p is not None for p in palette)
name_bytes = cp932(names)
lines = [b"%5d $%02X%02X%02X " % (i, b, g, r) + name_bytes[i] for i, (r, g, b) in enumerate(palette)]
write("DATA/COLOR/標準色.COL", b"".join(l + b"\r\n" for l in lines))

# ---- Empty folders of the folder table ------------------------------------------------------
for folder in ("DATA/QZDAT", "DATA/CITY", "DATA/PICT", "DATA/HELP",
               "CAD", "EDS", "NQZ", "QZCAL", "QZGAL", "QZLOG", "QZWCD"):
    write(folder + "/.keep", b"")
