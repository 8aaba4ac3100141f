#!/usr/bin/python3
"""An exact model of ostrel-tc's language, written from its manual page and from nothing else.

run(Options(...), stdin bytes) gives what ostrel-tc should write to standard output, the lines
(line, column, message) it should report, and its exit status. On its own it reads standard
input as ostrel-tc does, or evaluates its words:  ostrel_tc_model.py --rate 25 --to frames < in
"""
import argparse
import re
import sys
import types
from fractions import Fraction as F

LIMIT = 10 ** 12
RUN = frozenset("0123456789:;.,")
BOM = b"\xef\xbb\xbf"
NTSC = {"23.976": 24, "23.98": 24, "29.97": 30, "47.952": 48, "59.94": 60, "119.88": 120}
DROP_FAMILY = {F(30000, 1001): 2, F(60000, 1001): 4, F(120000, 1001): 8}


class Fault(Exception):
    """Input the manual calls an error, at a 1-based column."""

    def __init__(self, col, message):
        super().__init__(message)
        self.col = col


class Rate:
    def __init__(self, fps, drop=0):
        self.fps, self.drop = F(fps), drop  # drop: labels skipped a minute, but every tenth
        self.labels = -(-self.fps.numerator // self.fps.denominator)

    def count(self, h, m, s, f):
        minutes = h * 60 + m
        return (minutes * 60 + s) * self.labels + f - self.drop * (minutes - minutes // 10)

    def label(self, n):
        """Frames (n >= 0) as the number of labels up to it."""
        if not self.drop:
            return n
        minute = self.labels * 60
        tens, rest = divmod(n, minute * 10 - 9 * self.drop)
        return n + 9 * self.drop * tens + (rest >= minute) * self.drop * ((rest - minute) // (minute - self.drop) + 1)


def parse_rate(name):
    key = name.lower()
    key = {"29.97ndf": "29.97", "59.94ndf": "59.94", "30000/1001df": "29.97df",
           "60000/1001df": "59.94df", "120000/1001df": "119.88df"}.get(key, key)
    base = key[:-2] if key.endswith("df") else key
    if base in NTSC and (base == key or base in ("29.97", "59.94", "119.88")):
        fps = F(NTSC[base] * 1000, 1001)
        return Rate(fps, DROP_FAMILY[fps] if key != base else 0)
    m = re.fullmatch(r"([0-9]+)(?:/([0-9]+))?", key)
    fps = m and int(m.group(2) or 1) and F(int(m.group(1)), int(m.group(2) or 1))
    if not fps or not 1 <= fps < 1000 or fps.denominator > 1001:
        raise Fault(0, "unknown rate '%s'" % name)
    return Rate(fps)


def in_range(v, col):
    if abs(v) > LIMIT:
        raise Fault(col, "result out of range")
    return v


def read_tc(fields, marks, rate, col):
    """Fields of digits, read from the right, and the marks between them: a count."""
    if ";" in marks and not rate.drop:
        raise Fault(col, "';' marks drop frame, which this rate does not have")
    vals = [int(x) for x in fields]
    h, m, s, f = [0] * (4 - len(vals)) + vals
    if max(vals) > LIMIT:
        raise Fault(col, "time code out of range")
    if m > 59 or s > 59 or f >= rate.labels:
        raise Fault(col, "field past its limit")
    if rate.drop and s == 0 and f < rate.drop and m % 10:
        raise Fault(col, "label skipped in drop frame")
    return in_range(rate.count(h, m, s, f), col)


def real_time(run, rate, col):
    fields = run.split(":")
    last = re.fullmatch(r"([0-9]*)(?:\.([0-9]+))?", fields[-1])
    if len(fields) > 3 or not last or not fields[-1] or not all(x.isdigit() for x in fields[:-1]):
        raise Fault(col, "unreadable real time")
    whole = [int(x) for x in fields[:-1]] + [int(last.group(1) or 0)]
    if any(v > 59 for v in whole[1:]):
        raise Fault(col, "minutes or seconds past 59")
    total = F(int(last.group(2) or 0), 10 ** len(last.group(2) or "")) + sum(v * 60 ** k for k, v in enumerate(whole[::-1]))
    frames = round(total * rate.fps)
    if abs(frames) > LIMIT:
        raise Fault(col, "real time out of range")
    return frames


# ---- expressions -------------------------------------------------------------------

def tokens(s):
    """(kind, text, position): kinds ( ) + - * / num real feet."""
    out = []
    for m in re.finditer(r"([0-9:;.,]+)(s|\+[0-9][0-9:;.,]*)?|[^ \t]", s):
        run, tail, i = m.group(1), m.group(2), m.start()
        if run is None and m.group() not in "()+-*x\u00d7/\u00f7":
            raise Fault(i + 1, "expected a number, a time code or '('")
        if run is None:
            out.append(({"x": "*", "\u00d7": "*", "\u00f7": "/"}.get(m.group(), m.group()), m.group(), i))
        elif tail == "s":
            out.append(("real", run, i))
        elif tail:  # digits directly on both sides of + are feet+frames, never a sum
            if not run.isdigit() or not re.fullmatch("[0-9]{1,2}", tail[1:]) or s[m.end():m.end() + 1] == "+":
                raise Fault(i + len(run) + 1, "feet+frames are FEET+F or FEET+FF; to add, put blanks around +")
            out.append(("feet", (run, tail[1:]), i))
        else:
            out.append(("num", run, i))
    return out


class Expression:
    """Values are (kind, frames): kind is count (a plain number), time or factor."""

    def __init__(self, text, rate, per_foot):
        self.toks, self.rate, self.per_foot, self.i, self.end = tokens(text), rate, per_foot, 0, len(text) + 1

    def peek(self):
        return self.toks[self.i][0] if self.i < len(self.toks) else None

    def col(self):
        return self.toks[self.i][2] + 1 if self.i < len(self.toks) else self.end

    def value(self):
        kind, v = self.sum(0)
        if self.i < len(self.toks):
            raise Fault(self.col(), "unexpected '%s'" % self.toks[self.i][1])
        return v

    def sum(self, depth):
        kind, v = self.product(depth)
        while self.peek() in ("+", "-"):
            op, col = self.peek(), self.col()
            self.i += 1
            k2, w = self.product(depth)
            kind, v = "time" if "time" in (kind, k2) else "count", in_range(v + w if op == "+" else v - w, col)
        return kind, v

    def product(self, depth):
        left = self.unary(depth)
        while self.peek() in ("*", "/"):
            op, col = self.peek(), self.col()
            self.i += 1
            left = self.combine(op, left, self.unary(depth), col)
        return left

    def combine(self, op, left, right, col):
        (lk, lv), (rk, rv) = left, right
        if op == "*":
            if lk == rk and lk != "count":
                raise Fault(col, "a product needs a time or a count, and a plain number or a factor")
            kind = "time" if "time" in (lk, rk) or "factor" in (lk, rk) else "count"  # a scaled count is a time
            return kind, in_range(round(F(lv) * rv), col)
        if rk == "time" or lk == "factor":
            raise Fault(col, "divide a time or a count by a plain number or a factor")
        if rv == 0:
            raise Fault(col, "division by zero")
        return "time" if rk == "factor" else lk, in_range(round(F(lv) / rv), col)

    def unary(self, depth):
        if self.peek() == "-":
            self.i += 1
            kind, v = self.unary(depth)
            return kind, -v
        if self.peek() == "+":
            raise Fault(self.col(), "a unary + is no value")
        return self.primary(depth)

    def beside_product(self, i):
        """A decimal beside * or / is a factor, through its own signs and parentheses."""
        j, k, t = i - 1, i + 1, self.toks
        while j >= 0 and (t[j][0] == "-" and (j == 0 or t[j - 1][0] in "(+-*/")
                          or t[j][0] == "(" and k < len(t) and t[k][0] == ")"):
            k += t[j][0] == "("
            j -= 1
        return any(0 <= n < len(t) and t[n][0] in "*/" for n in (j, k))

    def primary(self, depth):
        if self.i >= len(self.toks):
            raise Fault(self.end, "expression ends too soon")
        kind, text, pos = self.toks[self.i]
        self.i += 1
        if kind == "(":
            if depth >= 200:
                raise Fault(pos + 1, "expression nested too deeply")
            v = self.sum(depth + 1)
            if self.peek() != ")":
                raise Fault(pos + 1, "missing ')'")
            self.i += 1
            return v
        if kind == "num" and text.isdigit():
            return "count", in_range(int(text), pos + 1)
        if kind == "num" and re.fullmatch(r"[0-9]*[.,][0-9]+", text) and self.beside_product(self.i - 1):
            whole, mark, decimals = text.partition("." if "." in text else ",")
            if mark == "," or len(decimals) > 9 or len(whole) > 13:  # 1,5: a time code or a factor?
                raise Fault(pos + 1, "a factor is up to 13 digits, '.' and up to nine decimals")
            return "factor", F(text)
        if kind == "num":
            fields = re.split("[:;.,]", text)
            if len(fields) > 4 or "" in fields:
                raise Fault(pos + 1, "unreadable time code")
            return "time", read_tc(fields, re.sub("[0-9]", "", text), self.rate, pos + 1)
        if kind == "real":
            return "time", real_time(text, self.rate, pos + 1)
        if kind == "feet" and int(text[1]) < self.per_foot:
            return "time", in_range(int(text[0]) * self.per_foot + int(text[1]), pos + 1)
        raise Fault(pos + 1, "expected a number, a time code or '('" if kind != "feet" else "frames past the foot")


# ---- writing -----------------------------------------------------------------------

def Options(rate="29.97df", to="tc", to_rate=None, keep="duration", wrap=False, marks=True, leading=True,
            align=False, mode="stream"):
    """ostrel-tc's options, its defaults, and mode stream, each or edl."""
    return types.SimpleNamespace(**dict(locals(), rate=parse_rate(rate), to_rate=parse_rate(to_rate or rate)))


def convert(n, src, dst, keep):
    """A position or a length at src as a count at dst."""
    return n if keep == "frames" else in_range(round(n * dst.fps / src.fps), 0)


def day(rate):
    return rate.labels * 86400 - rate.drop * 9 * 144


def tc_text(n, rate, wrap=False, marks=True, leading=True):
    n = n % day(rate) if wrap else n
    a, L = rate.label(abs(n)), rate.labels
    text = "%02d:%02d:%02d%s%0*d" % (a // (L * 3600), a // (L * 60) % 60, a // L % 60,
                                     ";" if rate.drop else ":", 3 if L > 100 else 2, a % L)
    text = text if marks else re.sub("[:;]", "", text)
    return ("-" if n < 0 else "") + (text if leading else text.lstrip("0:;") or "0")


def write(n, opt):
    sign = "-" if n < 0 else ""
    if opt.to == "frames":
        return str(n)
    if opt.to in ("feet35", "feet16"):
        per = 40 if opt.to == "feet16" else 16
        return "%s%d+%02d" % (sign, abs(n) // per, abs(n) % per)
    if opt.to == "seconds":
        ms = round(F(abs(n)) * 1000 / opt.to_rate.fps)
        return "%s%02d:%02d:%02d.%03d" % (sign, ms // 3600000, ms // 60000 % 60, ms // 1000 % 60, ms % 1000)
    return tc_text(n, opt.to_rate, opt.wrap, opt.marks, opt.leading)


# ---- lines -------------------------------------------------------------------------

def lines_of(data):
    """(text, end) pairs: CR LF, LF and a CR not followed by LF each end a line."""
    parts = re.split(rb"(\r\n|\n|\r)", data)
    pairs = list(zip(parts[0::2], parts[1::2] + [b""]))
    return pairs if pairs[-1] != (b"", b"") else pairs[:-1]


def run_stream(data, opt):
    out, errors, per_foot = [], [], 40 if opt.to == "feet16" else 16
    for number, (line, _) in enumerate(lines_of(data[3:] if data.startswith(BOM) else data), 1):
        result = None
        if not line.startswith(b"#"):
            try:
                text = line.decode("utf-8")
                if not text.strip(" \t"):
                    raise Fault(1, "empty expression")
                n = Expression(text, opt.rate, per_foot).value()
                result = write(convert(n, opt.rate, opt.to_rate, opt.keep), opt)
            except (Fault, UnicodeDecodeError) as e:
                errors.append((number, getattr(e, "col", 1), str(e)))
        if result is not None or opt.align:
            out.append((result or "") + "\n")
    return "".join(out).encode(), errors


def each_shape(run, rate):
    """The fields and marks of a run --each reads as a time code, and a mark after it."""
    m = re.fullmatch(r"([0-9]+)([:;.,])([0-9]{2})([:;.,])([0-9]{2})([:;.,])([0-9]{2,3})([:;.,]?)", run)
    if not m or (len(m.group(7)) == 3 and rate.labels <= 100):
        return None
    return m.group(1, 3, 5, 7), m.group(2) + m.group(4) + m.group(6), m.group(8)


def replace_runs(line, number, src, writer, errors):
    """Every time code --each finds in line written anew; the rest kept."""
    def one(m):
        shape = each_shape(m.group(), src)
        try:
            return writer(read_tc(shape[0], shape[1], src, m.start() + 1)) + shape[2] if shape else m.group()
        except Fault as e:
            errors.append((number, e.col, str(e)))
            return m.group()
    return re.sub("[0-9:;.,]+", one, line)


def run_each(data, opt):
    bom = BOM if data.startswith(BOM) else b""
    out, errors = [bom], []
    for number, (line, end) in enumerate(lines_of(data[len(bom):]), 1):
        if not line.startswith(b"#"):
            line = replace_runs(line.decode("latin-1"), number, opt.rate,
                                lambda n: write(convert(n, opt.rate, opt.to_rate, opt.keep), opt), errors).encode("latin-1")
        out.append(line + end)
    return b"".join(out), errors


# ---- edit lists --------------------------------------------------------------------

def splice(line, edits):
    for a, b, new in sorted(edits, reverse=True):
        line = line[:a] + new + line[b:]
    return line


def words(line):
    return [(m.start(), m.end(), m.group()) for m in re.finditer(r"[^ \t]+", line)]


class EditList:
    def __init__(self, opt):
        self.opt, self.src, self.dst, self.kept, self.errors = opt, opt.rate, opt.to_rate, False, []

    def write(self, n):
        return tc_text(n, self.dst, self.opt.wrap)

    def pos(self, n):
        return convert(n, self.src, self.dst, self.opt.keep)

    def read(self, token, col):
        """A time code token's reader, or None where it is not a time code's shape."""
        shape = each_shape(token, self.src)
        return shape and not shape[2] and (lambda: read_tc(shape[0], shape[1], self.src, col)) or None

    def times(self, toks):
        readers = [self.read(t, a + 1) for a, _, t in toks]
        return all(readers) and readers

    def fcm(self, line, number):
        drop, fps = "NON-DROP FRAME" not in line, self.opt.rate.fps
        if drop and fps not in DROP_FAMILY:
            self.errors.append((number, 6, "FCM: DROP FRAME at a rate with no drop frame"))
            self.kept = True
            return line
        self.kept, self.src = False, Rate(fps, DROP_FAMILY[fps] if drop else 0)
        return re.sub("(NON-)?DROP FRAME", "DROP FRAME" if self.dst.drop else "NON-DROP FRAME", line, 1)

    def event(self, head, tcs, number):
        """Edits of the head (a transition's length) and of the four time codes on line number,
        or None where one cannot be read: then the event stays as it was."""
        try:
            counts = [r() for r in self.times(tcs)]
        except Fault as e:
            self.errors.append((number, e.col, str(e)))
            return None
        edits = []
        for k in (0, 2):  # out = in + length; on a 24-hour clock an earlier out is past midnight
            n_in, length = self.pos(counts[k]), counts[k + 1] - counts[k]
            length = length % day(self.src) if self.opt.wrap else length
            edits += [tcs[k][:2] + (self.write(n_in),), tcs[k + 1][:2] + (self.write(n_in + self.pos(length)),)]
        a, b, t = head[-1]
        length = len(head) >= 4 and t.isdigit() and self.opt.keep == "duration"
        return [(a, b, "%0*d" % (len(t), self.pos(int(t))))] if length else [], edits

    def m2(self, line, toks, number):
        """M2 reel speed time code, or M2 reel speed ... +length."""
        speed, last = (toks[2][2], toks[-1][2]) if len(toks) >= 4 else ("", "")
        length = last.startswith("+")
        reader = self.read(last[length:], toks[-1][0] + 1 + length)
        if not re.fullmatch(r"-?[0-9]+(\.[0-9]+)?", speed) or not reader or (len(toks) > 4) != length:
            self.errors.append((number, 1, "unreadable M2 line"))
            return line
        try:
            edits = [toks[-1][:2] + ("+" * length + self.write(self.pos(reader())),)]
        except Fault as e:
            self.errors.append((number, e.col, str(e)))
            return line
        ratio = self.dst.fps / self.src.fps
        if self.opt.keep == "frames" and ratio != 1:  # scaled, to as many decimals, as wide
            neg, places = speed.startswith("-"), max(1, len(speed.partition(".")[2]))
            q = round(F(speed.lstrip("-")) * ratio * 10 ** places)
            text = ("%d.%0*d" % (q // 10 ** places, places, q % 10 ** places)).rjust(len(speed) - neg, "0")
            edits.append(toks[2][:2] + ("-" * neg + text,))
        return splice(line, edits)

    def convert(self, data):
        bom = BOM if data.startswith(BOM) else b""
        lines = [(t.decode("latin-1"), e.decode("latin-1")) for t, e in lines_of(data[len(bom):])]
        out, k = [], 0
        while k < len(lines):
            (line, end), number, toks = lines[k], k + 1, words(lines[k][0])
            first = toks[0][2] if toks else ""
            nxt = words(lines[k + 1][0]) if k + 1 < len(lines) else []
            if first == "FCM:":
                out.append(self.fcm(line, number) + end)
            elif self.kept:
                out.append(line + end)
            elif first.isdigit() and len(toks) >= 8 and self.times(toks[-4:]):
                done = self.event(toks[:-4], toks[-4:], number)
                out.append((splice(line, done[0] + done[1]) if done else line) + end)
            elif first.isdigit() and len(toks) in (4, 5) and len(nxt) == 4 and self.times(nxt):
                # An event whose time codes stand alone on the next line.
                done, (line2, end2) = self.event(toks, nxt, number + 1), lines[k + 1]
                out += [(splice(line, done[0]) if done else line) + end, (splice(line2, done[1]) if done else line2) + end2]
                k += 1
            elif first == "M2":
                out.append(self.m2(line, toks, number) + end)
            else:
                out.append(replace_runs(line, number, self.src, lambda n: self.write(self.pos(n)), self.errors) + end)
            k += 1
        return bom + "".join(out).encode("latin-1"), self.errors


def run(opt, data):
    """(standard output, [(line, column, message)], exit status) for standard input data."""
    out, errors = (EditList(opt).convert(data) if opt.mode == "edl" else
                   run_each(data, opt) if opt.mode == "each" else run_stream(data, opt))
    return out, errors, 2 if errors else 0


def main(argv):
    ap = argparse.ArgumentParser(description="ostrel-tc as its manual says it works")
    for name in ("--rate", "--to", "--to-rate", "--keep"):
        ap.add_argument(name)
    for name in ("--wrap", "--no-marks", "--no-leading", "--align", "--each", "--edl"):
        ap.add_argument(name, action="store_true")
    ap.add_argument("expr", nargs="*")
    a = ap.parse_args(argv)
    opt = Options(a.rate or "29.97df", a.to or "tc", a.to_rate, a.keep or "duration", a.wrap, not a.no_marks,
                  not a.no_leading, a.align, "edl" if a.edl else "each" if a.each else "stream")
    out, errors, status = run(opt, (" ".join(a.expr) + "\n").encode() if a.expr else sys.stdin.buffer.read())
    sys.stdout.buffer.write(out)
    for line, col, message in errors:
        sys.stderr.write("model: line %d, column %d: %s\n" % (line, col, message))
    return status


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
