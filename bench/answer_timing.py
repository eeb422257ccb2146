#!/usr/bin/env python3
"""How soon an answer is on screen and how long it stays, measured on the real program.

Starts the program in a private Xvfb server, drives it with xdotool as the end-to-end test
does (double-click, menu by keyboard, text through the clipboard, 确定) and reads the balloon
from the window names that bench/balloon_watch writes down with their times. For each case:
the time from pressing 确定 (or choosing 下一个词) until the explanation is whole in a balloon
on screen, and how long it then stays there untouched. The explanation expected is the last
thought the console front end prints for the same command.

  python3 bench/answer_timing.py BUILD [--runs 5] [--console CONSOLE] [--shots DIR]
  python3 bench/answer_timing.py BUILD_A BUILD_B ...   # alternating, one run of each in turn

BUILD is a build folder with bin/vembrel and bench/balloon_watch (the first build's watcher and
console serve them all). Prints a Markdown table of medians in milliseconds.
"""
import argparse
import os
import re
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

# (label, menu position counted in Down presses, search text or None for a step, console
# commands, which of the thoughts they print is the explanation). For a character the
# explanation is its first sense, the thought after the line of readings.
CASES = [
    ("歇后语 灯笼", 2, "灯笼", ["mxhy 灯笼"], -1),
    ("新华字典 好", 3, "好", ["mxh 好"], 3),
    ("成语 一心", 4, "一心", ["mcy 一心"], -1),
    ("下一个词", 9, None, ["mcy 一心", "mx"], -1),
    ("同义词 美丽", 5, "美丽", ["mty 美丽"], -1),
    ("反义词 高兴", 6, "高兴", ["mfy 高兴"], -1),
    ("古文 学而时习之", 7, "学而时习之", ["mwy 学而时习之"], -1),
    ("成语, nothing found", 4, "鼹鼠鼹", ["mcy 鼹鼠鼹"], -1),
]
SHOTS = {"成语 一心": "chengyu", "新华字典 好": "xinhua", "古文 学而时习之": "guwen"}


def expected_explanation(console, commands, index):
    run = subprocess.run([console], input="\n".join(commands) + "\nquit\n", text=True,
                         capture_output=True, check=True)
    thoughts = [line[len("Think "):] for line in run.stdout.splitlines()
                if line.startswith("Think ")]
    # The balloon draws a gap between words (two or more blanks) as one full-width blank.
    return re.sub(r"(?<=\S) {2,}(?=\S)", "\u3000", thoughts[index].replace("\\n", "\n").strip())


class Session:
    """One Xvfb with the watcher and the program."""

    def __init__(self, build, watcher):
        self.work = tempfile.mkdtemp(prefix="answer-timing-")
        env = dict(os.environ, LC_ALL="C.UTF-8", TMPDIR=self.work,
                   XDG_RUNTIME_DIR=os.path.join(self.work, "runtime"),
                   XDG_CONFIG_HOME=os.path.join(self.work, "config"))
        os.makedirs(env["XDG_RUNTIME_DIR"], mode=0o700)
        read_fd, write_fd = os.pipe()
        self.xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_fd), "-screen", "0", "1280x800x24", "-nolisten",
             "tcp", "-noreset"], pass_fds=[write_fd], stderr=subprocess.DEVNULL)
        os.close(write_fd)
        with os.fdopen(read_fd) as display:
            env["DISPLAY"] = ":" + display.readline().strip()
        self.env = env
        self.log_path = os.path.join(self.work, "watch.log")
        self.log = open(self.log_path, "w")
        self.watch = subprocess.Popen([watcher], env=env, stdout=self.log)
        time.sleep(0.3)
        self.program = subprocess.Popen([os.path.join(build, "bin", "vembrel")], env=env,
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.character = None
        for _ in range(100):
            found = self.xdotool("search", "--onlyvisible", "--name", "^Vembrel 双击显示菜单$")
            if found:
                self.character = found.split()[0]
                break
            time.sleep(0.1)
        if not self.character:
            raise RuntimeError("the character did not appear")
        geometry = dict(line.split("=") for line in
                        self.xdotool("getwindowgeometry", "--shell", self.character).split())
        self.at = (int(geometry["X"]) + 65, int(geometry["Y"]) + 90)

    def xdotool(self, *args):
        return subprocess.run(["xdotool", *args], env=self.env, capture_output=True,
                              text=True).stdout.strip()

    def events(self):
        """(ms, kind, window, name) from the watcher's log so far."""
        out = []
        with open(self.log_path) as log:
            for line in log:
                if not line.endswith("\n"):
                    break
                parts = line.rstrip("\n").split(" ", 3)
                name = parts[3].replace("\\n", "\n") if len(parts) > 3 else ""
                out.append((float(parts[0]), parts[1], parts[2], name))
        return out

    def wait_quiet(self, seconds=1.5, limit=60):
        """Until no window but the character has been mapped for `seconds`."""
        end = time.monotonic() + limit
        calm_since = time.monotonic()
        while time.monotonic() < end:
            shown = self.xdotool("search", "--onlyvisible", "--name", ".").split()
            if [w for w in shown if w != self.character]:
                calm_since = time.monotonic()
            elif time.monotonic() - calm_since >= seconds:
                return
            time.sleep(0.1)

    def choose(self, downs):
        self.xdotool("mousemove", str(self.at[0]), str(self.at[1]))
        time.sleep(0.2)
        self.xdotool("click", "--repeat", "2", "--delay", "80", "1")
        time.sleep(0.6)
        for _ in range(downs):
            self.xdotool("key", "Down")
            time.sleep(0.05)

    def confirm(self):
        """Presses Return and gives its time on the watcher's clock."""
        t0 = time.monotonic() * 1000
        self.xdotool("key", "Return")
        return t0

    def answer(self, text):
        """Takes the chosen menu item, types `text` into the dialog and presses 确定."""
        menus = set(self.xdotool("search", "--onlyvisible", "--name", "^Vembrel$").split())
        self.xdotool("key", "Return")
        for _ in range(100):
            shown = set(self.xdotool("search", "--onlyvisible", "--name", "^Vembrel$").split())
            if shown - menus:
                break
            time.sleep(0.1)
        clip = subprocess.Popen(["xclip", "-quiet", "-selection", "clipboard", "-i"],
                                env=self.env, stdin=subprocess.PIPE, stderr=subprocess.DEVNULL)
        clip.stdin.write(text.encode())
        clip.stdin.close()
        time.sleep(0.3)
        self.xdotool("key", "ctrl+v")
        time.sleep(0.3)
        t0 = self.confirm()
        clip.kill()
        return t0

    def close(self):
        for p in (self.program, self.watch, self.xvfb):
            p.kill()
            p.wait()
        self.log.close()
        shutil.rmtree(self.work, ignore_errors=True)


def on_screen(events, explanation, since):
    """When the explanation was first whole in a mapped window after `since`, and for how long."""
    mapped, names = set(), {}
    shown_at = None
    for ms, kind, window, name in events:
        if kind == "map":
            mapped.add(window)
        elif kind == "unmap":
            mapped.discard(window)
        elif kind == "name":
            names[window] = name
        if ms < since:
            continue
        showing = any(w in mapped and explanation in names.get(w, "") for w in mapped)
        if shown_at is None and showing:
            shown_at = ms
        elif shown_at is not None and not showing:
            return shown_at - since, ms - shown_at
    return (None, None) if shown_at is None else (shown_at - since, None)


def run_once(build, watcher, expected, shots):
    """One fresh program through every case. A case waits until the balloons of the one before
    have gone for a while, but an old answer with long gestures between its thoughts may still
    be under way; a case that queues behind it is measured from its own 确定 all the same."""
    session = Session(build, watcher)
    results = {}
    try:
        session.wait_quiet(limit=40)
        for label, downs, text, *_ in CASES:
            session.choose(downs)
            t0 = session.answer(text) if text is not None else session.confirm()
            explanation = expected[label]
            took = stays = None
            end = time.monotonic() + 60
            shot_taken = False
            while time.monotonic() < end:
                took, stays = on_screen(session.events(), explanation, t0)
                if took is not None and shots and label in SHOTS and not shot_taken:
                    time.sleep(0.3)
                    subprocess.run(["import", "-window", "root",
                                    os.path.join(shots, SHOTS[label] + ".png")],
                                   env=session.env, stderr=subprocess.DEVNULL)
                    shot_taken = True
                if stays is not None:
                    break
                time.sleep(0.2)
            results[label] = (took, stays)
            session.wait_quiet()
    finally:
        session.close()
    return results


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("builds", nargs="+")
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--console", help="console front end for the texts expected")
    parser.add_argument("--shots", help="folder for screenshots (first build, first run)")
    parser.add_argument("--cases", help="only the cases whose labels contain this text")
    args = parser.parse_args()
    if args.cases:
        CASES[:] = [case for case in CASES if args.cases in case[0]]
    first = args.builds[0]
    console = args.console or os.path.join(first, "bin", "vembrel-console")
    watcher = os.path.join(first, "bench", "balloon_watch")
    expected = {label: expected_explanation(console, commands, index)
                for label, _, _, commands, index in CASES}
    if args.shots:
        os.makedirs(args.shots, exist_ok=True)
    samples = {build: {label: [] for label, *_ in CASES} for build in args.builds}
    for run in range(args.runs):
        for build in args.builds:
            shots = args.shots if run == 0 and build == first else None
            for label, measured in run_once(build, watcher, expected, shots).items():
                samples[build][label].append(measured)
            print(f"run {run + 1} {build}: {samples[build]}", file=sys.stderr, flush=True)

    def median(values):
        values = [v for v in values if v is not None]
        return f"{statistics.median(values) / 1000:.1f} s" if values else "never"

    header = "| case | " + " | ".join(f"{b}: to screen | {b}: stays" for b in args.builds)
    print(header + " |")
    print("|---" * (1 + 2 * len(args.builds)) + "|")
    for label, *_ in CASES:
        cells = []
        for build in args.builds:
            cells.append(median([t for t, _ in samples[build][label]]))
            cells.append(median([s for _, s in samples[build][label]]))
        print(f"| {label} | " + " | ".join(cells) + " |")


if __name__ == "__main__":
    main()
