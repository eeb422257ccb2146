#!/usr/bin/env python3
"""The converter's cleaning rules on small inputs taken from the raw data.

Usage: python3 tests/dictionaries/test_build_rules.py [REPO_ROOT]
Prints "N passed, N failed" last; exits non-zero on a failure.
"""

import os
import sys

ROOT = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")
sys.path.insert(0, os.path.join(ROOT, "tools", "dictionaries"))
import build_dictionaries as b  # noqa: E402

passed = failed = 0


def check(what, got, want):
    global passed, failed
    if got == want:
        passed += 1
        print("ok   " + what)
    else:
        failed += 1
        print("FAIL %s\n     got  %r\n     want %r" % (what, got, want))


def xh_lines(pairs):
    """Run the 歇后语 rules over (riddle, answer) pairs."""
    stats = b.Stats()
    book = b.PhraseBook(stats)
    for riddle, answer in pairs:
        fix = b.XH_FIXES.get((riddle, answer))
        if fix:
            riddle, answer = fix
        elif not (b.bracket_balanced(riddle) and b.bracket_balanced(answer)):
            continue
        r, a = b.move_riddle_notes(b.strip_pinyin_notes(riddle), b.strip_pinyin_notes(answer), stats)
        book.add(r, a)
    return list(book.lines())


# 歇后语: (description, input pairs, expected lines)
for desc, pairs, want in [
    ("cut inside a pinyin note is dropped", [("蘸（zh", "n）了汽油的稻草")], []),
    ("cut inside the answer is dropped", [("带了秤杆忘了砣", "丢三落（l")], []),
    ("garbled bracket repaired", [("肩膀上搭炉灶", "恼《脑）火")], ["肩膀上搭炉灶~恼（脑）火"]),
    ("pinyin-only note removed", [("诸葛亮斩马谡（su）", "执法如山")], ["诸葛亮斩马谡~执法如山"]),
    ("riddle note moved to the answer",
     [("嘴上挂蒺藜（ji li 一年生草本植物）", "说话带刺")], ["嘴上挂蒺藜~说话带刺（注：一年生草本植物）"]),
    ("answer pun note kept", [("外甥打灯笼", "照旧（舅）")], ["外甥打灯笼~照旧（舅）"]),
    ("same riddle merged, exact repeat dropped",
     [("做贼的说梦话", "想偷"), ("做贼的说梦话", "想偷"), ("做贼的说梦话", "心虚")],
     ["做贼的说梦话~想偷；心虚"]),
    ("ASCII tilde cannot cut the head", [("a~b", "c")], ["a～b~c"]),
    ("tab and blanks cleaned, empty head dropped", [(" 甲\t乙 ", "丙"), ("  ", "丁")], ["甲 乙~丙"]),
    ("character outside GBK drops the entry", [("\U0002722b子", "虫")], []),
]:
    check("xh: " + desc, xh_lines(pairs), want)

# 成语 quotes and gloss colons: (idiom, raw explanation, expected)
for idiom, raw, want in [
    ("惹祸招殃", "给自己引来麻烦。同惹祸招灾”。", "给自己引来麻烦。同“惹祸招灾”。"),
    ("见德思齐", "同见贤思齐”。", "同“见贤思齐”。"),
    ("阿鼻地狱", "阿鼻梵语的译音，意译为无间”，即痛苦。", "阿鼻梵语的译音，意译为“无间”，即痛苦。"),
    ("舐犊之爱", "亦作舐犊之念”、舐犊之私”。", "亦作“舐犊之念”、“舐犊之私”。"),
    ("越俎代庖", "越跨过；俎礼器；庖厨师。主祭的人跨过礼器去代替厨师。",
     "越：跨过；俎：礼器；庖：厨师。主祭的人跨过礼器去代替厨师。"),
    ("画蛇添足", "画蛇时给蛇添上脚。比喻做了多余的事。", "画蛇时给蛇添上脚。比喻做了多余的事。"),
    ("反求诸己", "求追究；诸之于”的合成词。反过来追究自己。指找原因。",
     "求：追究；诸：“之于”的合成词。反过来追究自己。指找原因。"),
    ("一心一意", "形容“专一”。", "形容“专一”。"),
]:
    st = b.Stats()
    check("cy: " + idiom, b.restore_opening_quotes(idiom, b.restore_gloss_colons(idiom, raw, st), st), want)

# 古文 chapter order
paths = ["guwen-niutrans/双语数据/%s/bitext.txt" % p for p in
         ["孟子/梁惠王章句下/第十节", "论语/为政篇", "孟子/梁惠王章句上/第二节", "论语/学而篇",
          "孟子/梁惠王章句上/第十节"]]
check("gw: books, chapters and Chinese numbers in order",
      [p.split("/", 2)[2][:-len("/bitext.txt")] for p in sorted(paths, key=b.chapter_key)],
      ["论语/学而篇", "论语/为政篇", "孟子/梁惠王章句上/第二节", "孟子/梁惠王章句上/第十节",
       "孟子/梁惠王章句下/第十节"])
check("gw: blanks left by lost quotes removed between Chinese only",
      b.gw_text("子曰： 学而时习之 ABC 说", b.Stats()), "子曰：学而时习之 ABC 说")

# 同义词: partners
st = b.Stats()
book = b.partner_book({"高兴": ["高兴", "开心", "愉快", "开心"], "孤词": ["孤词"]}, st)
check("ty: self and repeats dropped, word without partner has no line", list(book.lines()),
      ["高兴~开心 愉快"])

print("%d passed, %d failed" % (passed, failed))
sys.exit(1 if failed else 0)
