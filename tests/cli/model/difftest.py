#!/usr/bin/python3
"""Seeded random input for ostrel-tc and for its model: standard output byte for byte, the
exit status and the lines named on standard error must agree.

    difftest.py [--seed N] [--count N] [--show N] [--skip-known] PATH/TO/ostrel-tc

A case is one expression of a stream, one line of --each, or one whole edit list; streams and
--each batch many cases into one process. Each case carries the tags (F1..F7, N1) of the faults
whose input forms it holds; --skip-known (or OSTREL_DIFFTEST_SKIP_KNOWN=1) leaves those
forms out, for a build where they are not yet mended.
"""
import argparse
import collections
import os
import random
import re
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import ostrel_tc_model as model  # noqa: E402

KNOWN = {"F1": "'+' with digits on both sides, or a unary '+'",
         "F2": "a decimal beside * or / with no time on the other side",
         "F3": "lines ended by a lone CR",
         "F4": "an M2 speed with other than one decimal",
         "F5": "an event or M2 line with a time code it cannot read",
         "F6": "the freeze-frame M2 line",
         "F7": "an event whose time codes stand on the next line",
         "N1": "200 parentheses deep (the manual allows 200 levels)"}
NAMED = ["23.976", "23.98", "24", "25", "29.97", "29.97df", "30", "47.952", "48", "50", "59.94",
         "59.94df", "60", "119.88df", "120", "119.88", "29.97ndf", "59.94NDF", "29.97DF",
         "30000/1001df", "60000/1001df", "120000/1001df", "24000/1001", "2997/100"]
EDL_RATES = ["23.976", "24", "25", "29.97", "29.97df", "30", "48", "50", "59.94", "59.94df", "60",
             "119.88", "119.88df", "120", "23.98", "29.97NDF", "30000/1001", "60000/1001df", "2997/100", "96"]
MARK_SETS = [":::", "::;", ";;;", "...", ",,,", ":.:", "::.", "::,"]
WORDS = ["001 AX V C", "at", "TAKE 3.1", "2024.05.17", "048.0", "A001_C002_0517", "01:00:00:00:12",
         "01:00:00:00.5", "1.2.3", "note,", "(x)", "SLATE", "00:00:01:005", "-"]


class Noting(model.Expression):
    """The model's reading, noting a factor that meets no time."""

    def __init__(self, *args):
        self.lone = False
        super().__init__(*args)

    def combine(self, op, left, right, col):
        kinds = (left[0], right[0])
        self.lone |= "factor" in kinds and "time" not in kinds or (op == "/" and kinds[0] == "factor")
        return super().combine(op, left, right, col)


def lone_factor(text, rate, per_foot):
    # "(0.39) x 2" is s.ff in parentheses: today's main took it for a factor where it is no time
    if re.search("[0-9]+\\.[0-9]+ *\\)[ )]*[*x\u00d7/\u00f7]|[*x\u00d7/\u00f7][ (-]*\\( *-? *[0-9]+\\.[0-9]+", text):
        return True
    try:
        e = Noting(text, rate, per_foot)
    except model.Fault:
        return False
    try:
        e.value()
    except model.Fault:
        pass
    return e.lone


class Gen:
    def __init__(self, rnd, skip):
        self.r, self.skip = rnd, skip

    def pick(self, *weighted):
        """One value of (weight, value) pairs."""
        x = self.r.random() * sum(w for w, _ in weighted)
        for w, v in weighted:
            x -= w
            if x < 0:
                return v
        return weighted[-1][1]

    def rate(self):
        d = self.r.randint(1, 1001)
        return self.pick((30, self.r.choice(NAMED)), (5, str(self.r.choice([12, 72, 96, 100, 101, 200, self.r.randint(1, 999)]))),
                         (5, "%d/%d" % (self.r.randint(d, 1000 * d - 1), d)))

    def count(self):
        return self.pick((5, self.r.randint(0, 99)), (4, self.r.randint(0, 10 ** 6)),
                         (1, self.r.randint(10 ** 9, 10 ** 12)), (0.1, self.r.randint(10 ** 12, 10 ** 13)))

    def label(self, rate, n, marks=None, hours=2, frames=None):
        a, L = rate.label(n), rate.labels
        marks = marks or ("::;" if rate.drop else ":::")
        return "%0*d%s%02d%s%02d%s%0*d" % (hours, a // (L * 3600), marks[0], a // (L * 60) % 60, marks[1],
                                            a // L % 60, marks[2], frames or (3 if L > 100 else 2), a % L)

    def tc(self, rate, fields=4, bad=0.02):
        """A time code at rate (a model.Rate) as people write it; now and then one it cannot read."""
        L = rate.labels
        n = self.pick((3, self.r.randint(0, L * 600)), (3, self.r.randint(0, L * 86400)),
                      (1, self.r.randint(0, L * 400000)), (0.1, self.r.randint(0, model.LIMIT)))
        marks = self.pick((6, "::;" if rate.drop or self.r.random() < bad else ":::"),
                          (2, ";;;" if rate.drop else ":::"), (1, self.r.choice(MARK_SETS)))
        text = self.label(rate, n, marks, self.pick((6, 2), (1, 1), (1, 3)),
                          3 if L > 100 and self.r.random() < 0.5 else 2)
        if self.r.random() < bad:  # frames past the labels, minutes past 59, or a label drop frame skips
            h, m, s, f = re.split("[:;.,]", text)
            h, m, s, f = self.r.choice([(h, m, s, "%02d" % (L + self.r.randint(0, 3))), (h, "%02d" % self.r.randint(60, 99), s, f),
                                        (h, "%02d" % self.r.choice([1, 2, 9, 11]), "00", "%02d" % self.r.randrange(max(1, rate.drop)))])
            text = h + marks[0] + m + marks[1] + s + marks[2] + f
        return "".join(re.split("([:;.,])", text)[8 - 2 * fields:])

    def decimal(self):
        return "%d.%s" % (self.r.choice([0, 1, 2, 3, 12, self.r.randint(0, 10 ** 6)]),
                          "".join(self.r.choice("0123456789") for _ in range(self.r.choice([1, 1, 2, 3, 9, 10]))))

    def real(self):
        dec = "" if self.r.random() < 0.3 else "." + str(self.r.randint(0, 10 ** self.r.randint(1, 12)))
        return self.pick((3, "%d%ss" % (self.r.randint(0, 5000), dec)), (1, ".%ds" % self.r.randint(0, 999)),
                         (2, "%d:%02d:%02d%ss" % (self.r.randint(0, 30), self.r.randint(0, 61), self.r.randint(0, 61), dec)),
                         (1, "%d:%02d%ss" % (self.r.randint(0, 200), self.r.randint(0, 59), dec)))

    def atom(self, rate, per, tags):
        kind = self.pick((4, "count"), (5, "tc"), (1, "feet"), (1, "real"), (1, "decimal"))
        if kind == "tc":
            return self.tc(rate, self.pick((8, 4), (2, 3), (1, 2)))
        if kind == "count":
            return "%0*d" % (self.pick((9, 1), (1, 4)), self.count())
        if kind == "real":
            return self.real()
        if kind == "decimal":
            return self.decimal()
        frames, odd = self.r.randrange(per + 2), not self.skip and self.r.random() < 0.3
        if odd:
            tags.add("F1")
        return "%d+%s" % (self.pick((3, self.r.randint(0, 200)), (1, self.r.randint(0, 10 ** 6))),
                          self.r.choice(["%d", "%03d"]) % frames if odd else "%02d" % frames)

    def expr(self, rate, per, tags, depth=0):
        if depth > 3 or self.r.random() < 0.3:
            return self.atom(rate, per, tags)
        sub = lambda: self.expr(rate, per, tags, depth + 1)  # noqa: E731
        form = self.pick((4, "sum"), (3, "product"), (2, "quotient"), (1, "paren"), (1, "neg"),
                         (0 if self.skip else 0.6, "plus"), (0.1 if depth == 0 else 0, "deep"))
        if form == "sum":
            return "%s %s %s" % (sub(), self.r.choice("+-"), sub())
        if form in ("product", "quotient"):
            op = self.r.choice(["*", "x", "\u00d7"] if form == "product" else ["/", "\u00f7"])
            op = op if self.r.random() < 0.2 else " %s " % op
            other = self.decimal() if self.r.random() < 0.35 else str(self.pick((3, self.r.randint(1, 9)), (1, self.r.randint(0, 1000))))
            return sub() + op + other if form == "quotient" or self.r.random() < 0.5 else other + op + sub()
        if form == "paren":
            return self.r.choice(["(%s)", "( %s )"]) % sub()
        if form == "neg":
            return "-" + self.r.choice([self.atom(rate, per, tags), "(%s)" % sub()])
        if form == "deep":
            k = self.r.choice([199, 201] if self.skip else [199, 200, 201])
            tags.update(["N1"] if k == 200 else [])
            return "(" * k + self.atom(rate, per, tags) + ")" * k  # the whole line, no sign inside
        tags.add("F1")
        a, b, c = self.r.randint(0, 300), self.r.randint(0, 9), self.r.randint(0, 15)
        return self.r.choice(["%d+%d" % (a, b), "%d++%02d" % (a, c), "+%d" % b, "%d + +%d" % (a, b),
                              "%d+%d+%d" % (a, b, c), "%d+%03d" % (a, c), "%s+%d" % (self.tc(rate), b)])

    def frame(self, lines, cases):
        """Lines joined by their ends (LF, CR LF, CR or a mix), a byte order mark or not, the last end or not."""
        kind = self.pick((4, ["\n"]), (3, ["\r\n"]), (0 if self.skip else 2, ["\r"]), (0 if self.skip else 2, ["\n", "\r\n", "\r"]))
        text = "".join(line + self.r.choice(kind) for line in lines)
        if self.r.random() < 0.3:
            text = text[:-2] if text.endswith("\r\n") else text[:-1]
        if re.search("\r(?!\n)", text):
            for tags in cases:
                tags.add("F3")
        return ("\ufeff" if self.r.random() < 0.15 else "") + text

    def options(self, rate):
        args, kw = ["--rate", rate], {"rate": rate}
        to = self.pick((5, "tc"), (2, "frames"), (1, "seconds"), (1, "feet35"), (1, "feet16"))
        if to != "tc" or self.r.random() < 0.2:
            args += ["--to", to]
        kw["to"] = to
        if self.r.random() < 0.4:
            kw["to_rate"] = self.rate()
            args += ["--to-rate", kw["to_rate"]]
            if self.r.random() < 0.7:
                kw["keep"] = self.r.choice(["frames", "duration"])
                args += ["--keep", kw["keep"]]
        for flag, name, value in (("--wrap", "wrap", True), ("--no-marks", "marks", False), ("--no-leading", "leading", False)):
            if to == "tc" and self.r.random() < 0.15:
                args.append(flag)
                kw[name] = value
        return args, kw

    def stream(self, n):
        rate = self.rate()
        args, kw = self.options(rate)
        per, mr = 40 if kw["to"] == "feet16" else 16, model.parse_rate(rate)
        cases, lines = [], []
        while len(lines) < n:
            tags = set()
            line = self.pick((200, None), (3, "# note 00:00:01:00"), (1, ""), (1, "  "))
            line = self.expr(mr, per, tags) if line is None else line
            if lone_factor(line, mr, per):
                if self.skip:
                    continue
                tags.add("F2")
            lines.append(self.r.choice(["", "", "", " ", "\t"]) + line + self.r.choice(["", "", "", " "]))
            cases.append(tags)
        kw.update(align=True)  # one output line an input line: each case's result stands on its line
        return args + ["--align"], kw, self.frame(lines, cases), cases

    def each(self, n):
        rate = self.rate()
        args, kw = self.options(rate)
        mr, lines = model.parse_rate(rate), []
        for _ in range(n):
            parts = [self.r.choice(WORDS) if self.r.random() < 0.5 else
                     self.r.choice(["%s", "%s", "%s", "TC%s", "(%s)", "%s.", "%s,", "%s::", "-%s"]) % self.tc(mr, 4)
                     for _ in range(self.r.randint(1, 5))]
            lines.append(self.r.choice(["# ", "", "", "", ""]) + self.r.choice([" ", "  ", "\t"]).join(parts))
        kw["mode"] = "each"
        cases = [set() for _ in lines]
        return args + ["--each"], kw, self.frame(lines, cases), cases

    def edl(self):
        rate = self.r.choice(EDL_RATES)
        args, kw = ["--edl", "--rate", rate], {"rate": rate, "mode": "edl"}
        if self.r.random() < 0.8:
            kw["to_rate"] = self.r.choice(EDL_RATES)
            args += ["--to-rate", kw["to_rate"]]
            if self.r.random() < 0.8:
                kw["keep"] = self.r.choice(["frames", "duration"])
                args += ["--keep", kw["keep"]]
        if self.r.random() < 0.1:
            args.append("--wrap")
            kw["wrap"] = True
        base = model.parse_rate(rate)
        family = model.DROP_FAMILY.get(base.fps)
        src, tags, lines = base, set(), ["TITLE: REEL %d CONFORM 2024.05.17" % self.r.randint(1, 9)]
        sp = lambda: " " * self.r.choice([1, 2, 3, 5, 8])  # noqa: E731

        def tc(n, event=True):
            if self.r.random() < 0.015 and not (self.skip and event):
                tags.update(["F5"] if event else [])
                return self.tc(src, 4, 1.0)
            if n is None:
                return self.tc(src, 4, 0)
            return self.label(src, n, self.pick((6, None), (1, ";;;" if src.drop else ".::")), self.pick((9, 2), (1, 1)))

        for k in range(self.r.randint(1, 14)):
            what = self.pick((3, "event"), (1, "fcm"), (1, "m2"), (2, "comment"), (1, "blank"), (0 if self.skip else 0.5, "split"))
            if what == "fcm":
                drop = self.r.random() < (0.5 if family else 0.05)
                lines.append("FCM: %sDROP FRAME%s" % ("" if drop else "NON-", self.r.choice(["", "", " "])))
                src = model.Rate(base.fps, family if drop else 0) if (family or not drop) else src
            elif what in ("event", "split"):
                hours = self.pick((9, 10), (1, 150))
                n_in, r_in = self.r.randint(0, src.labels * 3600 * hours), self.r.randint(0, src.labels * 36000)
                length = self.pick((3, self.r.randint(0, 300)), (1, self.r.randint(0, 20000)))
                tcs = [tc(x) for x in (n_in, n_in + length, r_in, r_in + length)]
                head = "%03d%s%s%s%s%s%s" % (k + 1, sp(), self.r.choice(["A001C002", "BL", "AX", "ZZ100_51"]), sp(),
                                             self.r.choice(["V", "A", "AA/V", "A2"]), sp(),
                                             self.r.choice(["C", "C", "D    %03d" % self.r.randint(0, 120),
                                                            "W001 %03d" % self.r.randint(0, 120), "%03d" % self.r.randint(0, 99)]))
                if what == "split":
                    tags.add("F7")
                    lines += [head, " ".join(tcs)]
                else:
                    lines.append(head + sp() + sp().join(tcs))
            elif what == "m2":
                places = 1 if self.skip else self.r.choice([0, 1, 1, 2])
                tags.update(["F4"] if places != 1 else [])
                speed = "%0*.*f" % (self.r.choice([3, 5, 6]), places, self.r.choice([-1, 1, 1]) * self.r.randint(1, 12000) / 10 ** places)
                if not self.skip and self.r.random() < 0.2:
                    tags.add("F6")
                    lines.append("M2   CYAN%s000.0    MSTR     I +%s" % (sp(), tc(self.r.randint(0, 300))))
                else:
                    lines.append("M2   %s%s%s%s%s" % (self.r.choice(["CLIP3", "A001C007"]), sp(), speed, sp(),
                                                     tc(self.r.randint(0, src.labels * 36000))))
            elif what == "comment":
                lines.append(self.r.choice(["* FROM CLIP NAME: A001_C002_0517.MOV", "* EFFECT NAME: CROSS DISSOLVE",
                                            "* COMMENT: SLATE 01:00:05:12:03 REF 2024.05.17",
                                            "* LOC: %s RED     CHECK FOCUS" % tc(None, False),
                                            "* TIMEWARP AT SEQUENCE TC %s." % tc(None, False)]))
            else:
                lines.append("")
        cases = [tags]
        return args, kw, self.frame(lines, cases), cases


POSITION = re.compile(rb"^ostrel-tc: line ([0-9]+), column [0-9]+: ")


def check(tool, args, kw, text, cases, first):
    """Runs one batch on both sides; gives a report for each case that disagrees."""
    data = text.encode("utf-8")
    p = subprocess.run([tool] + args, input=data, capture_output=True, timeout=120)
    m_out, m_err, m_rc = model.run(model.Options(**kw), data)
    named = [POSITION.match(line) for line in p.stderr.splitlines()]
    t_lines, m_lines = {int(m.group(1)) for m in named if m}, {line for line, _, _ in m_err}
    if p.stdout == m_out and p.returncode == m_rc and t_lines == m_lines and all(named):
        return []
    head = "ostrel-tc %s    (exit: model %d, tool %d)" % (" ".join(args), m_rc, p.returncode)
    if len(cases) == 1:
        return [(None, "%s\ninput:  %r\nmodel:  %r\ntool:   %r\nerrors: model on lines %s; tool: %r"
                 % (head, data, m_out, p.stdout, sorted(m_lines), p.stderr[:800]))]
    ins = model.lines_of(data[3:] if data.startswith(model.BOM) else data)
    t_split, m_split = model.lines_of(p.stdout), model.lines_of(m_out)
    reports = []
    for i in range(len(cases)):
        if t_split[i:i + 1] != m_split[i:i + 1] or ((i + 1) in t_lines) != ((i + 1) in m_lines):
            reports.append((i, "%s\ninput:  %r (line %d)\nmodel:  %r%s\ntool:   %r%s" % (
                head, ins[i] if i < len(ins) else None, i + 1, m_split[i] if i < len(m_split) else None,
                "  (error)" if i + 1 in m_lines else "", t_split[i] if i < len(t_split) else None,
                "  (error)" if i + 1 in t_lines else "")))
    return reports or [(None, "%s\n(the stream as a whole differs)\ninput: %r" % (head, data))]


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    ap.add_argument("tool")
    ap.add_argument("--seed", type=int, default=20240517)
    ap.add_argument("--count", type=int, default=4000)
    ap.add_argument("--show", type=int, default=10, help="disagreements to print in full, unexplained first")
    ap.add_argument("--skip-known", action="store_true")
    a = ap.parse_args()
    skip = a.skip_known or os.environ.get("OSTREL_DIFFTEST_SKIP_KNOWN") == "1"
    gen, done, start = Gen(random.Random(a.seed), skip), 0, time.monotonic()
    kinds, seen, failed, shown = collections.Counter(), collections.Counter(), collections.Counter(), {True: [], False: []}
    while done < a.count:
        mode = gen.pick((1, "stream"), (1, "each"), (13, "edl"))
        left = a.count - done
        args, kw, text, cases = gen.stream(min(100, left)) if mode == "stream" else \
            gen.each(min(30, left)) if mode == "each" else gen.edl()
        for i, report in check(a.tool, args, kw, text, cases, done):
            known = sorted(set().union(*cases) if i is None else cases[i])
            failed.update(known or ["unexplained"])
            failed["all"] += 1
            shown[bool(known)].append("--- case %d, seed %d%s\n%s" % (done + (i or 0), a.seed, " [%s]" % " ".join(known) if known else "", report))
        for tags in cases:
            seen.update(tags)
        kinds[mode] += len(cases)
        done += len(cases)
    for report in (shown[False] + shown[True])[:a.show]:
        print(report)
    print("%d cases (%s) in %.1f s, seed %d%s: %d disagreements, %d not of a known fault"
          % (done, ", ".join("%d %s" % (n, k) for k, n in sorted(kinds.items())), time.monotonic() - start,
             a.seed, ", known faults left out" if skip else "", failed["all"], failed["unexplained"]))
    for tag in sorted(KNOWN):
        print("  %s %-58s %6d cases hold it, %6d disagree" % (tag, KNOWN[tag], seen[tag], failed[tag]))
    return 1 if failed["all"] else 0


if __name__ == "__main__":
    sys.exit(main())
