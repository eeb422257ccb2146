#!/usr/bin/env python3
"""Which partners 同义词 and 反义词 keep: the rules on groups cut from the
thesaurus, and a few entries of the shipped files they decide.

Usage: python3 tests/dictionaries/test_thesaurus_rules.py [REPO_ROOT]
Prints "N passed, N failed" last; exits non-zero on a failure.
"""

import os
import sys

from rule_checks import ROOT, check, finish  # noqa: E402,F401  (puts the converter on the path)
import build_dictionaries as b  # noqa: E402
import thesaurus as th  # noqa: E402


# --- 同义词: which groups and which of their words a word gets ---------------
# Groups as the thesaurus has them, cut short.
GROUPS = [
    ["立刻", "即刻", "立时", "即时", "立地", "马上", "立即", "随即", "当即", "迅即"],
    ["商店", "铺子", "店铺", "铺户", "店家", "商行", "商号", "店", "铺", "号", "庄", "局", "肆", "柜", "公司"],
    ["包含", "含", "噙", "包孕", "带有"],
    ["叼", "含", "衔", "噙"],
    ["歼灭", "剿灭", "消灭", "解决", "全歼"],
    ["解决", "处理", "办理"],
    ["结果", "后果", "下文"],
    ["结实", "结果", "结荚"],
    ["地方", "地域", "地区"],
    ["地方", "地点", "地址"],
    ["成功", "成事", "有成", "打响", "马到成功", "水到渠成"],
    ["自取灭亡", "自作自受", "自食其果", "自掘坟墓", "咎由自取"],
]
senses = th.cilin_synonyms(GROUPS, b.Stats())
for what, word, want in [
    ("a word from the middle of a group gets its front", "马上", [["立刻", "即刻", "立时", "即时", "立地"]]),
    ("a word deep in every group it is in gets no entry", "公司", None),
    ("a side sense where the word stands deep goes; lone characters last", "噙",
     [["包含", "包孕", "带有", "含"]]),
    ("a partner that means something else first goes", "歼灭", [["剿灭", "消灭", "全歼"]]),
    ("the core group first, the side sense where it stands deep goes", "解决", [["处理", "办理"]]),
    ("a word's second sense goes where it does not lead its group", "结果", [["后果", "下文"]]),
    ("a word that leads two groups keeps both senses", "地方", [["地域", "地区"], ["地点", "地址"]]),
    ("an idiom deep in a group of plain words gets nothing", "马到成功", []),
    ("an idiom gets the idioms at the front of its group only", "自取灭亡", [["自作自受", "自食其果"]]),
]:
    check("ty: " + what, senses.get(word), want)

entries = {"鲜明": ["清晰 明显；分明"], "清晰": ["明晰"], "明显": ["鲜明"], "分明": ["清楚"], "好": ["良好"]}
th.keep_mutual(entries, b.Stats())
check("ty: a partner stays only where its own entry lists the word; lone characters are left alone", entries,
      {"鲜明": ["明显"], "明显": ["鲜明"], "好": ["良好"]})

entries = {"信汇": ["邮汇 汇款"], "跑鞋": ["球鞋 运动鞋"], "中饭": ["午饭 午餐"], "道路": ["马路 通衢"], "锻铁": ["熟铁"],
           "跑步": ["慢跑 奔跑"]}
kinds = th.PartsOfSpeech(["信汇 5 n", "邮汇 5 n", "汇款 5 n", "跑鞋 5 n", "球鞋 5 n", "运动鞋 5 n", "中饭 5 n", "午饭 5 n", "午餐 5 n",
                          "道路 5 n", "马路 5 n", "通衢 5 n", "锻铁 5 n", "熟铁 5 n", "跑步 5 v", "慢跑 5 v",
                          "奔跑 5 v"])
th.sibling_kinds_out(entries, {"中": {"中", "午"}, "午": {"中", "午"}}, kinds, b.Stats())
check("ty: another kind of the same thing goes, unless the modifiers agree or it is all the entry has", entries,
      {"信汇": ["汇款"], "跑鞋": ["球鞋 运动鞋"], "中饭": ["午饭 午餐"], "道路": ["通衢"], "锻铁": ["熟铁"], "跑步": ["慢跑 奔跑"]})

# --- 同义词: partners that cannot stand in for the word ----------------------
pos = th.PartsOfSpeech(["艰 158 a", "难题 1148 n", "周围 5681 f", "四郊 3 ns", "困人 3 n", "贫气 3 n",
                        "来得及 1000 v", "亡羊补牢 200 i", "迷魂药 20 n", "甜言蜜语 300 i",
                        "畏惧 800 v", "害怕 9000 v", "激动 2700 a", "考虑 30000 v", "着想 900 v",
                        "考量 50 v"], single_chars_out=True, strict=True)
for head, partner, want in [
    ("艰", "难题", "noun for a verb or adjective or the reverse"),
    ("周围", "四郊", "rare word for a common one"),
    ("困人", "贫气", None),  # both rare: nothing to prefer
    ("来得及", "亡羊补牢", "idiom for a plain word or the reverse"),
    ("甜言蜜语", "迷魂药", "idiom for a plain word or the reverse"),
    ("畏惧", "害怕", None),
    ("考虑", "着想", "much rarer word with no character in common"),
    ("考虑", "考量", None),  # as rare, but it shares 考
]:
    check("ty: %s~%s" % (head, partner), pos.why_not(head, partner), want)
loose = th.PartsOfSpeech(["艰 158 a", "难题 1148 n"])
check("fy: the 同义词 rules stay out of 反义词 (jieba's tags part antonyms too)", loose.why_not("艰", "难题"),
      None)

# --- 反义词: near-synonyms that the antonym list offers ----------------------
synonyms = {"回": {"回", "归"}, "归": {"回", "归"}, "上": {"上", "下"}, "下": {"上", "下"}}
opposed = {"上": {"下"}, "下": {"上"}}
for head, partner, want in [("回国", "归国", True), ("上班", "下班", False), ("回国", "归家", False),
                            ("回", "归", False), ("回国", "回国家", False)]:
    check("fy: %s~%s one synonym apart" % (head, partner),
          th.one_synonym_apart(head, partner, synonyms, opposed), want)
near = th.synonyms_of_synonyms([["末端", "末尾"], ["末尾", "结尾"], ["末端", "尾"], ["尾", "开头"]])
check("fy: a synonym of a synonym is near; lone characters link nothing",
      ("结尾" in near["末端"], "开头" in near["末端"], "尾" in near), (True, False, False))


# --- the shipped files -------------------------------------------------------
def read(name):
    with open(os.path.join(ROOT, "data", name + ".mdb"), encoding="gbk", newline="") as f:
        lines = f.read().split("\r\n")
    return {h: t.replace("；", " ").split() for h, t in (line.split("~", 1) for line in lines if "~" in line)}


ty, fy = read("ty"), read("fy")
check("ty.mdb: 马上 finds 立刻", "立刻" in ty.get("马上", ()), True)
check("ty.mdb: 公司 is no shop, 艰 no problem, 歼击 no solving",
      ["公司" in ty, "难题" in ty.get("艰", ()), "解决" in ty.get("歼击", ())], [False, False, False])
check("ty.mdb: 信汇 and 船员 lose another kind, 锻铁 keeps its other name",
      ["电汇" in ty.get("信汇", ()), "潜水员" in ty.get("船员", ()), "熟铁" in ty.get("锻铁", ())],
      [False, False, True])
check("fy.mdb: 回国~归国, 省力~省劲 and 豁然大悟~豁然贯通 are gone",
      ["归国" in fy.get("回国", ()), "省劲" in fy.get("省力", ()), "豁然贯通" in fy.get("豁然大悟", ())],
      [False, False, False])
check("fy.mdb: true antonyms stay", ["下班" in fy.get("上班", ()), "差" in fy.get("好", ())], [True, True])

finish()
