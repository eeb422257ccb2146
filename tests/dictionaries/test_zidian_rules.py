#!/usr/bin/env python3
"""The 新华字典 converter's rules on small inputs taken from the raw data.

Usage: python3 tests/dictionaries/test_zidian_rules.py [REPO_ROOT]
Prints "N passed, N failed" last; exits non-zero on a failure.
"""

import json
import os
import sys

from rule_checks import ROOT, check, finish  # noqa: E402,F401  (puts the converter on the path)
import zidian as z  # noqa: E402


class Stats:
    def __init__(self):
        self.rules = {}

    def add(self, rule, n=1):
        self.rules[rule] = self.rules.get(rule, 0) + n


# Senses: (description, head character, source text, expected line text or None)
SENSES = [
    ("'～' is the head character", "我", "自称，自己：～国。忘～工作。", "自称，自己：我国。忘我工作。"),
    ("'～～' after 〔compound〕 is the compound", "螳", "〔～螂〕昆虫，如“～～捕蝉，黄雀在后”。简称“螳”，如“～臂当车”。",
     "〔螳螂〕昆虫，如“螳螂捕蝉，黄雀在后”。简称“螳”，如“螳臂当车”。"),
    ("'～～' in a word's gloss is the word", "奠", "稳固地安置：～基。～定（使稳固安定，如“～～基础”）。",
     "稳固地安置：奠基。奠定（使稳固安定，如“奠定基础”）。"),
    ("'～～' elsewhere doubles the character", "乖", "机灵，伶俐：～～。卖～。", "机灵，伶俐：乖乖。卖乖。"),
    ("'～' between numbers is a range", "钢", "含碳0.15～1.7％：～板。", "含碳0.15至1.7％：钢板。"),
    ("circled numbers outside GBK and bopomofo", "咀", "～嚼（jué ㄐㄩㄝˊ）（➊细嚼；➋体会）。",
     "咀嚼（jué）（①细嚼；②体会）。"),
    ("quoted citation cut, author and dynasty too", "懦", "柔软。晋夏侯湛《玄鳥賦》：“採懦毛以為蓐。”", "柔软。"),
    ("citation after a gloss ending in a quote", "圣", "古代方言，义同“掘”《説文•土部》：“圣，致力於地曰圣。”",
     "古代方言，义同“掘”。"),
    ("反切 note alone drops the sense", "儡", "《廣韻》魯回切，平灰，來。", None),
    ("title inside an example stays", "古", "过去的：～稀（源于杜甫《曲江》“人生七十古来稀”）。",
     "过去的：古稀（源于杜甫《曲江》“人生七十古来稀”）。"),
    ("title as part of the gloss stays", "书", "古书名，《尚书》的简称（亦称“书经”）。",
     "古书名，《尚书》的简称（亦称“书经”）。"),
    ("source note cut", "佟", "姓。晋 代有 佟寿 。见《晋书·慕容皝载记》。", "姓。晋代有佟寿。"),
    ("part-of-speech marker written out", "伙", "〈量〉用于人群：一～人。", "量词，用于人群：一伙人。"),
    ("register marker written out", "与", "〈书〉等待：时不我～。", "等待（书面语）：时不我与。"),
    ("register marker after a compound", "虺", "[虺虺]〈古〉形容打雷的声音。", "〔虺虺〕形容打雷的声音（古语）。"),
    ("Korean use dropped", "垌", "〈韩〉堤防。堰堤。", None),
    ("non-GBK list item dropped", "钩", "汉字笔形之一（亅、乛、\ue818、乙等）。", "汉字笔形之一（亅、乛、乙等）。"),
    ("non-GBK clause dropped", "离", "八卦之一，符号是“☲”，代表火。", "八卦之一，代表火。"),
    ("non-GBK sentence dropped", "猎", "同“㹱”。良犬名。", "良犬名。"),
    ("nothing left: sense dropped", "适", "同“𨓈”。", None),
    ("non-GBK character in the explained word", "怍", "〔㤉（yá）～〕心多奸诈。", None),
    ("homograph numbers dropped", "嗽", "〔咳（ké）～〕见“咳”1。", "〔咳（ké）嗽〕见“咳”。"),
    ("bracketed character form alone dropped", "吗", "（嗎）", None),
    ("lost closing quote and full stop", "娑", "〔～～〕轻扬的样子，如“修初服之～～兮", "〔娑娑〕轻扬的样子，如“修初服之娑娑兮”。"),
    ("full-width letters, ASCII punctuation", "贾", "卖:余勇可～（ａ．比喻）", "卖：余勇可贾（a.比喻）"),
]
for desc, char, raw, want in SENSES:
    check("sense: " + desc, z.clean_sense(raw, char, Stats()), want)

check("sense: leaked traditional character simplified, quoted form kept",
      z.clean_sense("大楼終于建成～！亦作“終”。", "啦", Stats(), {"終": "终"}), "大楼终于建成啦！亦作“終”。")

check("sense: a numbered reading reference names the reading",
      z.resolve_reading_refs("义同（一），用于口语。", "血", ["xuè", "xiě"], Stats()), "义同“血”（xuè），用于口语。")

# Readings
check("reading: corpus frequency first, then the customary reading",
      z.main_reading_first(["de", "dī", "dí", "dì"], ["de"], {"de": 75596, "dì": 157, "dí": 84}),
      ["de", "dì", "dí", "dī"])
check("reading: customary reading first without corpus counts",
      z.main_reading_first(["chā", "chà", "chāi", "cī"], ["chà", "chā"], {}), ["chà", "chā", "chāi", "cī"])
check("reading: tone numbers where GBK has no tone-marked letter",
      [z.gbk_reading(r) for r in ["hǎo", "ḿ", "ǹg", "ê̄", "ế"]], ["hǎo", "m2", "ng4", "ê1", "ê2"])
check("reading: syllables of a kTGHZ2013 value", z.syllables("212.080:le 223.010,223.020:liǎo"), ["le", "liǎo"])

# Radicals: kRSUnicode decides the radical, the hint only its written form.
RADICALS = "1; 2F00; 4E00\n64; 2F03; 624B\n85; 2F54; 6C34\n140; 2F8B; 8278\n187'; 2EE2; 9A6C\n"
EXTRACT = "\n".join("U+%04X\tkRSUnicode\t%s" % (ord(c), v) for c, v in
                    [("打", "64.2"), ("拿", "64.6"), ("汉", "85.2"), ("花", "140.4"), ("马", "187'.0")])
uh = z.Unihan(EXTRACT, RADICALS)
check("radical: positional form from the hint, look-alike 才 read as 扌, simplified form, modern shape",
      [uh.radical("打", "才"), uh.radical("拿", "手"), uh.radical("汉", "氵"), uh.radical("汉", "扌"),
       uh.radical("花", None), uh.radical("马", "马")],
      ["扌", "手", "氵", "水", "艹", "马"])


# The whole build on a small set of sources.
class FakeArchive:
    def __init__(self, files):
        self.files = files

    def text(self, name):
        return self.files[name]


def unihan_line(ch, **fields):
    return "".join("U+%04X\t%s\t%s\n" % (ord(ch), k, v) for k, v in fields.items())


ZDICT = {"好": {"hào": ["喜爱：～奇。"], "hǎo": ["义%d：～。" % i for i in range(1, 12)]},
         "乘": {"chéng": ["骑，坐：～马。"], "shèng": ["古代称兵车：千～之国。"],
                "chèng": ["《廣韻》食陵切，去證，船。"]}}
EXTRACT = (unihan_line("好", kTGH="2013:581", kTGHZ2013="132.140:hǎo 133.010:hào", kMandarin="hǎo",
                       kRSUnicode="38.3", kTotalStrokes="6")
           + unihan_line("乘", kTGH="2013:1000", kTGHZ2013="044.050:chéng", kMandarin="chéng",
                         kRSUnicode="4.9", kTotalStrokes="10")
           + unihan_line("丁", kTGH="2013:5", kTGHZ2013="1.1:dīng", kRSUnicode="1.1", kTotalStrokes="2")
           + unihan_line("們", kMandarin="men", kRSUnicode="9.8", kTotalStrokes="10"))
MAPULL = [{"index": 1, "char": "們", "pinyin": ["men"], "radicals": "亻"},
          {"index": 2, "char": "\U00020000", "pinyin": ["hē"]}]
ARCHIVES = {
    "hanzi-zdict": FakeArchive({"hanzi-zdict/data-chars.js": "export default " + json.dumps(ZDICT) + ";"}),
    "hanzi-unihan": FakeArchive({"hanzi-unihan/Unihan_extract.txt": EXTRACT,
                                 "hanzi-unihan/CJKRadicals.txt": "1; 2F00; 4E00\n4; 2F03; 4E3F\n9; 2F08; 4EBA\n"
                                                                 "38; 2F25; 5973\n"}),
    "hanzi-mapull": FakeArchive({"hanzi-mapull/char_base.json": json.dumps(MAPULL)}),
}
lines, count = z.build_zd(lambda name: ARCHIVES[name], Stats())
check("build: standard order, ten lines an entry, main reading first, extra readings after (in the header "
      "too, unless cleaning left them no sense), header-only "
      "entries, old-list character with the customary reading, non-GBK character left out", lines,
      ["~丁 dīng 一部 2画"]
      + ["~好 hǎo hào 女部 6画"] + ["[hǎo] 义%d：好。" % i for i in range(1, 11)]
      + ["~好 hǎo hào 女部 6画", "[hǎo] 义11：好。", "[hào] 喜爱：好奇。"]
      + ["~乘 chéng shèng 丿部 10画", "[chéng] 骑，坐：乘马。", "[shèng] 古代称兵车：千乘之国。"]
      + ["~們 men 亻部 10画"])
check("build: characters counted", count, 4)

finish()
