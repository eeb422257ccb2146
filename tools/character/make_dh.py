#!/usr/bin/env python3
"""Builds data/dh.vr, the character shipped with Vembrel: 墨墨, a bookish panda with round
glasses, a red scarf and a writing brush tucked behind one ear.

Every frame is drawn from a pose (a handful of numbers and a few named expressions); each
animation is a list of key poses eased into smooth frames. Identical frames are stored once.
The output is deterministic, so rebuilding an unchanged script gives the same file.

    python3 tools/character/make_dh.py [output path]   # default: data/dh.vr
"""

import json
import math
import os
import sys

WIDTH, HEIGHT = 130, 160
CX = 62  # the character stands a little left of centre: its last pixels may be off-screen
GROUND = 150

INK = "#1f2228"      # outlines
FUR_DARK = "#30343c"  # ears, eye patches, arms, legs
FUR_LIGHT = "#ffffff"
BELLY = "#f3efe7"
SCARF = "#d2473a"
SCARF_LIGHT = "#ec7a62"
RIM = "#c9962e"       # glasses
CHEEK = "#f5a3a3"
LINE = 2.2            # outline width

BASE_POSE = dict(
    dx=0.0, dy=0.0, sx=1.0, sy=1.0,        # body offset and squash about the feet
    scale=1.0, opacity=1.0,                # whole character, about the feet
    head=0.0, hdy=0.0,                     # head tilt (degrees) and bob
    la1=22.0, la2=-32.0, ra1=22.0, ra2=-32.0,  # arms: upper angle out from hanging, elbow bend
    lookx=0.0, looky=0.0,                  # pupils
    eyes="open", brows="calm", mouth="smile",
    sparkle=-1.0, confetti=-1.0, question=-1.0, poof=-1.0,  # effects: phase 0..1, -1 off
)
DISCRETE = ("eyes", "brows", "mouth")


def n(value):
    """A number as short as it can be written, so the file stays small and stable."""
    text = f"{value:.2f}".rstrip("0").rstrip(".")
    return "0" if text in ("-0", "") else text


def pose(**changes):
    result = dict(BASE_POSE)
    result.update(changes)
    return result


# Drawing ------------------------------------------------------------------------------------

def arm_points(side, upper, bend):
    """Shoulder, elbow and paw of an arm; angles in degrees, positive away from the body."""
    sign = -1 if side == "left" else 1
    shoulder = (CX - 26 if side == "left" else CX + 26, 104)
    a1 = math.radians(upper)
    elbow = (shoulder[0] + sign * 15 * math.sin(a1), shoulder[1] + 15 * math.cos(a1))
    a2 = math.radians(upper + bend)
    paw = (elbow[0] + sign * 14 * math.sin(a2), elbow[1] + 14 * math.cos(a2))
    return shoulder, elbow, paw


def arm(side, upper, bend):
    s, e, p = arm_points(side, upper, bend)
    path = f"M{n(s[0])},{n(s[1])} L{n(e[0])},{n(e[1])} L{n(p[0])},{n(p[1])}"
    return (f'<path d="{path}" fill="none" stroke="{INK}" stroke-width="{n(14 + 2 * LINE)}" '
            f'stroke-linecap="round" stroke-linejoin="round"/>'
            f'<path d="{path}" fill="none" stroke="{FUR_DARK}" stroke-width="14" '
            f'stroke-linecap="round" stroke-linejoin="round"/>'
            f'<circle cx="{n(p[0])}" cy="{n(p[1])}" r="3.6" fill="#5d6470"/>')


def round_line(d, colour, width):
    """An open stroke with round ends."""
    return (f'<path d="{d}" fill="none" stroke="{colour}" stroke-width="{width}" '
            f'stroke-linecap="round"/>')


def eye(x, y, state, lookx, looky):
    if state == "closed":
        return round_line(f"M{n(x - 5)},{n(y)} Q{n(x)},{n(y + 3.5)} {n(x + 5)},{n(y)}", "#fff", "2")
    if state == "happy":
        return round_line(f"M{n(x - 5)},{n(y + 1.5)} Q{n(x)},{n(y - 5)} {n(x + 5)},{n(y + 1.5)}",
                          "#fff", "2.2")
    ry = 2.4 if state == "half" else 5.2
    px, py = x + lookx, y + looky * (0.3 if state == "half" else 1)
    return (f'<ellipse cx="{n(x)}" cy="{n(y)}" rx="5" ry="{n(ry)}" fill="#fff"/>'
            f'<ellipse cx="{n(px)}" cy="{n(py + 0.4)}" rx="3.1" ry="{n(min(3.3, ry - 0.4))}" '
            f'fill="#17191d"/>'
            f'<circle cx="{n(px + 1.1)}" cy="{n(py - 0.9)}" r="1.1" fill="#fff"/>')


BROWS = {
    # (left start, left end, right start, right end) as (x offset, y) around each eye
    "calm": ((-5, 40.5), (4, 38.5), (-4, 38.5), (5, 40.5)),
    "raised": ((-5, 37), (4, 34.5), (-4, 34.5), (5, 37)),
    "worried": ((-5, 38.5), (4, 36), (-4, 36), (5, 38.5)),
    "puzzled": ((-5, 35.5), (4, 33.5), (-4, 40.5), (5, 40)),
}


def brows(kind):
    if kind == "none":
        return ""
    l0, l1, r0, r1 = BROWS[kind]
    lx, rx = CX - 16, CX + 16
    if kind == "worried":  # inner ends up
        l0, l1, r0, r1 = (-5, 39.5), (4, 35.5), (-4, 35.5), (5, 39.5)
    out = ""
    for (a, b), x in (((l0, l1), lx), ((r0, r1), rx)):
        out += (f'<path d="M{n(x + a[0])},{n(a[1])} L{n(x + b[0])},{n(b[1])}" stroke="{INK}" '
                f'stroke-width="2.4" stroke-linecap="round"/>')
    return out


def mouth(kind):
    y = 78
    if kind == "smile":
        return (f'<path d="M{n(CX - 6)},{y} Q{n(CX - 3)},{y + 4} {CX},{y + 1} Q{n(CX + 3)},{y + 4} '
                f'{n(CX + 6)},{y}" fill="none" stroke="{INK}" stroke-width="1.8" '
                f'stroke-linecap="round" stroke-linejoin="round"/>')
    if kind == "open":
        return (f'<path d="M{n(CX - 7)},{y} Q{CX},{y + 2} {n(CX + 7)},{y} Q{n(CX + 6)},{y + 10} {CX},'
                f'{y + 10} Q{n(CX - 6)},{y + 10} {n(CX - 7)},{y} Z" fill="#b8403f" stroke="{INK}" '
                f'stroke-width="1.8" stroke-linejoin="round"/>'
                f'<ellipse cx="{CX}" cy="{y + 7.5}" rx="3.6" ry="2" fill="#f08c8c"/>')
    if kind == "o":
        return (f'<ellipse cx="{CX}" cy="{y + 2.5}" rx="2.6" ry="3.2" fill="#b8403f" '
                f'stroke="{INK}" stroke-width="1.6"/>')
    if kind == "flat":
        return round_line(f"M{n(CX - 5)},{y + 2} Q{CX},{y + 3} {n(CX + 5)},{y + 2}", INK, "1.8")
    if kind == "wavy":
        return round_line(f"M{n(CX - 7)},{y + 2} Q{n(CX - 3.5)},{y - 1} {CX},{y + 2} "
                          f"Q{n(CX + 3.5)},{y + 5} {n(CX + 7)},{y + 2}", INK, "1.8")
    raise ValueError(kind)


def head(p):
    lx, rx, ey = CX - 16, CX + 16, 58
    parts = [
        # the brush behind the right ear, drawn first so the ear covers its end
        f'<path d="M{CX + 22},46 L{CX + 40},21" stroke="{INK}" stroke-width="{n(4 + 2 * LINE)}" '
        f'stroke-linecap="round"/>',
        f'<path d="M{CX + 22},46 L{CX + 40},21" stroke="#caa064" stroke-width="4" '
        f'stroke-linecap="round"/>',
        f'<path d="M{CX + 38},24 Q{CX + 40},15 {CX + 46},11 Q{CX + 46},19 {CX + 41},25 Z" '
        f'fill="{FUR_DARK}" stroke="{INK}" stroke-width="1.6" stroke-linejoin="round"/>',
        # ears
        f'<circle cx="{CX - 33}" cy="29" r="12.5" fill="{FUR_DARK}" stroke="{INK}" '
        f'stroke-width="{LINE}"/>',
        f'<circle cx="{CX + 33}" cy="29" r="12.5" fill="{FUR_DARK}" stroke="{INK}" '
        f'stroke-width="{LINE}"/>',
        # the head, lit from above
        f'<ellipse cx="{CX}" cy="60" rx="42" ry="36.5" fill="url(#headfill)" stroke="{INK}" '
        f'stroke-width="{LINE}"/>',
        # eye patches, drooping outward
        f'<ellipse cx="{lx - 1}" cy="{ey + 1.5}" rx="10.5" ry="12.5" fill="{FUR_DARK}" '
        f'transform="rotate(28 {lx - 1} {ey + 1.5})"/>',
        f'<ellipse cx="{rx + 1}" cy="{ey + 1.5}" rx="10.5" ry="12.5" fill="{FUR_DARK}" '
        f'transform="rotate(-28 {rx + 1} {ey + 1.5})"/>',
        eye(lx, ey, p["eyes"], p["lookx"], p["looky"]),
        eye(rx, ey, p["eyes"], p["lookx"], p["looky"]),
        # round glasses
        f'<circle cx="{lx}" cy="{ey}" r="11.5" fill="none" stroke="{RIM}" stroke-width="2"/>',
        f'<circle cx="{rx}" cy="{ey}" r="11.5" fill="none" stroke="{RIM}" stroke-width="2"/>',
        f'<path d="M{lx + 11.5},{ey - 1} Q{CX},{ey - 5} {rx - 11.5},{ey - 1}" fill="none" '
        f'stroke="{RIM}" stroke-width="2"/>',
        brows(p["brows"]),
        f'<ellipse cx="{CX - 27}" cy="75" rx="6" ry="3.5" fill="{CHEEK}" opacity="0.75"/>',
        f'<ellipse cx="{CX + 27}" cy="75" rx="6" ry="3.5" fill="{CHEEK}" opacity="0.75"/>',
        # nose
        f'<path d="M{CX - 4.5},71 Q{CX},69 {CX + 4.5},71 Q{CX + 3},75.5 {CX},75.5 Q{CX - 3},75.5 '
        f'{CX - 4.5},71 Z" fill="#17191d"/>',
        f'<ellipse cx="{CX - 1.2}" cy="71.3" rx="1.4" ry="0.8" fill="#6b7079"/>',
        mouth(p["mouth"]),
    ]
    transform = f'translate(0 {n(p["hdy"])}) rotate({n(p["head"])} {CX} 95)'
    return f'<g transform="{transform}">' + "".join(parts) + "</g>"


def body(p):
    parts = [
        # legs
        f'<ellipse cx="{CX - 15}" cy="143" rx="13.5" ry="9" fill="{FUR_DARK}" stroke="{INK}" '
        f'stroke-width="{LINE}"/>',
        f'<ellipse cx="{CX + 15}" cy="143" rx="13.5" ry="9" fill="{FUR_DARK}" stroke="{INK}" '
        f'stroke-width="{LINE}"/>',
        f'<ellipse cx="{CX - 16}" cy="145" rx="5" ry="3.2" fill="#59606b"/>',
        f'<ellipse cx="{CX + 16}" cy="145" rx="5" ry="3.2" fill="#59606b"/>',
        # body and belly
        f'<ellipse cx="{CX}" cy="117" rx="33" ry="29" fill="{FUR_LIGHT}" stroke="{INK}" '
        f'stroke-width="{LINE}"/>',
        f'<ellipse cx="{CX}" cy="122" rx="21" ry="19" fill="{BELLY}"/>',
        # scarf: a band round the neck, a knot and a tail
        f'<path d="M{CX - 30},92 Q{CX},103 {CX + 30},92 L{CX + 29},100 Q{CX},112 {CX - 29},100 Z" '
        f'fill="{SCARF}" stroke="{INK}" stroke-width="{LINE}" stroke-linejoin="round"/>',
        f'<path d="M{CX + 12},103 L{CX + 22},124 L{CX + 13},126 L{CX + 6},105 Z" fill="{SCARF}" '
        f'stroke="{INK}" stroke-width="{LINE}" stroke-linejoin="round"/>',
        round_line(f"M{CX - 26},97.5 Q{CX},107 {CX + 26},97.5", SCARF_LIGHT, "1.6"),
        f'<circle cx="{CX + 10}" cy="104" r="4.5" fill="{SCARF}" stroke="{INK}" '
        f'stroke-width="{LINE}"/>',
        arm("left", p["la1"], p["la2"]),
        arm("right", p["ra1"], p["ra2"]),
        head(p),
    ]
    transform = (f'translate({n(p["dx"])} {n(p["dy"])}) translate({CX} {GROUND}) '
                 f'scale({n(p["sx"])} {n(p["sy"])}) translate({-CX} {-GROUND})')
    return f'<g transform="{transform}">' + "".join(parts) + "</g>"


def star(x, y, size, colour):
    s, t = size, size * 0.32
    d = (f"M{n(x)},{n(y - s)} L{n(x + t)},{n(y - t)} L{n(x + s)},{n(y)} L{n(x + t)},{n(y + t)} "
         f"L{n(x)},{n(y + s)} L{n(x - t)},{n(y + t)} L{n(x - s)},{n(y)} L{n(x - t)},{n(y - t)} Z")
    return (f'<path d="{d}" fill="{colour}" stroke="{INK}" stroke-width="1.3" '
            f'stroke-linejoin="round"/>')


def sparkles(phase):
    out = ""
    for i, (x, y, size) in enumerate(((18, 40, 7), (108, 52, 6), (24, 108, 5), (104, 112, 6))):
        grow = math.sin(math.pi * min(1.0, max(0.0, phase * 1.3 - i * 0.1)))
        if grow > 0.05:
            out += star(x, y, size * grow, "#f5c84c")
    return out


CONFETTI = [(14, "#e0533d"), (34, "#f5c84c"), (52, "#4e9ad6"), (70, "#62b36f"), (88, "#e0533d"),
            (104, "#4e9ad6"), (24, "#62b36f"), (62, "#f5c84c"), (96, "#f5c84c"), (44, "#e0533d")]


def confetti(phase):
    out = ""
    for i, (x, colour) in enumerate(CONFETTI):
        start = (i % 4) * 0.08
        t = (phase - start) / (1 - start)
        if t <= 0:
            continue
        y = -6 + t * (70 + (i % 3) * 18)
        sway = 5 * math.sin(t * 7 + i)
        angle = (i * 47 + t * 400) % 360
        out += (f'<rect x="-3" y="-1.8" width="6" height="3.6" fill="{colour}" stroke="{INK}" '
                f'stroke-width="0.9" transform="translate({n(x + sway)} {n(y)}) rotate({n(angle)})"/>')
    return out


def question(phase):
    grow = min(1.0, phase * 3)
    bob = 2.5 * math.sin(phase * math.pi * 3)
    d = "M-6,-9 C-6,-17 6,-17 6,-9 C6,-3 0,-3 0,3"
    strokes = (round_line(d, INK, "7.5") + round_line(d, "#4e86c9", "4") +
               f'<circle cx="0" cy="10.5" r="3.4" fill="#4e86c9" stroke="{INK}" stroke-width="1.8"/>')
    return (f'<g transform="translate(13 {n(52 + bob)}) rotate(-12) scale({n(grow * 1.15)})">'
            + strokes + "</g>")


def poof(phase):
    out = ""
    radius = 14 + 34 * phase
    size = 9 * (1 - phase) + 2
    for i in range(8):
        a = math.radians(i * 45 + 20)
        x, y = CX + radius * math.cos(a), 112 + radius * 0.8 * math.sin(a)
        out += (f'<circle cx="{n(x)}" cy="{n(y)}" r="{n(size)}" fill="#eef2f6" stroke="#8d98a6" '
                f'stroke-width="1.4"/>')
    return out


DEFS = ('<defs><radialGradient id="headfill" cx="0.42" cy="0.3" r="0.8">'
        '<stop offset="0" stop-color="#ffffff"/><stop offset="0.75" stop-color="#fbf8f3"/>'
        '<stop offset="1" stop-color="#ece7de"/></radialGradient></defs>')


def frame_svg(p):
    shadow = (f'<ellipse cx="{CX}" cy="{GROUND + 2}" rx="{n(30 * p["scale"])}" ry="4.5" '
              f'fill="#000" opacity="0.18"/>')
    figure = (f'<g opacity="{n(p["opacity"])}" transform="translate({CX} {GROUND}) '
              f'scale({n(p["scale"])}) translate({-CX} {-GROUND})">' + body(p) + "</g>")
    effects = ""
    if p["sparkle"] >= 0:
        effects += sparkles(p["sparkle"])
    if p["confetti"] >= 0:
        effects += confetti(p["confetti"])
    if p["question"] >= 0:
        effects += question(p["question"])
    if p["poof"] >= 0:
        effects += poof(p["poof"])
    return (f'<svg xmlns="http://www.w3.org/2000/svg" width="{WIDTH}" height="{HEIGHT}" '
            f'viewBox="0 0 {WIDTH} {HEIGHT}">' + DEFS + shadow + figure + effects + "</svg>")


# Motion -------------------------------------------------------------------------------------

def ease_in_out(t):
    return t * t * (3 - 2 * t)


def ease_out_back(t):
    c = 1.7
    return 1 + (c + 1) * (t - 1) ** 3 + c * (t - 1) ** 2


def blend(a, b, t):
    out = {}
    for key, value in a.items():
        if key in DISCRETE:
            out[key] = b[key] if t >= 0.5 else value
        else:
            out[key] = value + (b[key] - value) * t
    return out


def tween(keys, ease=ease_in_out):
    """keys: [(pose, frames to reach it, ms per frame)]; the first key is shown as it is."""
    first, _, first_ms = keys[0]
    steps = [(first, first_ms)]
    previous = first
    for target, count, ms in keys[1:]:
        for i in range(1, count + 1):
            steps.append((blend(previous, target, ease(i / count)), ms))
        previous = target
    return steps


REST = pose()


def rest():
    return [(REST, 1000)]


def blink():
    return [(pose(eyes="half"), 40), (pose(eyes="closed"), 60), (pose(eyes="closed"), 40),
            (pose(eyes="half"), 40), (REST, 60)]


def look_around():
    left = pose(lookx=-2.2, head=-4)
    right = pose(lookx=2.2, head=4)
    return tween([(REST, 0, 80), (left, 3, 70), (left, 1, 500), (right, 4, 70), (right, 1, 500),
                  (REST, 3, 70)])


def show():
    steps = []
    for i in range(12):
        t = i / 11
        p = pose(scale=max(0.05, ease_out_back(t)), opacity=min(1.0, 0.15 + t * 2),
                 sparkle=t, eyes="happy" if t < 0.8 else "open")
        steps.append((p, 70))
    steps.append((pose(sparkle=1.0), 80))
    return steps


def hide():
    crouch = pose(sx=1.08, sy=0.9, eyes="happy")
    steps = tween([(REST, 0, 60), (crouch, 3, 60)])
    for i in range(1, 9):
        t = i / 8
        p = dict(crouch, scale=max(0.02, 1 - ease_in_out(t)), opacity=max(0.0, 1 - t * 1.2),
                 sy=0.9 + 0.25 * t, poof=t)
        steps.append((p, 60))
    return steps


def wave():
    up = pose(la1=125, la2=50, eyes="happy", mouth="open", brows="raised", head=-3)
    swing = dict(up, la2=12)
    keys = [(REST, 0, 70), (up, 4, 60)]
    for _ in range(3):
        keys += [(swing, 3, 55), (up, 3, 55)]
    keys += [(pose(eyes="happy"), 4, 60), (REST, 2, 70)]
    return tween(keys)


def congratulate():
    ready = pose(sx=1.06, sy=0.92, la1=40, la2=-10, ra1=40, ra2=-10, eyes="happy", mouth="open")
    steps = tween([(REST, 0, 60), (ready, 3, 60)])
    cheer = dict(ready, sx=0.97, sy=1.04, la1=128, la2=38, ra1=128, ra2=38, brows="raised")
    for jump in range(2):
        for i in range(1, 9):
            t = i / 8
            height = -8 * math.sin(math.pi * t)
            arms = 128 + 10 * math.sin(math.pi * t)
            p = dict(cheer, dy=height, la1=arms, ra1=arms,
                     confetti=(jump * 8 + i) / 16, sparkle=(jump * 8 + i) / 16)
            if t == 1:
                p.update(sx=1.05, sy=0.94)
            steps.append((p, 60))
    calm = pose(eyes="happy", mouth="open", confetti=1.0)
    steps += tween([(steps[-1][0], 0, 60), (calm, 4, 70), (REST, 2, 70)])[1:]
    return steps


def gesture_toward_balloon():
    point = pose(la1=116, la2=-8, dx=-2, head=-6, lookx=-2.2, brows="raised", mouth="open")
    nod = dict(point, la1=108, head=-3)
    return tween([(REST, 0, 70), (point, 5, 60), (nod, 2, 90), (point, 2, 90), (point, 1, 450),
                  (pose(lookx=-1), 4, 70), (REST, 2, 70)])


def decline():
    paw = pose(ra1=-18, ra2=-140, eyes="closed", brows="worried", mouth="flat")
    left = dict(paw, head=-7, ra2=-128)
    right = dict(paw, head=7, ra2=-152)
    keys = [(REST, 0, 70), (paw, 4, 60)]
    for _ in range(2):
        keys += [(left, 3, 60), (right, 3, 60)]
    keys += [(paw, 2, 60), (pose(eyes="closed", mouth="flat"), 3, 70), (REST, 2, 70)]
    return tween(keys)


def dont_recognize():
    shrug = pose(la1=50, la2=55, ra1=45, ra2=55, sy=1.03, head=8, hdy=-1.5, lookx=-1.5,
                 looky=-1.5, brows="puzzled", mouth="wavy")
    steps = tween([(REST, 0, 70), (shrug, 5, 60)])
    for i in range(1, 12):
        t = i / 11
        steps.append((dict(shrug, question=t, head=8 + 2 * math.sin(t * math.pi * 2)), 70))
    steps += tween([(dict(shrug, question=1.0), 0, 70), (REST, 4, 70)])[1:]
    return steps


ANIMATIONS = {
    "rest": rest,
    "blink": blink,
    "lookaround": look_around,
    "show": show,
    "hide": hide,
    "wave": wave,
    "congratulate2": congratulate,
    "gestureright": gesture_toward_balloon,
    "decline": decline,
    "dontrecognize": dont_recognize,
}


def build():
    frames, ids, animations = {}, {}, {}
    for name, make in ANIMATIONS.items():
        steps = []
        for p, ms in make():
            # Single-quoted attributes need no escaping inside the JSON string, which makes
            # the file several times quicker to parse at start-up.
            svg = frame_svg(p).replace('"', "'")
            if svg not in ids:
                ids[svg] = "f%03d" % len(ids)
                frames[ids[svg]] = svg
            # a repeated frame just lengthens the one before
            if steps and steps[-1]["frame"] == ids[svg]:
                steps[-1]["ms"] += ms
            else:
                steps.append({"frame": ids[svg], "ms": ms})
        animations[name] = {"frames": steps}
    return {
        "format": "vembrel-character",
        "version": 1,
        "name": "墨墨",
        "width": WIDTH,
        "height": HEIGHT,
        "frames": frames,
        "animations": animations,
    }


def icon_svg(character):
    """The application icon: the rest pose, centred on a square canvas."""
    rest = character["frames"][character["animations"]["rest"]["frames"][0]["frame"]]
    inner = rest[rest.index(">") + 1:rest.rindex("</svg>")]
    side = max(WIDTH, HEIGHT)
    return ('<svg xmlns="http://www.w3.org/2000/svg" width="%d" height="%d" viewBox="%d %d %d %d">'
            % (side, side, -(side - WIDTH) // 2, -(side - HEIGHT) // 2, side, side)
            + inner + "</svg>\n")


def main():
    root = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "data", "dh.vr")
    character = build()
    with open(out, "w", encoding="utf-8", newline="\n") as f:
        json.dump(character, f, ensure_ascii=False, indent=1, sort_keys=True)
        f.write("\n")
    icon = os.path.join(os.path.dirname(out), "vembrel.svg")
    with open(icon, "w", encoding="utf-8", newline="\n") as f:
        f.write(icon_svg(character))
    print(out, icon)


if __name__ == "__main__":
    main()
