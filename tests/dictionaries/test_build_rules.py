#!/usr/bin/env python3
"""The converter's cleaning rules on small inputs taken from the raw data.

Usage: python3 tests/dictionaries/test_build_rules.py [REPO_ROOT]
Prints "N passed, N failed" last; exits non-zero on a failure.
"""

import os
import sys

from rule_checks import ROOT, check, finish  # noqa: E402,F401  (puts the converter on the path)
import build_dictionaries as b  # noqa: E402
import phrase_clean as pc  # noqa: E402
import pinyin_readings as pr  # noqa: E402
import thesaurus as th  # noqa: E402
from reader_order import WordFrequencies, reader_order  # noqa: E402


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
        book.add(pc.clean_xh(r, stats), pc.clean_xh(a, stats))
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
    ("half-width semicolon made full-width", [("上轿才扎耳朵眼", "临时忙;临时突击")],
     ["上轿才扎耳朵眼~临时忙；临时突击"]),
    ("pinyin and digits left in a note removed", [("陶器店里卖钵头（6 tou钵）", "一套一套的")],
     ["陶器店里卖钵头~一套一套的（注：钵）"]),
    ("letter left from a cut note removed", [("冰凌挂胸n", "凉透了心")], ["冰凌挂胸~凉透了心"]),
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

# 成语 symbols the scrape left
for desc, raw, want in [
    ("'◇' stands for '。后'", "原意是两军对阵，悲愤的一方获得胜利◇指军队必定能取胜。",
     "原意是两军对阵，悲愤的一方获得胜利。后指军队必定能取胜。"),
    ("a symbol for a lost stop and character", "刚直正大的精神∑然之气永远长存。", "刚直正大的精神。然之气永远长存。"),
    ("ratio sign and ASCII full stop", "变化∶象云彩。指世代做官的人家.", "变化：象云彩。指世代做官的人家。"),
]:
    check("cy: " + desc, pc.clean_cy_explanation(raw, b.Stats()), want)
check("cy: '?' for lost characters marks a garbled explanation",
      [pc.cy_garbled(t) for t in ["?阂陨嗵蛭铩７地以舌舔天。", "为什么？不知道。"]], [True, False])
check("cy: pinyin blanks, '@' and commas", pc.clean_cy_pinyin("xuán guī@jì yú, zhǎng　yòu", b.Stats()),
      "xuán guī jì yú，zhǎng yòu")

# 成语 pinyin against the characters' readings (a small Unihan excerpt)
READINGS = pr.Readings([
    "U+504F\tkTGHZ2013\t282.140:piān", "U+542C\tkTGHZ2013\t1.1:tīng", "U+4FE1\tkTGHZ2013\t1.1:xìn",
    "U+6291\tkTGHZ2013\t1.1:yì", "U+98CE\tkTGHZ2013\t1.1:fēng", "U+4EBA\tkTGHZ2013\t1.1:rén",
    "U+6625\tkTGHZ2013\t1.1:chūn", "U+4E00\tkTGHZ2013\t1.1:yī", "U+4E00\tkXHC1983\t1.1:yí 1.2:yì",
    "U+5DEE\tkTGHZ2013\t1.1:chā chà chāi cī", "U+96DC\tkMandarin\tzá", "U+5B50\tkTGHZ2013\t1.1:zǐ",
])
for desc, phrase, pinyin, want, unsure in [
    ("a syllable no reading of its one-reading character", "偏听偏信", "piāng tīng piān xìn",
     "piān tīng piān xìn", []),
    ("the tone 一 takes before another tone is no fault", "一信", "yí xìn", "yí xìn", []),
    ("a toneless syllable of a one-reading character gets its tone", "抑信", "yi xìn", "yì xìn", []),
    ("the neutral tone of a word that takes it stays", "子信", "zi xìn", "zi xìn", []),
    ("several readings and none alike: left and reported", "差人", "chāng rén", "chāng rén",
     [("差人", "差", "chāng")]),
    ("a character outside the standard list is not trusted", "雜人", "suǐ rén", "suǐ rén",
     [("雜人", "雜", "suǐ")]),
    ("syllables and characters that do not line up are left", "偏听", "piāng", "piāng", []),
]:
    found = []
    check("cy pinyin: " + desc, (pr.repair_pinyin(phrase, pinyin, READINGS, b.Stats(), found), found),
          (want, unsure))
attested = pr.attested_readings([("春风风人", "chūn fēng fèng rén"), ("风人", "fèng rén")])
check("cy pinyin: a reading the source uses twice is kept (春风风人 fèng)",
      pr.repair_pinyin("春风风人", "chūn fēng fèng rén", READINGS, b.Stats(), [], attested),
      "chūn fēng fèng rén")

# 古文 text
for desc, raw, want in [
    ("pinyin gloss after a rare character", "置南陵及内史、祋ì祤ǔ为县。", "置南陵及内史、祋祤为县。"),
    ("full-width pinyin gloss", "韩国相国对陈筮ｓｈì说：", "韩国相国对陈筮说："),
    ("iteration mark written out", "吾不为始乎；齿乎脣乎，愈惛々乎。", "吾不为始乎；齿乎脣乎，愈惛惛乎。"),
    ("half-width punctuation", "是故子墨子曰: 兼是也?", "是故子墨子曰：兼是也？"),
    ("odd dashes", "主人即位，袭带绖踊─－母之丧", "主人即位，袭带绖踊——母之丧"),
    ("footnote number", "皆欲出于王之涂⑾，天下", "皆欲出于王之涂，天下"),
    ("editorial mark", "△经一", "经一"),
]:
    check("gw: " + desc, pc.clean_gw(raw, b.Stats(), "classical"), want)
check("gw: placeholders for lost characters",
      [pc.gw_has_placeholder(t) for t in ["子墨子使管黔■游高石子于卫", "鼓：○□○○□", "学而时习之"]],
      [True, True, False])
check("gw: titles and echoes are found, translations are not",
      [pc.gw_echo(h, t) for h, t in [("经一", "经一"), ("周书·泰誓上", "泰誓上"),
                                     ("其於木也，为坚多心。", "其於木也，为坚多心。"),
                                     ("学而时习之", "学了又时常温习")]],
      [True, True, True, False])
check("gw: a simplified form outside GBK keeps the traditional one",
      [pc.keep_gbk(o, c, b.gbk_char_ok) for o, c in [("祝鮀之佞", "祝\U0002cd8d之佞"), ("至於斯", "至于斯")]],
      ["祝鮀之佞", "至于斯"])
bitext = [("五年，率诸军北驻汉中，临发，上疏曰：", "五年"), ("先帝创业未半而中道崩殂。", "先帝"),
          ("臣不胜受恩感激，今当远离，临表涕零，不知所言。", "臣"), ("遂行，屯于沔阳。", "于是")]
check("gw: 出师表 is cut from its first to its last sentence",
      [c[:2] for c, _ in b.chushibiao(bitext)], ["先帝", "臣不"])

# Order for the reader
freq = WordFrequencies(["一心一意 200 i", "一心 50 d", "一 1000 m", "心 500 n", "意 300 n", "肩 10 n",
                        "克 20 v"])
check("order: a dictionary word beats an unknown one, the parts decide among unknowns",
      sorted(["克肩一心", "一心一意", "意心肩克"], key=lambda h: -freq.log_prob(h)),
      ["一心一意", "克肩一心", "意心肩克"])
check("order: whole=False scores the parts only",
      freq.log_prob("一心一意", whole=False) < freq.log_prob("一心一意"), True)
pref = {"克肩一心": 0, "一心一意": 1, "万众一心": 2, "一心": 3, "心": 4}
check("order: a head comes before every head containing it, the preference otherwise",
      reader_order(list(pref), pref.__getitem__), ["心", "一心", "克肩一心", "一心一意", "万众一心"])

# 同义词 and 反义词
groups = [["清洁", "干净", "卫生"], ["彻底", "到底", "到头", "干净"], ["好", "优", "良好", "精", "优秀"]]
senses = th.cilin_synonyms(groups, b.Stats())
check("ty: the group where the word stands nearest the front leads, a second sense where it does not lead goes",
      th.partner_line("干净", senses["干净"], b.Stats()), "清洁 卫生")
check("ty: words of two characters before single ones", th.partner_line("好", senses["好"], b.Stats()),
      "良好 优秀 优 精")
long_group = [["头"] + ["词%s" % chr(0x4e00 + i) for i in range(40)]]
check("ty: at most a dozen partners",
      len(th.partner_line("头", th.cilin_synonyms(long_group, b.Stats())["头"], b.Stats()).split(" ")),
      th.MAX_PARTNERS)
check("fy/ty: garbage is no word",
      [th.clean_word(w) for w in ["?闷", "ｖ祸喊乖唷⑶净", "契.", "气势ZZ", "马克思·恩格斯"]],
      [None, None, "契", None, "马克思·恩格斯"])
st = b.Stats()
book = b.partner_book({"敌人": [["仇敌", "朋友", "敌人", "朋友"]], "低＃": [["尊贵"]], "孤词": [["孤词"]]}, st,
                      {"敌人": {"仇敌", "敌人"}})
check("fy: a synonym of the headword, itself, repeats and garbage heads are dropped", list(book.lines()),
      ["敌人~朋友"])

# 成语: one leading gloss gets its colon back; a literal reading does not
b.GLOSS_WORDS = {"家里": 6390, "共同": 10510, "薪柴": 5}
for idiom, raw, want in [
    ("无可奈何", "奈何如何，怎么办。指感到没有办法。", "奈何：如何，怎么办。指感到没有办法。"),
    ("卧薪尝胆", "薪柴草。睡觉睡在柴草上。", "薪：柴草。睡觉睡在柴草上。"),
    ("画蛇添足", "画蛇时给蛇添上脚。比喻做了多余的事。", "画蛇时给蛇添上脚。比喻做了多余的事。"),
    ("家无斗储", "家里的粮食储备不足一斗。形容生活窘迫。", "家里的粮食储备不足一斗。形容生活窘迫。"),
    ("安危与共", "共同享受安乐。形容关系密切。", "共同享受安乐。形容关系密切。"),
    ("如箭在弦", "箭已搭在弦上。比喻势在必行。", "箭已搭在弦上。比喻势在必行。"),
    ("山峙渊渟", "山立水聚。比喻端庄凝重的风度。", "山立水聚。比喻端庄凝重的风度。"),
    ("守株待兔", "株露出地面的树根。", "株露出地面的树根。"),  # nothing follows the gloss
]:
    check("cy gloss colon: " + idiom, b.restore_gloss_colons(idiom, raw, b.Stats()), want)

# 成语 pinyin: swapped, run together, cut short, merged heads, tone-marked slips
READINGS2 = pr.Readings([
    "U+7269\tkTGHZ2013\t1.1:wù", "U+7F8E\tkTGHZ2013\t1.1:měi", "U+4EF7\tkTGHZ2013\t1.1:jià",
    "U+5EC9\tkTGHZ2013\t1.1:lián", "U+5FC3\tkTGHZ2013\t1.1:xīn", "U+5FC3\tkHanyuPinlu\txin(3)",
    "U+540C\tkTGHZ2013\t1.1:tóng 1.2:tòng", "U+7F62\tkTGHZ2013\t1.1:bà 1.2:ba",
    "U+4E00\tkTGHZ2013\t1.1:yī", "U+725B\tkTGHZ2013\t1.1:niú", "U+5730\tkTGHZ2013\t1.1:dì 1.2:de",
    "U+8EAB\tkTGHZ2013\t1.1:shēn",
])
found = []
check("cy pinyin: syllables out of order put back (物美价廉)",
      pr.repair_pinyin("物美价廉", "jià měi wù lián", READINGS2, b.Stats(), found), "wù měi jià lián")
check("cy pinyin: a tone-marked slip of a one-reading character (心 xīng)",
      pr.repair_pinyin("心同", "xīng tón", READINGS2, b.Stats(), []), "xīn tóng")
check("cy pinyin: a tone mark is not the neutral tone (罢 bā)",
      pr.repair_pinyin("罢心", "bā xīn", READINGS2, b.Stats(), []), "bà xīn")
check("cy pinyin: run-together syllables parted", pr.realign("物美价廉", "wù měijià lián", READINGS2),
      ("wù měi jià lián", "parted"))
check("cy pinyin: a cut end completed from single readings", pr.realign("物美，价身", "wù měi，jià", READINGS2),
      ("wù měi，jià shēn", "completed"))
check("cy pinyin: a cut inside a syllable with no certain end is dropped",
      pr.realign("物同", "wù t", READINGS2), ("", "cut"))
check("cy pinyin: more syllables than characters is a merged head", pr.realign("一地", "yī niú dì", READINGS2),
      (None, "merged"))

# Simplified forms: 乾 stays as the trigram, 徵 as the note, 薹 and 吒 always
for line, want in [("枯乾~乾燥 乾涸", "枯干~干燥 干涸"), ("乾~坤", "乾~坤"), ("旋乾转坤", "旋乾转坤"),
                   ("含宫咀徵", "含宫咀徵"), ("应徵~徵召", "应征~征召"), ("蒜薹 哪吒", "蒜薹 哪吒")]:
    check("simplified: " + line, pc.simplify_line(line, pc.t2s_lines([line])[0], lambda ch: True), want)

# 同义词/反义词 partner rules
pos = th.PartsOfSpeech(["艰巨 467 a", "千斤 495 m", "冲动 943 vn", "令人鼓舞 50 l", "激动 2700 a"],
                       single_chars_out=True)
check("ty: an idiom for a plain word, a measure for an adjective, a lone character go",
      [pos.why_not("冲动", "令人鼓舞"), pos.why_not("艰巨", "千斤"), pos.why_not("冲动", "激"),
       pos.why_not("冲动", "激动")],
      ["idiom for a plain word or the reverse", "number or measure word for an adjective or verb",
       "single character for a word", None])
groups = [["空闲", "闲暇", "余暇"], ["空闲", "清闲"], ["闲暇", "清闲"], ["忙碌", "繁忙"]]
check("fy: a synonym of two of the head's synonyms is a near-synonym",
      sorted(th.near_synonyms(groups).get("余暇", ())), ["清闲"])
st = b.Stats()
book = b.PhraseBook(st)
for head, tail in [("好", "坏 差 优"), ("坏", "好"), ("优", "劣"), ("回国", "返国")]:
    book.add(head, tail)
b.keep_supported(book, {"坏": {"坏", "差"}, "差": {"坏", "差"}}, st)
check("fy: a pair given one way only stays when a synonym of a two-way antonym bears it out",
      list(book.lines()), ["好~坏 差", "坏~好"])

finish()
