#!/usr/bin/env python3
"""Does a search announce first what a person wants?

Usage: python3 tests/dictionaries/test_reader_order.py [DATA_DIR]

A search returns the lines whose head contains the search text, in file order,
and the program announces the first.  Two checks on the shipped phrase files:

- typed whole, a head comes back first: for a fixed-seed random sample of
  heads of each file, the first line whose head contains it is that head
  (at least 99 %);
- everyday queries: the entry a learner wants is among the first three
  matches for at least 90 % of the table below.

Prints "N passed, N failed" last; exits non-zero on a failure.
"""

import os
import random
import sys

PHRASE_FILES = ["xh", "cy", "ty", "fy", "gw"]
SAMPLE = 2000
HEADS_FIRST = 0.99
QUERIES_IN_TOP3 = 0.90

# (file, what a learner types, the entry they want)
QUERIES = [
    ("xh", "灯笼", "外甥打灯笼"),
    ("xh", "外甥", "外甥打灯笼"),
    ("xh", "黄鼠狼", "黄鼠狼给鸡拜年"),
    ("xh", "竹篮", "竹篮打水"),
    ("xh", "哑巴", "哑巴吃黄连"),
    ("xh", "猪八戒", "猪八戒照镜子"),
    ("xh", "孔夫子", "孔夫子搬家"),
    ("xh", "泥菩萨", "泥菩萨过江"),
    ("xh", "肉包子", "肉包子打狗"),
    ("xh", "司马昭", "司马昭之心"),
    ("xh", "豆腐", "小葱拌豆腐"),
    ("xh", "芝麻", "芝麻开花"),
    ("xh", "姜太公", "姜太公钓鱼"),
    ("xh", "秀才", "秀才遇见兵"),
    ("xh", "和尚", "和尚打伞"),
    ("xh", "吕洞宾", "狗咬吕洞宾"),
    ("xh", "老鼠过街", "老鼠过街"),
    ("xh", "鹅毛", "千里送鹅毛"),
    ("xh", "八仙", "八仙过海"),
    ("xh", "臭皮匠", "三个臭皮匠"),
    ("cy", "一心", "一心一意"),
    ("cy", "画蛇", "画蛇添足"),
    ("cy", "守株", "守株待兔"),
    ("cy", "马到", "马到成功"),
    ("cy", "亡羊", "亡羊补牢"),
    ("cy", "自相", "自相矛盾"),
    ("cy", "井底", "井底之蛙"),
    ("cy", "对牛", "对牛弹琴"),
    ("cy", "卧薪", "卧薪尝胆"),
    ("cy", "胸有", "胸有成竹"),
    ("cy", "刻舟", "刻舟求剑"),
    ("cy", "半途", "半途而废"),
    ("cy", "一举", "一举两得"),
    ("cy", "三心", "三心二意"),
    ("cy", "狐假", "狐假虎威"),
    ("cy", "叶公", "叶公好龙"),
    ("cy", "四面", "四面楚歌"),
    ("cy", "千方", "千方百计"),
    ("cy", "实事", "实事求是"),
    ("cy", "五颜", "五颜六色"),
    ("ty", "好", "好"),
    ("ty", "马", "马"),
    ("ty", "大", "大"),
    ("ty", "高兴", "高兴"),
    ("ty", "美丽", "美丽"),
    ("ty", "马上", "马上"),
    ("ty", "干净", "干净"),
    ("ty", "聪明", "聪明"),
    ("ty", "朋友", "朋友"),
    # 马到成功 has no synonym in the thesaurus (its group offers 水到渠成
    # 功成名就 因人成事 …); 马到 is asked of 成语 above.
    ("ty", "马上", "马上"),
    ("fy", "高兴", "高兴"),
    ("fy", "好", "好"),
    ("fy", "大", "大"),
    ("fy", "美丽", "美丽"),
    ("fy", "干净", "干净"),
    ("fy", "快", "快"),
    ("fy", "冷", "冷"),
    ("fy", "勇敢", "勇敢"),
    ("gw", "学而时习之", "子曰：学而时习之，不亦说乎？"),
    ("gw", "三人行", "子曰：三人行，必有我师焉。"),
    ("gw", "温故而知新", "子曰：温故而知新，可以为师矣。"),
    ("gw", "己所不欲", "己所不欲，勿施于人。"),
    ("gw", "知之为知之", "知之为知之，不知为不知，是知也。"),
    ("gw", "逝者如斯", "子在川上曰：逝者如斯夫！不舍昼夜。"),
    ("gw", "有朋自远方来", "有朋自远方来，不亦乐乎？"),
    ("gw", "老吾老", "老吾老，以及人之老；幼吾幼，以及人之幼。"),
    ("gw", "得道者多助", "得道者多助，失道者寡助。"),
    ("gw", "道可道", "道可道，非常道；名可名，非常名。无名天地之始，有名万物之母。"),
    ("gw", "上善若水", "上善若水，水善利万物而不争。"),
    ("gw", "人之初", "人之初，性本善。"),
    ("gw", "不积跬步", "故不积跬步，无以至千里；不积小流，无以成江海。"),
    ("gw", "北冥有鱼", "北冥有鱼，其名为鲲。"),
    ("gw", "子非鱼", "惠子曰：子非鱼，安知鱼之乐？"),
    ("gw", "燕雀安知", "陈涉太息曰：嗟乎，燕雀安知鸿鹄之志哉！"),
    ("gw", "民为贵", "孟子曰：民为贵，社稷次之，君为轻。"),
    ("gw", "天时不如地利", "孟子曰：天时不如地利，地利不如人和。"),
    ("gw", "至于斯", "子在齐闻《韶》，三月不知肉味，曰：不图为乐之至于斯也。"),
    # Entries the errata and the rules mended: a learner types them too.
    ("cy", "有的放矢", "有的放矢"),
    ("cy", "惊心", "惊心动魄"),
    ("cy", "物美", "物美价廉"),
    ("cy", "安分", "安分守己"),
    ("cy", "称体", "称体裁衣"),
    ("cy", "无可奈何", "无可奈何"),
    ("fy", "行将就木", "行将就木"),
    ("fy", "干燥", "干燥"),
    ("fy", "干脆", "干脆"),
    # 反义词 of 乳臭未干 offered no true opposite once read whole; 同义词 has it.
    ("ty", "乳臭未干", "乳臭未干"),
    ("fy", "臭名昭著", "臭名昭著"),  # was 臭名昭着
    ("fy", "走投无路", "走投无路"),  # 走头无路 beside it went
    # 冲动 (impulsive) and 激动 (excited) went as partners of each other: it has no entry now.
    ("ty", "艰巨", "艰巨"),
    ("ty", "提倡", "提倡"),
    ("ty", "卡通", "卡通"),
    ("ty", "立刻", "立刻"),
    ("fy", "温暖", "温暖"),
    ("fy", "听天由命", "听天由命"),
    ("xh", "牛皮袄子", "牛皮袄子反穿"),
    ("gw", "苛政猛于虎", "夫子曰：小子识之，苛政猛于虎也。"),
    ("xh", "程咬金", "半路上杀出个程咬金"),
    ("xh", "猪八戒散伙", "猪八戒散伙"),
    ("xh", "兵卒", "棋盘里的兵卒"),
    ("xh", "套绳索", "鼻梁上套绳索"),
    ("cy", "扭转乾坤", "扭转乾坤"),
    ("cy", "整顿乾坤", "整顿乾坤"),
    ("cy", "众难群疑", "众难群疑"),
    ("cy", "蒹葭", "蒹葭倚玉"),
]


def read_heads(path):
    with open(path, "rb") as f:
        text = f.read().decode("gbk")
    return [line.split("~", 1)[0] for line in text.split("\r\n") if "~" in line]


def matches(heads, query):
    return [h for h in heads if query in h]


def heads_first(heads, seed=10):
    """Share of a random sample of heads that come back first when typed."""
    sample = random.Random(seed).sample(heads, min(SAMPLE, len(heads)))
    first = {}
    for i, h in enumerate(heads):
        first.setdefault(h, i)
    wrong = []
    for h in sample:
        # The first head containing h: scan only up to h's own line.
        for other in heads[:first[h] + 1]:
            if h in other:
                if other != h:
                    wrong.append((h, other))
                break
    return 1 - len(wrong) / len(sample), wrong


def query_ranks(files, queries):
    out = []
    for name, query, wanted in queries:
        found = matches(files[name], query)
        out.append((name, query, wanted, found.index(wanted) + 1 if wanted in found else None,
                    found[:3]))
    return out


def main(argv):
    data_dir = argv[1] if len(argv) > 1 else os.path.join(
        os.path.dirname(os.path.abspath(__file__)), "..", "..", "data")
    passed = failed = 0

    def result(ok, what, detail=""):
        nonlocal passed, failed
        passed += bool(ok)
        failed += not ok
        print("%s %s%s" % ("ok  " if ok else "FAIL", what, (": " + detail) if detail else ""))

    # The checker itself, on a tiny file where a longer head comes first.
    share, wrong = heads_first(["一心一意", "一心", "专心"], seed=1)
    result(share < 1 and wrong == [("一心", "一心一意")], "checker: a head hidden behind a longer one is caught")

    files = {name: read_heads(os.path.join(data_dir, name + ".mdb")) for name in PHRASE_FILES}
    for name in PHRASE_FILES:
        heads = files[name]
        result(len(set(heads)) == len(heads), "%s.mdb: heads are unique" % name)
        share, wrong = heads_first(heads)
        result(share >= HEADS_FIRST, "%s.mdb: %.2f %% of sampled heads come back first" % (name, 100 * share),
               "; ".join("%s after %s" % w for w in wrong[:5]))

    ranks = query_ranks(files, QUERIES)
    good = sum(1 for r in ranks if r[3] is not None and r[3] <= 3)
    for name, query, wanted, rank, top in ranks:
        if rank is None or rank > 3:
            print("     %s %s: wanted %s is %s; first: %s" % (name, query, wanted, rank or "missing",
                                                              " / ".join(top)))
    result(good >= QUERIES_IN_TOP3 * len(ranks),
           "everyday queries: %d of %d find the wanted entry in the first three" % (good, len(ranks)))
    result(all(r[3] is not None for r in ranks), "every wanted entry of the query table exists")

    print("%d passed, %d failed" % (passed, failed))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
