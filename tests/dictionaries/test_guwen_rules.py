#!/usr/bin/env python3
"""The 古文 mending rules on pairs taken from the corpus.

Usage: python3 tests/dictionaries/test_guwen_rules.py [REPO_ROOT]
Prints "N passed, N failed" last; exits non-zero on a failure.
"""

import os
import sys

from rule_checks import ROOT, check, finish  # noqa: E402,F401  (puts the converter on the path)
import build_dictionaries as b  # noqa: E402
import guwen_rules as g  # noqa: E402
from reader_order import WordFrequencies  # noqa: E402


# A closing "X说：…" goes to the next line only when that line opens with the
# speech and its translation lacks it.
MENCIUS = [
    ("曰：然则舜伪喜者与？", "万章说：那么，舜是假装高兴吗？孟子说：不。"),
    ("曰：否。昔者有馈生鱼于郑子产。", "从前有人送条活鱼给郑国的子产。"),
]
for desc, pairs, want in [
    ("closing speech opens the next translation", MENCIUS,
     [MENCIUS[0][0] + "~万章说：那么，舜是假装高兴吗？", MENCIUS[1][0] + "~孟子说：不。从前有人送条活鱼给郑国的子产。"]),
    ("next line without a speech keeps its translation",
     [MENCIUS[0], ("昔者有馈生鱼于郑子产。", MENCIUS[1][1])],
     [MENCIUS[0][0] + "~" + MENCIUS[0][1], "昔者有馈生鱼于郑子产。~" + MENCIUS[1][1]]),
    ("next translation already holding its one speech gets no second",
     [MENCIUS[0], (MENCIUS[1][0], "孟子说：从前有人送条活鱼给郑国的子产。")],
     [MENCIUS[0][0] + "~" + MENCIUS[0][1], MENCIUS[1][0] + "~孟子说：从前有人送条活鱼给郑国的子产。"]),
    ("a line with as many speeches as its translation keeps it",
     [("曰：然则舜伪喜者与？孟子曰：否。", MENCIUS[0][1]), MENCIUS[1]],
     ["曰：然则舜伪喜者与？孟子曰：否。~" + MENCIUS[0][1], MENCIUS[1][0] + "~" + MENCIUS[1][1]]),
]:
    check("move: " + desc, ["~".join(p) for p in g.move_closing_speech(pairs, b.Stats())], want)

# An opening that repeats the end of the previous translation goes.
WENGU = [
    ("人焉廋哉？", "这样，这个人怎样能隐藏得了呢？"),
    ("子曰：温故而知新，可以为师矣。", "这个人怎样能隐藏得了呢？孔子说：温习学过的知识，就可以做老师了。"),
]
for desc, pairs, want in [
    ("repeated opening cut", WENGU, "孔子说：温习学过的知识，就可以做老师了。"),
    ("a repeated line's translation is its own", [WENGU[0], (WENGU[0][0], "这个人怎样能隐藏得了呢？又说。")],
     "这个人怎样能隐藏得了呢？又说。"),
    ("a short repeat is left", [("甲", "好啊！"), ("乙", "好啊！孔子说：走吧。")], "好啊！孔子说：走吧。"),
    ("a repeat that is not the end of the previous translation is left",
     [(WENGU[0][0], "这个人怎样能隐藏得了呢？他说。"), WENGU[1]], WENGU[1][1]),
]:
    check("cut: " + desc, g.cut_repeated_opening(pairs, b.Stats())[-1][1], want)

# A sentence slipped across a boundary: one translation short, its neighbour
# long, and moving sentences across fits both; both pairs go.
SUNZI = [
    ("犯之以事，勿告以言；犯之以利，勿告以害。", "向部下布置作战任务，但不说明其中意图。"),
    ("投之亡地然后存，陷之死地然后生。",
     "只告知利益而不指出危害。在特殊情况下，把士卒投入危亡的境地，才能保存他们；把士卒投入灭绝的境地，才能使他们生存下来。"),
    ("夫众陷于害，然后能为胜败。", "士卒陷于危险的境地，然后才能会殊死战斗。"),
]
for desc, pairs, want in [
    ("short beside long: both go", SUNZI, [SUNZI[2]]),
    ("long beside short: both go", [SUNZI[2], (SUNZI[1][0], SUNZI[0][1] + SUNZI[1][1]), SUNZI[0]], [SUNZI[2]]),
    ("long translations of long lines stay", [SUNZI[2], SUNZI[1]], [SUNZI[2], SUNZI[1]]),
    ("a short one beside a long one that is one sentence stays",
     [SUNZI[0], (SUNZI[1][0], SUNZI[1][1].replace("。", "，"))],
     [SUNZI[0], (SUNZI[1][0], SUNZI[1][1].replace("。", "，"))]),
]:
    check("slipped: " + desc, g.drop_slipped(pairs, b.Stats()), want)

# A question inside a translation whose line asks none goes; a closing one,
# or one the line asks, stays.
for desc, pair, kept in [
    ("carried question", ("三年之丧，以其丧拜。", "所以才赏赐吗？接受馈赠，应该以丧拜表示感谢。"), False),
    ("？ for a lost character", ("右行辛为司空，使修士之法。", "右行辛做司空，让他学习士？的法度。"), False),
    ("closing rhetorical question", ("臣是以惧，敢不听命。", "下臣因此害怕，怎敢不听命令？"), True),
    ("closing question, no question word", ("赊钱起屋，卖屋还钱。", "如果赊钱盖房子，是不是要卖屋还钱？"), True),
    ("the line asks", ("子曰：何伤乎？亦各言其志也。", "孔子说：那有什么关系呢？不过是各自谈谈志向罢了。"), True),
]:
    check("question: " + desc, g.drop_unasked_questions([pair], b.Stats()) == [pair], kept)

for desc, pair, want in [
    ("one speech", ("孔子曰：胡为不可？", "孔子说；为什么不可以？"), "孔子说：为什么不可以？"),
    ("more speeches than the line's 曰", ("王曰：然。", "楚王说；有，墨子说：您是认为"), "楚王说；有，墨子说：您是认为"),
    ("no 曰 in the line", ("则予一人汝嘉。", "这样说；我就会赞美你。"), "这样说；我就会赞美你。"),
]:
    check("speech colon: " + desc, g.restore_speech_colons([pair], b.Stats())[0][1], want)

FREQUENCIES = WordFrequencies.from_file()

# An opening that renders the previous line: it goes back there when the
# previous translation renders its own line, else that pair goes.
KUN = [
    ("险以说，困而不失其所亨，其唯君子乎。", "虽处危险之中而乐观喜悦，穷困而不失其道，故亨通。"),
    ("贞大人吉，以刚中也。有言不信，尚口乃穷也。",
     "这恐怕只有君子吧。占问大人吉祥，因阳刚居中。虽有方相劝而不相信，崇尚空口无凭，必遭穷困。"),
]
ZENG = [
    ("孔子曰：杀人之中，又有礼焉。", "他让驾车的停止追赶，说：杀死三个敌人，也完全可以交差了。"),
    ("诸侯伐秦，曹桓公卒于会。", "孔子说：就是在杀人时，也还是有礼节的。诸侯联合起来讨伐秦国，曹宣公在联军会合时去世。"),
]
for desc, pairs, want in [
    ("moved back", KUN, [(KUN[0][0], KUN[0][1] + "这恐怕只有君子吧。"),
                         (KUN[1][0], "占问大人吉祥，因阳刚居中。虽有方相劝而不相信，崇尚空口无凭，必遭穷困。")]),
    ("cut, the other passage's pair dropped", ZENG,
     [(ZENG[1][0], "诸侯联合起来讨伐秦国，曹宣公在联军会合时去世。")]),
    ("an opening that renders its own line stays", [KUN[0], (KUN[1][0], "占问大人吉祥。虽有方相劝而不相信，崇尚空口无凭。")],
     [KUN[0], (KUN[1][0], "占问大人吉祥。虽有方相劝而不相信，崇尚空口无凭。")]),
]:
    check("carried: " + desc, g.move_carried_opening(pairs, FREQUENCIES, b.Stats()), want)

for desc, pair, want in [
    ("lost colon", ("乞曰：不可得也。", "石乞说这五百个人是找不到的。"), "石乞说：这五百个人是找不到的。"),
    ("说 in a word", ("嚭因说吴王曰：越以服为臣。", "太宰嚭借机劝说吴王：越王已经当了臣子。"), "太宰嚭借机劝说吴王：越王已经当了臣子。"),
    ("说过", ("孔子曰：君薨，听于冢宰。", "孔子说过君王死了，太子听命于冢宰。"), "孔子说过君王死了，太子听命于冢宰。"),
    ("the line does not open with a speech", ("吴王病伤而死，谓曰：尔而忘句践杀汝父乎？", "吴王说你能忘记吗？"),
     "吴王说你能忘记吗？"),
]:
    check("lost colon: " + desc, g.restore_lost_colons([pair], FREQUENCIES, b.Stats())[0][1], want)

for desc, pair, kept in [
    ("another passage", ("侍食于先生异爵者，后祭先饭。", "没有事的时候要站在家长之南，面向北。"), False),
    ("a rendering sharing one telling character", ("侍食于先生异爵者，后祭先饭。", "陪先生吃饭，后祭先吃。"), True),
    ("a short line is not judged", ("盖寝疾七日而没。", "昨天夜里，我梦见自己安坐在两楹之间。"), True),
]:
    check("unrelated: " + desc, g.drop_unrelated([pair], FREQUENCIES, b.Stats()) == [pair], kept)

# Look-alike typos, on the real word frequencies: (description, line, translation, expected).
mender = g.TypoMender(FREQUENCIES)
for desc, line, modern, want in [
    ("冶 for 治", "知百官之要，故事省而国治也。", "明了冶理百官的根本", "明了治理百官的根本"),
    ("侯 for 候 in 侍候", "食豕如食人。", "喂猪就像侍侯人一样。", "喂猪就像侍候人一样。"),
    ("己 for 已", "子虽齐圣，不先父食久矣。", "由来己久。", "由来已久。"),
    ("a name the line spells", "辛宽出，南宫括入见。", "以后，南官括进来见", "以后，南宫括进来见"),
    ("a character the line has stays (a name)", "谓公玉丹曰", "齐湣王对公玉丹说", "齐湣王对公玉丹说"),
    ("the line's own misspelt 候 does not spread", "昭候曰：不可。", "昭侯说：不可。", "昭侯说：不可。"),
    ("a character inside a word stays (新宫)", "过江初，拜官。", "新宫落成", "新宫落成"),
    ("分予 is right as typed", "惜己身之分气", "珍爱父母分予的血气", "珍爱父母分予的血气"),
    ("a pair left off the list stays (送些)", "行者必以赆", "理应送些盘缠", "理应送些盘缠"),
    ("玉 for 王", "请更论。", "请君玉改变选择", "请君王改变选择"),
]:
    check("typo: " + desc, mender.mend(line, modern), want)

# 君王 and 君主 both read well: no mend is certain.
both = g.TypoMender(mender.wf, look_alikes=("玉王", "玉主"))
check("typo: two likely mends, none made", both.mend("请更论。", "请君玉改变选择"), "请君玉改变选择")

finish()
