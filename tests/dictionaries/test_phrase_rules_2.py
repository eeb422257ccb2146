#!/usr/bin/env python3
"""The rules that mend what a reader of the phrase files and the character
dictionary found: misspellings, misread look-alike characters, stray marks,
and glosses that lost their colon.

Usage: python3 tests/dictionaries/test_phrase_rules_2.py [REPO_ROOT]
Prints "N passed, N failed" last; exits non-zero on a failure.
"""

import os
import sys

from rule_checks import ROOT, check, finish  # noqa: E402,F401  (puts the converter on the path)
import build_dictionaries as b  # noqa: E402
import phrase_clean as pc  # noqa: E402
import zidian as zd  # noqa: E402


# Misspellings: corrected everywhere, except where the idiom's own head spells it so.
for text, keep, want in [
    ("胖大海掉进黄莲水", "", "胖大海掉进黄连水"),
    ("化干弋为玉帛", "", "化干戈为玉帛"),
    ("膏、梁：肥肉和细粮。膏梁子弟", "膏梁锦绣", "膏、梁：肥肉和细粮。膏梁子弟"),
    ("串通做弊，不加思索", "", "串通作弊，不加思索"),  # 不加思索 is a listed variant, not a typo
]:
    check("misspelling: " + text, pc.fix_common_typos(text, b.Stats(), "test", keep), want)

# 着 for 著 in words that only take 著; 着 as the aspect mark stays.
for line, want in [
    ("臭名昭着~名满天下", "臭名昭著~名满天下"),
    ("朝梁沈约以诗着称", "朝梁沈约以诗著称"),
    ("指携着礼物带着书信；按着名称", "指携着礼物带着书信；按着名称"),
]:
    check("着 or 著: " + line, pc.mend_zhu(line), want)

# Traditional characters that are meant stay; elsewhere they are simplified.
for line, char, kept in [
    ("宫声代表君，角声代表民，徵声代表事", "徵", True),
    ("羽、角、宫、徵、商不乱", "徵", True),
    ("乾为天为父为阳，坤为地为母为阴", "乾", True),
    ("始于乾卦三之第一画，乾为天", "乾", True),
    ("蕞尔、幺麽都是微少之意", "麽", True),
    ("天乾物燥，小心火烛", "乾", False),
    ("这是什麽东西", "麽", False),
    ("徵兵入伍", "徵", False),
    ("秋天霜露覆盖大地", "覆", True),
    ("反覆无常", "覆", False),
]:
    i = line.rindex(char)
    check("kept traditional: " + line, pc.kept_traditional(line, i), kept)

# 歇后语 answers: a colon is a misread "；" between answers, noise elsewhere;
# a mark with nothing after it goes; notes keep their colon.
for riddle, answer, want in [
    ("半路上杀出个程咬金", "突如其来：措手不及", "半路上杀出个程咬金~突如其来；措手不及"),
    ("吴刚砍桂树", "没完没：了", "吴刚砍桂树~没完没了"),
    ("鼻梁上：套绳索", "让人牵着鼻子走", "鼻梁上套绳索~让人牵着鼻子走"),
    ("乌龟壳上找毛", "白费劲；白费功夫：", "乌龟壳上找毛~白费劲；白费功夫"),
    ("大佛殿的菩萨", "满肚子泥；", "大佛殿的菩萨~满肚子泥"),
    ("蝎虎子打喷嚏", "满嘴臊（注：壁虎）", "蝎虎子打喷嚏~满嘴臊（注：壁虎）"),
]:
    st = b.Stats()
    got = "%s~%s" % (pc.clean_xh(riddle, st), pc.clean_xh(answer, st, answer=True))
    check("歇后语 marks: " + want, got, want)

# A misread look-alike inside a known idiom; a run that is an idiom, or that
# could be two idioms, stays.
IDIOMS = {"入木三分", "身不由己", "千头万绪", "先人后己", "人云亦云", "甲乙丙丁", "甲乙丙子"}
for text, want in [
    ("啄木鸟治树~人木三分；嘴巴子硬", "啄木鸟治树~入木三分；嘴巴子硬"),
    ("锦鸡进铁笼~身不由已", "锦鸡进铁笼~身不由己"),
    ("布机上的棉线~干头万绪", "布机上的棉线~千头万绪"),
    ("大姑娘当媒人~先人后已", "大姑娘当媒人~先人后己"),
    ("人云亦云", "人云亦云"),
    ("甲乙丙于", "甲乙丙于"),  # not a look-alike of a listed idiom
]:
    check("look-alike: " + text, pc.misread_idioms(text, IDIOMS, b.Stats(), "test"), want)

# 的 written twice; not where the first 的 belongs to a word or to 的的确确.
for text, want in [
    ("阻碍斗争的的发展", "阻碍斗争的发展"),
    ("一种目的的要求", "一种目的的要求"),
    ("的的确确", "的的确确"),
]:
    check("doubled 的: " + text, pc.doubled_de(text, b.Stats(), "test"), want)

# Character senses: doubled marks become one, a colon wins.
for text, want in [
    ("深度。深浅。。水深三尺。", "深度。深浅。水深三尺。"),
    ("固体的通称（汞除外）。：金属。", "固体的通称（汞除外）：金属。"),
]:
    check("doubled marks: " + text, zd.squeeze_marks(text, b.Stats()), want)

# 成语: a lone first character glossed, characters listed and glossed, and
# what reads as the idiom itself (no gloss).
b.GLOSS_WORDS = {"妖怪": 5000, "担心": 20000, "常常": 60000, "格杀": 10, "质本": 0}
for idiom, raw, want in [
    ("仁民爱物", "仁仁爱。对人亲善。", "仁：仁爱。对人亲善。"),
    ("快人快语", "快爽快，痛快。直爽的人说直爽的话。", "快：爽快，痛快。直爽的人说直爽的话。"),
    ("凫趋雀跃", "凫野鸭。象野鸭那样快跑。", "凫：野鸭。象野鸭那样快跑。"),
    ("妖魔鬼怪", "妖怪和魔鬼。比喻邪恶势力。", "妖怪和魔鬼。比喻邪恶势力。"),
    ("担惊忍怕", "担心害怕。指常处在惊吓之中。", "担心害怕。指常处在惊吓之中。"),
    ("山峙渊渟", "山立水聚。比喻端庄凝重的风度。", "山立水聚。比喻端庄凝重的风度。"),
    ("葫芦依样", "依样画葫芦。比喻只是模仿。", "依样画葫芦。比喻只是模仿。"),
    ("开怀畅饮", "开怀心情无所拘束，十分畅快。比喻尽情饮酒。", "开怀：心情无所拘束，十分畅快。比喻尽情饮酒。"),
]:
    check("cy gloss colon: " + idiom, b.restore_gloss_colons(idiom, raw, b.Stats()), want)
for idiom, raw, want in [
    ("字斟句酌", "斟、酌反复考虑。指写文章时慎重细致。", "斟、酌：反复考虑。指写文章时慎重细致。"),
    ("玉质金相", "金、玉比喻美好；质本质；相外貌。比喻完美。", "金、玉：比喻美好；质：本质；相：外貌。比喻完美。"),
    ("格杀勿论", "格：打；格杀打死；勿论不论罪。指当场打死。", "格：打；格杀：打死；勿论：不论罪。指当场打死。"),
    ("分毫析厘", "毫、厘都是细小的单位名称。形容分析细微。", "毫、厘都是细小的单位名称。形容分析细微。"),
    ("枘凿方圆", "枘、凿，榫头与卯眼。比喻不调协。", "枘、凿，榫头与卯眼。比喻不调协。"),
]:
    check("cy gloss list: " + idiom, b.restore_gloss_lists(idiom, raw, b.Stats()), want)

finish()
