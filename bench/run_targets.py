#!/usr/bin/env python3
"""Measures Vembrel's performance targets side by side and prints one line per target.

Usage: run_targets.py BUILD_DIR [--quick]

Whole processes are timed from outside, in alternating runs, and each comparison is the
median of the per-pair ratios, so a machine whose speed drifts still compares fairly. The
desktop figures are taken in a private Xvfb server.
"""
import os
import resource
import statistics
import subprocess
import sys
import tempfile
import time

BUILD = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "build")
QUICK = "--quick" in sys.argv
APP = os.path.join(BUILD, "bin")
BENCH = os.path.join(BUILD, "bench")
CONSOLE = os.path.join(APP, "vembrel-console")
GW = os.path.join(APP, "data", "gw.mdb")
RUNS = 5 if QUICK else 15
results = []


def report(name, figure, unit, limit, met):
    line = "%-58s %10s %-4s (target %s) %s" % (name, figure, unit, limit, "met" if met else "NOT MET")
    results.append(met)
    print(line, flush=True)


def timed(cmd, stdin_path=None, env=None):
    stdin = open(stdin_path, "rb") if stdin_path else subprocess.DEVNULL
    start = time.perf_counter()
    # Output goes to a pipe: GNU grep stops at its first match when it sees /dev/null.
    subprocess.run(cmd, stdin=stdin, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, env=env,
                   check=False)
    elapsed = time.perf_counter() - start
    if stdin_path:
        stdin.close()
    return elapsed


def median_ratio(a, b, runs=RUNS):
    """Median of a/b over alternating runs; a and b are functions returning seconds."""
    a(), b()  # warm the page cache and the loader
    ratios, a_times, b_times = [], [], []
    for _ in range(runs):
        ta, tb = a(), b()
        ratios.append(ta / tb)
        a_times.append(ta)
        b_times.append(tb)
    return statistics.median(ratios), statistics.median(a_times), statistics.median(b_times)


def lookup_targets(tmp):
    c_env = dict(os.environ, LC_ALL="C")
    for query, rg_limit, grep_limit in (("学而", 0.4, 1.5), ("学而时习", 0.4, 1.5),
                                        ("之", 1.0, None)):
        commands = os.path.join(tmp, "query.txt")
        with open(commands, "w", encoding="utf-8") as f:
            f.write("mwy %s\n" % query)
        console = lambda: timed([CONSOLE], commands)
        rg = lambda: timed(["rg", "--encoding", "gbk", "-c", "-F", query, GW])
        ratio, ta, tb = median_ratio(console, rg)
        report("lookup %s in gw.mdb, whole console process / rg" % query, "%.2f" % ratio, "x",
               "<= %.1f" % rg_limit, ratio <= rg_limit)
        print("    console %.1f ms, rg %.1f ms" % (ta * 1e3, tb * 1e3))
        if grep_limit:
            needle = query.encode("gbk")
            grep = lambda: timed([b"grep", b"-c", b"-F", needle, GW.encode()], env=c_env)
            ratio, ta, tb = median_ratio(console, grep)
            report("lookup %s in gw.mdb, whole console process / grep -F" % query, "%.2f" % ratio,
                   "x", "<= %.1f" % grep_limit, ratio <= grep_limit)
            print("    console %.1f ms, grep %.1f ms" % (ta * 1e3, tb * 1e3))


def max_rss_kib(cmd, stdin_path):
    with open(stdin_path, "rb") as stdin:
        process = subprocess.Popen(cmd, stdin=stdin, stdout=subprocess.DEVNULL)
        _, _, usage = os.wait4(process.pid, 0)
    return usage.ru_maxrss


def growth_target(tmp):
    cycle = ["mwy 之", "mx", "ms", "mcy 一", "mx", "mxh 好", "mty 美", "mfy 高", "mxhy 灯", "mwy 学而"]

    def script(lookups):
        path = os.path.join(tmp, "lookups-%d.txt" % lookups)
        with open(path, "w", encoding="utf-8") as f:
            for i in range(lookups):
                f.write(cycle[i % len(cycle)] + "\n")
        return path

    few = statistics.median(max_rss_kib([CONSOLE], script(100)) for _ in range(3))
    many = statistics.median(max_rss_kib([CONSOLE], script(1000)) for _ in range(3))
    growth = (many - few) / 1024
    report("memory growth from 100 to 1,000 console lookups", "%.2f" % growth, "MiB", "<= 1.0",
           growth <= 1.0)
    print("    peak %.1f MiB after 100, %.1f MiB after 1,000" % (few / 1024, many / 1024))


class Xvfb:
    def __enter__(self):
        self.log = tempfile.TemporaryFile()
        read_end, write_end = os.pipe()
        self.process = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1280x800x24", "-nolisten",
             "tcp", "-noreset"], pass_fds=(write_end,), stderr=self.log)
        os.close(write_end)
        # Xvfb writes the number and its newline separately, and a pipe closed in between
        # kills it: read up to the newline.
        display = b""
        while not display.endswith(b"\n"):
            chunk = os.read(read_end, 64)
            if not chunk:
                break
            display += chunk
        os.close(read_end)
        display = display.decode().strip()
        self.runtime = tempfile.mkdtemp()
        os.chmod(self.runtime, 0o700)
        # A private runtime and temporary folder: the single-instance socket lives there.
        self.env = dict(os.environ, DISPLAY=":" + display, LC_ALL="C.UTF-8",
                        XDG_RUNTIME_DIR=self.runtime, TMPDIR=self.runtime)
        if self.process.poll() is not None:
            self.log.seek(0)
            sys.exit("Xvfb ended at once: " + self.log.read().decode(errors="replace"))
        return self

    def __exit__(self, *exc):
        self.process.terminate()
        self.process.wait()


def time_to_map(env, program):
    out = subprocess.run([os.path.join(BENCH, "time_to_map"), program], env=env,
                         capture_output=True, text=True, check=False).stdout.strip()
    return float(out) / 1e3 if out else float("nan")


def memory_after_start(env, program, seconds_after_start):
    """PSS and Private_Dirty in KiB, from smaps_rollup, once the program has settled.

    Pages that a file backs (fonts, libraries) cost little: the page cache holds them anyway
    and PSS shares them among the processes that map them. What no file backs is
    Private_Dirty."""
    process = subprocess.Popen([program], env=env, stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL)
    time.sleep(seconds_after_start)
    fields = {}
    with open("/proc/%d/smaps_rollup" % process.pid) as f:
        for line in f:
            parts = line.split()
            if len(parts) == 3 and parts[2] == "kB":
                fields[parts[0].rstrip(":")] = int(parts[1])
    process.terminate()
    process.wait()
    return fields["Pss"], fields["Private_Dirty"]


def cpu_ticks(pid):
    with open("/proc/%d/stat" % pid) as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return int(fields[11]) + int(fields[12])  # utime + stime


def desktop_targets():
    vembrel = os.path.join(APP, "vembrel")
    minimal = os.path.join(BENCH, "minimal_qt_window")
    with Xvfb() as x:
        ratio, ta, tb = median_ratio(lambda: time_to_map(x.env, vembrel),
                                     lambda: time_to_map(x.env, minimal))
        report("start-up to mapped window, vembrel / minimal Qt window", "%.2f" % ratio, "x",
               "<= 1.3", ratio <= 1.3)
        print("    vembrel %.1f ms, minimal %.1f ms" % (ta * 1e3, tb * 1e3))

        # Once the greeting has played: the balloon's fonts are loaded by then, and what is
        # resident is what the idle character keeps. (Three seconds in, the figure depends on
        # whether the first balloon is up yet.)
        seconds_after_start, samples = (15.0, 1) if QUICK else (15.0, 3)
        memory_v, memory_m = [], []
        for _ in range(samples):  # alternating, each program alone
            memory_v.append(memory_after_start(x.env, vembrel, seconds_after_start))
            memory_m.append(memory_after_start(x.env, minimal, seconds_after_start))
        pss_v = statistics.median(m[0] for m in memory_v)
        pss_m = statistics.median(m[0] for m in memory_m)
        dirty_v = statistics.median(m[1] for m in memory_v)
        dirty_m = statistics.median(m[1] for m in memory_m)
        report("PSS after the greeting, vembrel / minimal Qt window", "%.2f" % (pss_v / pss_m),
               "x", "<= 1.4", pss_v / pss_m <= 1.4)
        print("    vembrel %.1f MiB, minimal %.1f MiB" % (pss_v / 1024, pss_m / 1024))
        extra = (dirty_v - dirty_m) / 1024
        report("private dirty memory after the greeting, vembrel - minimal Qt window",
               "%.2f" % extra, "MiB", "<= 4.0", extra <= 4.0)
        print("    vembrel %.1f MiB, minimal %.1f MiB" % (dirty_v / 1024, dirty_m / 1024))

        seconds = 15 if QUICK else 60
        process = subprocess.Popen([vembrel], env=x.env, stdout=subprocess.DEVNULL,
                                   stderr=subprocess.DEVNULL)
        time.sleep(15)  # the greeting plays out; what follows is the idle character, blinks and all
        before = cpu_ticks(process.pid)
        time.sleep(seconds)
        used = (cpu_ticks(process.pid) - before) / os.sysconf("SC_CLK_TCK")
        process.terminate()
        process.wait()
        percent = used / seconds * 100
        report("idle character over %d s, share of one core" % seconds, "%.3f" % percent, "%",
               "<= 0.5", percent <= 0.5)


def main():
    with tempfile.TemporaryDirectory() as tmp:
        lookup_targets(tmp)
        growth_target(tmp)
    if os.path.exists(os.path.join(APP, "vembrel")):
        desktop_targets()
    met = sum(results)
    print("%d of %d targets met" % (met, len(results)))
    return 0 if met == len(results) else 1


if __name__ == "__main__":
    sys.exit(main())
