#!/usr/bin/env python3
"""Writes the tables of the monthly weather window into the installed tree (data/tree/DATA/DAT/).

    python3 tools/datatables/weather_tables.py [<tree>]     (default: data/tree beside this repo)

All are table files in the program's fixed-width layout (see tablefile.py), CP932 through the
system's iconv, lines ending in CR LF. Running the script again gives the same bytes.

気象項目.DAT   the 36 weather items of the monthly statistics file WCD\\JPN_MONT.DAT, row = item
               number: 1 item name, 2 unit (engineering units; the window converts rows 6-8
               and 13-21 to SI units through 単位系SIW.DAT).
気象項目.EXP   one column, row = item number: what the item is, whether it is observed or
               estimated (and how), then its unit and period in full-width brackets, as
               "（kcal/㎡h，月平均）". The window cuts the unit from "（" through "）" and, for the
               year column, turns the first "月" of the row into "年"; so "（" and "月" appear
               only inside the brackets.
単位系.EXP     one column: the two unit systems and the factor 1.163 between them; the window
               shows the rows joined as one message.
月次ﾌｧｲﾙ.DAT   the monthly statistics files the window offers: 1 the file in stored form
               ("..." for the program folder), 2 its kind ("QZ" or "UY").

The items follow the builder tools/wxbuild (monthly_stats.h states how each one is made).
"""

from tablefile import cp932, table

# ---- Items: name, unit, explanation (before the bracket), period (inside the bracket) -------
STANDARD = "標準年の観測値"
SPLIT = "全日射量をErbsの相関式で直達分と天空分に分けた"
SURFACE = ("推定値：全日射量を直達分と天空分に分け、等方性天空モデル、"
           "地面の反射率0.2で面の向きと傾きに応じて求めた")
SAME = "東向きと西向きは同じ値になる"


def surface_rows(kind, what):
    rows = []
    for side, word in (("東", "東向き"), ("西", "西向き"), ("南", "南向き"), ("北", "北向き")):
        text = "%s%s：%sの%sが受ける日射の一日量。%s" % (kind, side, word, what, SURFACE)
        if side in "東西":
            text += "。" + SAME
        rows.append(("%s%s" % (kind, side), "kcal/㎡日", text, "月平均"))
    return rows


ITEMS = [
    ("平均気温", "℃", "平均気温：日平均気温の平均。" + STANDARD, "月平均"),
    ("降水量", "mm", "降水量：日降水量の合計。" + STANDARD + "。欠測日の分は含まない", "月合計"),
    ("降水日数", "日", "降水日数：日降水量が1mm以上の日数。" + STANDARD, "月合計"),
    ("日最大降水量", "mm", "日最大降水量：日降水量の最大値。" + STANDARD, "月最大"),
    ("風速", "m/s", "風速：日平均風速の平均。" + STANDARD, "月平均"),
    ("全天日射量", "kcal/㎡h", "全天日射量：水平面が受ける日射の一日量を24で割った値。"
     "推定値：日照時間と緯度から求めた全日射量による", "月平均"),
    ("直達日射量", "kcal/㎡h", "直達日射量：全天日射量のうち太陽から直接届く分。推定値：" + SPLIT, "月平均"),
    ("天空日射量", "kcal/㎡h", "天空日射量：全天日射量のうち空で散乱して届く分。推定値：" + SPLIT, "月平均"),
    ("最高気温", "℃", "最高気温：日最高気温の平均。" + STANDARD, "月平均"),
    ("最低気温", "℃", "最低気温：日最低気温の平均。" + STANDARD, "月平均"),
    ("極暑気温", "℃", "極暑気温：日最高気温の最高値。" + STANDARD, "月最高"),
    ("極寒気温", "℃", "極寒気温：日最低気温の最低値。" + STANDARD, "月最低"),
    ("全日射量", "kcal/㎡日", "全日射量：水平面が受ける日射の一日量。推定値：日照時間nと、緯度から"
     "求めた可照時間N・大気外日射量H0により、Angstrom-Prescott式 H=(0.25+0.50n/N)H0 で求めた",
     "月平均"),
] + surface_rows("４寸傾", "4/10勾配の屋根面") + surface_rows("垂直壁", "垂直な壁面") + [
    ("日照時間", "h", "日照時間：日照時間の合計。" + STANDARD + "。1986年ごろまでの値は、"
     "日照計が更新された後の値より1～4割ほど多めに出ている", "月合計"),
    ("相対湿度", "%", "相対湿度：日平均相対湿度の平均。" + STANDARD + "。観測は気象台・測候所のみで、"
     "アメダス地点は空欄", "月平均"),
    ("土中温度", "℃", "土中温度：深さ1mの地中温度。推定値：平均気温の年周期の第1調和成分から、"
     "土の温度拡散率を0.05㎡/日として熱伝導の周期解で求めた", "月平均"),
] + [
    ("暖房度日%d" % b, "℃日", "暖房度日%d：日平均気温が%d℃を下回る分の合計。標準年の日別観測値から"
     "求めた。欠測日は前後の観測値から補間" % (b, b), "月合計") for b in (10, 12, 14, 16, 18, 20)
] + [
    ("冷房度日%d" % b, "℃日", "冷房度日%d：日平均気温が%d℃を上回る分の合計。標準年の日別観測値から"
     "求めた。欠測日は前後の観測値から補間" % (b, b), "月合計") for b in (18, 20, 22, 24, 26, 28)
]
assert len(ITEMS) == 36
explanations = []
for name, unit, text, period in ITEMS:
    assert "月" not in text and "（" not in text and "）" not in text, name
    explanations.append("%s（%s，%s）" % (text, unit, period))
# The window searches bytes: "月" and "（" must not also appear across two characters.
for t in cp932(explanations):
    assert t.count(cp932(["月"])[0]) == 1 and t.count(cp932(["（"])[0]) == 1, t


def width(texts):
    return max(len(t) for t in cp932(texts))


table("DATA/DAT/気象項目.DAT", [16, 12], [[name, unit] for name, unit, _, _ in ITEMS])
table("DATA/DAT/気象項目.EXP", [width(explanations)], [[t] for t in explanations])

# ---- Unit systems ---------------------------------------------------------------------------
UNITS = [
    "【単位系】日射量の単位だけが変わります。",
    "工学単位：kcal/㎡h（時間当たり）、kcal/㎡日（一日当たり）",
    "ＳＩ単位：W/㎡（時間当たり）、Wh/㎡日（一日当たり）",
    "換算：1 kcal/㎡h = 1.163 W/㎡、1 kcal/㎡日 = 1.163 Wh/㎡日",
    "気温・降水量・風速・日照時間・湿度・度日の単位はどちらも同じです。",
]
table("DATA/DAT/単位系.EXP", [width(UNITS)], [[t] for t in UNITS])

# ---- Monthly statistics files ---------------------------------------------------------------
table("DATA/DAT/月次ﾌｧｲﾙ.DAT", [40, 4], [["C:...WCD\\JPN_MONT.DAT", "UY"]])
