#!/usr/bin/env python3
"""Load speed of brannock-cli as whole processes, against an earlier build of
the same tree, pair by pair (earlier and current in turn, so that a drift of
the machine's speed touches both alike):

  1. --registry PREFIX --render of Wine's mshtml.tlb (a fresh Wine prefix);
  2. --render of the same file on the demo registry (no $WINEPREFIX, an
     empty home folder);
  3. the batch export -SA -SI -SO -ST of a 58 MB synthetic export (UTF-16,
     tools/gen_synthetic_registry.py).

For each row: the median wall and CPU time and the peak resident memory of
each build (the largest of three runs through /usr/bin/time -f %M, mapped
file pages included), and the median of the pairs' wall time ratios. Both builds must print the same unit and write the same list
files; a difference ends the run.

  bench/load_speed.py [--earlier COMMIT | --earlier-cli FILE] [--runs N]

The current build is build/release (configured Release without tests and
benchmarks, brannock-cli built); the earlier one is built in a worktree of
its own below --work (default: 287e0b1, the round before the registry
sources were indexed). Data (the Wine prefix, the export) is made once in
--work and kept.
"""

import argparse
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
EXPORT_SIZES = ["--classes", "16400", "--interfaces", "32800", "--typelibs", "2460", "--appids", "2460"]
MSHTML = "C:\\windows\\system32\\mshtml.tlb"
PEAK_RUNS = 3


def log(text):
    print(text, flush=True)


def build_release(tree, build):
    subprocess.run(["cmake", "-S", tree, "-B", build, "-G", "Ninja", "-DCMAKE_BUILD_TYPE=Release",
                    "-DBRANNOCK_TESTS=OFF", "-DBRANNOCK_GUI=OFF", "-DBRANNOCK_BENCH=OFF"],
                   check=True, stdout=subprocess.DEVNULL)
    subprocess.run(["cmake", "--build", build, "-j2", "--target", "brannock-cli"], check=True,
                   stdout=subprocess.DEVNULL)
    return os.path.join(build, "src", "app", "brannock-cli")


def earlier_cli(commit, work):
    tree = os.path.join(work, "tree-" + commit)
    if not os.path.isdir(tree):
        log("-- worktree of %s in %s" % (commit, tree))
        subprocess.run(["git", "-C", ROOT, "worktree", "add", "--detach", tree, commit], check=True,
                       stdout=subprocess.DEVNULL)
    return build_release(tree, os.path.join(tree, "build", "release"))


def wine_env(prefix):
    env = dict(os.environ, WINEPREFIX=prefix, WINEDEBUG="-all", LC_ALL="C.UTF-8", LANG="C.UTF-8")
    env.pop("DISPLAY", None)
    env.pop("WAYLAND_DISPLAY", None)
    return env


def make_data(work):
    prefix = os.path.join(work, "prefix")
    if not os.path.isfile(os.path.join(prefix, "drive_c", "windows", "system32", "mshtml.tlb")):
        log("-- Wine prefix in " + prefix)
        shutil.rmtree(prefix, ignore_errors=True)
        env = wine_env(prefix)
        subprocess.run(["wineboot", "-i"], env=env, check=True, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL)
        subprocess.run(["wineserver", "-w"], env=env, check=True)
    export = os.path.join(work, "synthetic-58mb.reg")
    if not os.path.isfile(export):
        log("-- synthetic export " + export)
        subprocess.run([sys.executable, os.path.join(ROOT, "tools", "gen_synthetic_registry.py"), "--reg",
                        export] + EXPORT_SIZES, check=True, stdout=subprocess.DEVNULL)
    home = os.path.join(work, "empty-home")
    os.makedirs(home, exist_ok=True)
    return prefix, export, home


class Row:
    def __init__(self, title, goal_ms, args, env, out_dir=None, peak_goal_mib=None):
        self.title, self.goal_ms, self.args, self.env = title, goal_ms, args, env
        self.out_dir, self.peak_goal_mib = out_dir, peak_goal_mib

    def command(self, cli, side):
        argv = [cli] + self.args
        if self.out_dir:
            os.makedirs(self.out_dir + "-" + side, exist_ok=True)
            argv += ["--out-dir", self.out_dir + "-" + side]
        return argv


def peak_kib(argv, env):
    """The peak resident size of one process, as /usr/bin/time measures it.

    The rusage of a child of this script cannot tell it: Linux starts a
    child's high-water mark at the size of the process it was forked from,
    so every command would seem to take at least as much as Python itself.
    /usr/bin/time forks the command from a process of its own, far smaller
    than any of the commands measured here.
    """
    with tempfile.NamedTemporaryFile("r") as out:
        subprocess.run(["/usr/bin/time", "-f", "%M", "-o", out.name] + argv, env=env, check=True,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        return int(out.read().split()[-1])


def run_once(argv, env, keep_output=False):
    """(wall s, cpu s, peak KiB, standard output or None) of one process;
    the peak is only an upper bound (see peak_kib)."""
    out = subprocess.PIPE if keep_output else subprocess.DEVNULL
    start = time.perf_counter()
    proc = subprocess.Popen(argv, env=env, stdout=out, stderr=subprocess.PIPE)
    output = proc.stdout.read() if keep_output else None
    err = proc.stderr.read()
    _, status, usage = os.wait4(proc.pid, 0)
    wall = time.perf_counter() - start
    if os.waitstatus_to_exitcode(status) != 0:
        raise SystemExit("%s failed: %s" % (" ".join(argv), err.decode(errors="replace")))
    return wall, usage.ru_utime + usage.ru_stime, usage.ru_maxrss, output


def same_results(row, current, earlier):
    a = run_once(row.command(current, "now"), row.env, keep_output=True)[3]
    b = run_once(row.command(earlier, "earlier"), row.env, keep_output=True)[3]
    if a != b:
        return False
    if row.out_dir:
        for name in sorted(os.listdir(row.out_dir + "-earlier")):
            with open(os.path.join(row.out_dir + "-now", name), "rb") as f1, \
                    open(os.path.join(row.out_dir + "-earlier", name), "rb") as f2:
                if f1.read() != f2.read():
                    return False
    return True


def measure(row, current, earlier, runs):
    now, before, ratios = [], [], []
    run_once(row.command(current, "now"), row.env)  # warm-up: files in the page cache
    run_once(row.command(earlier, "earlier"), row.env)
    for _ in range(runs):
        a = run_once(row.command(current, "now"), row.env)
        b = run_once(row.command(earlier, "earlier"), row.env)
        now.append(a)
        before.append(b)
        ratios.append(a[0] / b[0])
    # The peaks in runs of their own, through /usr/bin/time.
    peaks = ([peak_kib(row.command(current, "now"), row.env) for _ in range(PEAK_RUNS)],
             [peak_kib(row.command(earlier, "earlier"), row.env) for _ in range(PEAK_RUNS)])
    return now, before, ratios, peaks


def summary(samples, peaks):
    wall = statistics.median(s[0] for s in samples) * 1000
    cpu = statistics.median(s[1] for s in samples) * 1000
    peak = max(peaks) / 1024
    spread = (min(s[0] for s in samples) * 1000, max(s[0] for s in samples) * 1000)
    return wall, cpu, peak, spread


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--earlier", default="287e0b1", help="commit of the earlier build")
    parser.add_argument("--earlier-cli", help="an earlier brannock-cli already built")
    parser.add_argument("--current-cli", help="the current brannock-cli (default: build/release)")
    parser.add_argument("--runs", type=int, default=11, help="pairs of runs per row")
    parser.add_argument("--work", default=os.path.join(os.environ.get("TMPDIR", "/tmp"), "brannock-load-speed"))
    opts = parser.parse_args()
    if not os.access("/usr/bin/time", os.X_OK):
        raise SystemExit("the peaks are measured with /usr/bin/time: install Debian's package time")
    os.makedirs(opts.work, exist_ok=True)
    current = opts.current_cli or build_release(ROOT, os.path.join(ROOT, "build", "release"))
    earlier = opts.earlier_cli or earlier_cli(opts.earlier, opts.work)
    prefix, export, home = make_data(opts.work)
    file_mib = os.path.getsize(export) / (1 << 20)

    plain = dict(os.environ, LC_ALL="C.UTF-8")
    demo = dict(plain, HOME=home)
    demo.pop("WINEPREFIX", None)
    rows = [
        Row("render mshtml.tlb, Wine prefix", 15, ["--registry", prefix, "--render", MSHTML], plain),
        Row("render mshtml.tlb, demo registry", 10,
            ["--render", os.path.join(prefix, "drive_c", "windows", "system32", "mshtml.tlb")], demo),
        Row("export -SA -SI -SO -ST, %.0f MB .reg" % (os.path.getsize(export) / 1e6), 110,
            ["--registry", export, "-SA", "-SI", "-SO", "-ST"], plain, os.path.join(opts.work, "lists"),
            peak_goal_mib=1.5 * file_mib),
    ]
    log("current %s\nearlier %s\n%d pairs a row, medians; peak: the largest resident size of %d runs\n" %
        (current, earlier, opts.runs, PEAK_RUNS))
    log("%-38s %22s %22s %15s  %s" % ("row", "now: wall / cpu ms", "earlier: wall / cpu", "now/earlier",
                                     "goal"))
    for row in rows:
        if not same_results(row, current, earlier):
            raise SystemExit("%s: the two builds give different results" % row.title)
        now, before, ratios, peaks = measure(row, current, earlier, opts.runs)
        n_wall, n_cpu, n_peak, n_spread = summary(now, peaks[0])
        b_wall, b_cpu, b_peak, _ = summary(before, peaks[1])
        goal = "< %d ms" % row.goal_ms
        if row.peak_goal_mib:
            goal += ", peak < %.0f MiB" % row.peak_goal_mib
        met = n_wall < row.goal_ms and (not row.peak_goal_mib or n_peak < row.peak_goal_mib)
        log("%-38s %8.1f / %6.1f ms %8.1f / %6.1f ms %9.2f x     %s: %s" %
            (row.title, n_wall, n_cpu, b_wall, b_cpu, statistics.median(ratios), goal, "met" if met else "not met"))
        log("%-38s %8.1f MiB peak       %8.1f MiB peak     (now's wall %.1f-%.1f ms)" %
            ("", n_peak, b_peak, n_spread[0], n_spread[1]))


if __name__ == "__main__":
    main()
