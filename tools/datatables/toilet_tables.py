#!/usr/bin/env python3
"""Writes the two toilet tables of screen 1 into the installed tree (data/tree/DATA/DAT/).

    python3 tools/datatables/toilet_tables.py [<tree>]     (default: data/tree beside this repo)

Both are table files in the program's fixed-width layout (line 1 row and column counts, line 2
the column widths, each right-aligned in 6 characters, then one row per line with every field
right-aligned in its width), CP932 through the system's iconv, lines ending in CR LF. Running the
script again gives the same bytes.

トイレ頻度.DAT  facility uses: the use combo of the toilet detail lists column 1; the uses of a
                toilet per person and day come from the row of the facility use, column
                2 + (sex - 1) x 2 + (class - 1):
                  1 use name (at most 12 bytes: it is stored in a 12-byte cell)
                  2 men, WC pan (大便器)      3 men, urinal (小便器)
                  4 women, WC pan            5 women, urinal (always 0)
                  6 whom the figures count (the users the facility's head count means)
トイレ種類.DAT  toilet fixtures: the kind combo of a detail row lists column 1; the litres per
                flush come from the row of the fixture, column 2 + type:
                  1 fixture name (at most 29 bytes)
                  2 class: 1 WC pan (大), 2 urinal (小)
                  3 litres per flush, conventional (従来型)
                  4 litres per flush, water-saving (節水型)
                  5 flushing mechanism

Where the figures come from:
- Uses per person and day are rounded design values of the kind Japanese building-services
  handbooks and rainwater-use design guides tabulate for sizing toilets and water use by building
  use (office workers about 0.3 WC and 2.5 to 3 urinal uses a day for men and about 3 WC uses for
  women; fewer for visitors of shops, halls and stations; more for residents of hospitals and
  care homes). They are typical values for a first estimate, not the figures of one edition;
  the user can change every value of a detail row on the screen.
- Litres per flush follow the program's own fixture defaults (low tank 12 / 8 litres, flush
  valve 15 / 13 litres for conventional / water-saving WC pans) and the usual urinal volumes
  (about 4 to 6 litres conventional, 2 to 4 litres water-saving), in line with the volume
  classes of the Japanese sanitary-ware standard for water-saving fixtures.
The row order of トイレ種類.DAT is part of the stored cases: a detail row keeps the fixture's row
number, so rows are only ever added at the end.
"""

from tablefile import cp932, table


# Facility uses: name, men WC / urinal, women WC / urinal (uses per person and day), basis.
USES = [
    ("事務所", 0.3, 2.8, 3.0, 0.0, "在勤者1人当たり"),
    ("庁舎", 0.3, 2.8, 3.0, 0.0, "職員1人当たり（来庁者別）"),
    ("学校", 0.2, 2.0, 2.2, 0.0, "児童・生徒・教職員1人当たり"),
    ("病院", 0.6, 3.0, 3.6, 0.0, "入院患者・職員1人当たり"),
    ("老人福祉施設", 1.0, 3.5, 4.5, 0.0, "入所者・職員1人当たり"),
    ("ホテル", 0.6, 2.5, 3.1, 0.0, "宿泊者1人当たり"),
    ("工場", 0.3, 2.8, 3.0, 0.0, "従業員1人当たり"),
    ("店舗", 0.1, 0.6, 0.8, 0.0, "来客1人当たり"),
    ("百貨店", 0.1, 0.8, 1.0, 0.0, "来客1人当たり"),
    ("飲食店", 0.1, 0.6, 0.8, 0.0, "来客1人当たり"),
    ("劇場・映画館", 0.1, 1.0, 1.2, 0.0, "観客1人当たり"),
    ("体育館", 0.1, 1.0, 1.2, 0.0, "利用者1人当たり"),
    ("図書館", 0.1, 0.8, 1.0, 0.0, "利用者1人当たり"),
    ("公民館", 0.1, 0.8, 1.0, 0.0, "利用者1人当たり"),
    ("住宅", 1.0, 3.8, 4.8, 0.0, "居住者1人当たり（参考）"),
]

# Fixtures: name, class (1 WC pan, 2 urinal), litres conventional / water-saving, mechanism.
KINDS = [
    ("大便器（洋式）", 1, 12.0, 8.0, "ロータンク式"),
    ("小便器", 2, 6.0, 4.0, "洗浄弁式"),
    ("大便器（洋式・洗浄弁）", 1, 15.0, 13.0, "洗浄弁式"),
    ("小便器（自動洗浄）", 2, 4.0, 2.0, "センサー自動洗浄"),
]


def number(x):
    """One decimal: the detail rows keep uses and litres with one decimal."""
    assert round(x, 1) == x, x
    return "%.1f" % x


for name, *_ in USES:
    assert len(cp932([name])[0]) <= 12, name
for name, *_ in KINDS:
    assert len(cp932([name])[0]) <= 29, name

table("DATA/DAT/トイレ頻度.DAT", [16, 8, 8, 8, 8, 30],
            [[n, number(a), number(b), number(c), number(d), note] for n, a, b, c, d, note in USES])
table("DATA/DAT/トイレ種類.DAT", [30, 4, 8, 8, 20],
            [[n, str(k), number(a), number(b), note] for n, k, a, b, note in KINDS])
