#!/usr/bin/python3
"""An exact model of ostrel-tc's language, written from its manual page alone.

It shares no code and no reading of the C sources: every rule below is a sentence of
ostrel-tc(1) put into Python with fractions. run() takes the options and the bytes of
standard input and gives what ostrel-tc should write to standard output, the lines that
should be reported on standard error, and the exit status. Used on its own it reads
standard input like ostrel-tc (the stream, --each or --edl):

    ostrel_tc_model.py --rate 25 --to frames < expressions.txt
"""
import re
import sys
from fractions import Fraction as F

LIMIT = 10 ** 12
MARKS = ":;.,"
RUN_CHARS = frozenset("0123456789" + MARKS)
DIGITS = frozenset("0123456789")
BOM = b"\xef\xbb\xbf"


class Fault(Exception):
    """Input the manual calls an error; col is 1-based, or 0 where no column applies."""

    def __init__(self, col, message):
        super().__init__(message)
        self.col = col


class Rate:
    def __init__(self, fps, drop=0):
        self.fps = F(fps)
        self.drop = drop  # labels drop frame skips a minute, except every tenth
        self.labels = -(-self.fps.numerator // self.fps.denominator)

    def count(self, h, m, s, f):
        minutes = h * 60 + m
        return (minutes * 60 + s) * self.labels + f - self.drop * (minutes - minutes // 10)

    def label(self, n):
        """A count of frames (>= 0) as a count of labels."""
        if not self.drop:
            return n
        minute = self.labels * 60
        tens, rest = divmod(n, minute * 10 - 9 * self.drop)
        skipped = 0 if rest < minute else self.drop * ((rest - minute) // (minute - self.drop) + 1)
        return n + 9 * self.drop * tens + skipped

    def day(self):
        return self.labels * 86400 - self.drop * 9 * 144


DROP_FAMILY = {F(30000, 1001): 2, F(60000, 1001): 4, F(120000, 1001): 8}
NAMED = {"23.976": (F(24000, 1001), 0), "23.98": (F(24000, 1001), 0), "47.952": (F(48000, 1001), 0),
         "29.97": (F(30000, 1001), 0), "29.97ndf": (F(30000, 1001), 0), "29.97df": (F(30000, 1001), 2),
         "59.94": (F(60000, 1001), 0), "59.94ndf": (F(60000, 1001), 0), "59.94df": (F(60000, 1001), 4),
         "119.88": (F(120000, 1001), 0), "119.88df": (F(120000, 1001), 8),
         "30000/1001df": (F(30000, 1001), 2), "60000/1001df": (F(60000, 1001), 4),
         "120000/1001df": (F(120000, 1001), 8)}


def parse_rate(name):
    key = name.lower()
    if key in NAMED:
        return Rate(*NAMED[key])
    if re.fullmatch(r"[0-9]+", key) and 1 <= int(key) <= 999:
        return Rate(int(key))
    m = re.fullmatch(r"([0-9]+)/([0-9]+)", key)
    if m and int(m.group(2)):
        fps = F(int(m.group(1)), int(m.group(2)))
        if 1 <= fps < 1000 and fps.denominator <= 1001:
            return Rate(fps)
    raise Fault(0, "unknown rate '%s'" % name)


def in_range(v, col):
    if abs(v) > LIMIT:
        raise Fault(col, "result out of range")
    return v


def read_tc(fields, marks, rate, col):
    """Fields of digits, read from the right, and the marks between them: a count."""
    if ";" in marks and not rate.drop:
        raise Fault(col, "';' marks drop frame, which this rate does not have")
    vals = [int(x) for x in fields]
    if max(vals) > LIMIT:
        raise Fault(col, "time code out of range")
    h, m, s, f = [0] * (4 - len(vals)) + vals
    if m > 59 or s > 59 or f >= rate.labels:
        raise Fault(col, "field past its limit")
    if rate.drop and s == 0 and f < rate.drop and m % 10:
        raise Fault(col, "label skipped in drop frame")
    n = rate.count(h, m, s, f)
    if n > LIMIT:
        raise Fault(col, "time code out of range")
    return n


def tc_of_run(run, rate, col):
    fields = re.split("[:;.,]", run)
    if len(fields) > 4:
        raise Fault(col, "at most four fields")
    if "" in fields:
        raise Fault(col, "empty field")
    return read_tc(fields, "".join(re.findall("[:;.,]", run)), rate, col)


def real_time(run, rate, col):
    fields = run.split(":")
    last = re.fullmatch(r"([0-9]*)(?:\.([0-9]+))?", fields[-1])
    if len(fields) > 3 or not last or not fields[-1] or fields[-1] == "." \
            or not all(re.fullmatch("[0-9]+", x) for x in fields[:-1]):
        raise Fault(col, "unreadable real time")
    whole = [int(x) for x in fields[:-1]] + [int(last.group(1) or 0)]
    if any(v > 59 for v in whole[1:]):
        raise Fault(col, "minutes or seconds past 59")
    seconds = F(int(last.group(2) or "0"), 10 ** len(last.group(2) or ""))
    total = 0
    for v in whole:
        total = total * 60 + v
    frames = round((total + seconds) * rate.fps)
    if abs(frames) > LIMIT:
        raise Fault(col, "real time out of range")
    return frames


# ---- expressions -------------------------------------------------------------------

def tokens(s):
    out, i, n = [], 0, len(s)
    while i < n:
        c = s[i]
        if c in " \t":
            i += 1
        elif c in "()+-":
            out.append((c, c, i))
            i += 1
        elif c in "*x\u00d7/\u00f7":
            out.append(("/" if c in "/\u00f7" else "*", c, i))
            i += 1
        elif c in RUN_CHARS:
            j = i
            while j < n and s[j] in RUN_CHARS:
                j += 1
            run = s[i:j]
            if j < n and s[j] == "s":
                out.append(("real", run, i))
                i = j + 1
            elif j + 1 < n and s[j] == "+" and s[j + 1] in DIGITS:
                # Digits directly on both sides of + are feet+frames, never a sum.
                k = j + 1
                while k < n and s[k] in RUN_CHARS:
                    k += 1
                frames = s[j + 1:k]
                if not run.isdigit() or not frames.isdigit() or len(frames) > 2 or (k < n and s[k] == "+"):
                    raise Fault(j + 1, "feet+frames are FEET+FF; to add, put blanks around +")
                out.append(("feet", (run, frames), i))
                i = k
            else:
                out.append(("num", run, i))
                i = j
        else:
            raise Fault(i + 1, "expected a number, a time code or '('")
    return out


class Expression:
    """Values are (kind, frames): kind 'count' (a plain number), 'time' or 'factor'."""

    def __init__(self, text, rate, per_foot):
        self.toks = tokens(text)
        self.rate, self.per_foot, self.i, self.end = rate, per_foot, 0, len(text) + 1

    def peek(self):
        return self.toks[self.i][0] if self.i < len(self.toks) else None

    def col(self):
        return self.toks[self.i][2] + 1 if self.i < len(self.toks) else self.end

    def value(self):
        v = self.sum(0)
        if self.i < len(self.toks):
            raise Fault(self.col(), "unexpected '%s'" % self.toks[self.i][1])
        if v[0] == "factor":
            raise Fault(1, "a factor alone")
        return v[1]

    def sum(self, depth):
        kind, v = self.product(depth)
        while self.peek() in ("+", "-"):
            op, col = self.peek(), self.col()
            self.i += 1
            k2, w = self.product(depth)
            kind = "time" if "time" in (kind, k2) else "count"
            v = in_range(v + w if op == "+" else v - w, col)
        return kind, v

    def product(self, depth):
        left = self.unary(depth)
        while self.peek() == "*" or self.peek() == "/":
            op, col = self.peek(), self.col()
            self.i += 1
            right = self.unary(depth)
            left = self.combine(op, left, right, col)
        return left

    def combine(self, op, left, right, col):
        (lk, lv), (rk, rv) = left, right
        if op == "*":
            if lk == rk == "factor":
                raise Fault(col, "a product with no time on either side")
            if lk == rk == "time":
                raise Fault(col, "multiply by a plain number, not by a time")
            kind = rk if lk == "factor" else lk if rk == "factor" else ("time" if "time" in (lk, rk) else "count")
            return kind, in_range(round(F(lv) * rv), col)
        if rk == "time":
            raise Fault(col, "divide by a plain number, not by a time")
        if lk == "factor":
            raise Fault(col, "a factor divided")
        if rv == 0:
            raise Fault(col, "division by zero")
        return lk, in_range(round(F(lv) / rv), col)

    def unary(self, depth):
        if self.peek() == "-":
            self.i += 1
            kind, v = self.unary(depth)
            return kind, -v
        if self.peek() == "+":
            raise Fault(self.col(), "a unary + is no value")
        return self.primary(depth)

    def beside_product(self):
        near = [self.toks[j][0] for j in (self.i - 1, self.i + 1) if 0 <= j < len(self.toks)]
        return "*" in near or "/" in near

    def primary(self, depth):
        if self.i >= len(self.toks):
            raise Fault(self.end, "expression ends too soon")
        kind, text, pos = self.toks[self.i]
        col = pos + 1
        if kind == "(":
            if depth >= 200:
                raise Fault(col, "expression nested too deeply")
            self.i += 1
            v = self.sum(depth + 1)
            if self.peek() != ")":
                raise Fault(col, "missing ')'")
            self.i += 1
            return v
        if kind == "num":
            if text.isdigit():
                self.i += 1
                return "count", in_range(int(text), col)
            factor = re.fullmatch(r"[0-9]+\.([0-9]+)", text)
            if factor and self.beside_product():
                if len(factor.group(1)) > 9:
                    raise Fault(col, "a factor has up to nine decimals")
                self.i += 1
                return "factor", F(text)
            self.i += 1
            return "time", tc_of_run(text, self.rate, col)
        if kind == "real":
            self.i += 1
            return "time", real_time(text, self.rate, col)
        if kind == "feet":
            feet, frames = int(text[0]), int(text[1])
            if frames >= self.per_foot:
                raise Fault(col, "frames past the foot")
            self.i += 1
            return "time", in_range(feet * self.per_foot + frames, col)
        raise Fault(col, "expected a number, a time code or '('")


# ---- writing -----------------------------------------------------------------------

class Options:
    def __init__(self, rate="29.97df", to="tc", to_rate=None, keep="duration", wrap=False,
                 marks=True, leading=True, align=False, mode="stream"):
        self.rate, self.to_rate = parse_rate(rate), parse_rate(to_rate or rate)
        self.to, self.keep, self.wrap = to, keep, wrap
        self.marks, self.leading, self.align, self.mode = marks, leading, align, mode


def convert(n, src, dst, keep, col=0):
    """A position or a length at src as a count at dst."""
    if keep == "frames":
        return n
    return in_range(round(n * dst.fps / src.fps), col)


def tc_text(n, rate, wrap=False, marks=True, leading=True):
    if wrap:
        n %= rate.day()
    a = rate.label(abs(n))
    per_second = rate.labels
    text = "%02d:%02d:%02d%s%0*d" % (a // (per_second * 3600), a // (per_second * 60) % 60,
                                     a // per_second % 60, ";" if rate.drop else ":",
                                     3 if rate.labels > 100 else 2, a % per_second)
    if not marks:
        text = re.sub("[:;]", "", text)
    if not leading:
        text = text.lstrip("0:;") or "0"
    return ("-" if n < 0 else "") + text


def write(n, opt):
    if opt.to == "frames":
        return str(n)
    if opt.to in ("feet35", "feet16"):
        per = 40 if opt.to == "feet16" else 16
        return "%s%d+%02d" % ("-" if n < 0 else "", abs(n) // per, abs(n) % per)
    if opt.to == "seconds":
        ms = round(F(abs(n)) * 1000 / opt.to_rate.fps)
        return "%s%02d:%02d:%02d.%03d" % ("-" if n < 0 else "", ms // 3600000, ms // 60000 % 60,
                                          ms // 1000 % 60, ms % 1000)
    return tc_text(n, opt.to_rate, opt.wrap, opt.marks, opt.leading)


def evaluate(text, opt):
    per_foot = 40 if opt.to == "feet16" else 16
    n = Expression(text, opt.rate, per_foot).value()
    return write(convert(n, opt.rate, opt.to_rate, opt.keep, len(text)), opt)


# ---- lines -------------------------------------------------------------------------

def lines_of(data):
    """(text, ending) pairs: CR LF, LF and a CR not followed by LF each end a line."""
    out, start = [], 0
    for m in re.finditer(rb"\r\n|\n|\r", data):
        out.append((data[start:m.start()], m.group()))
        start = m.end()
    if start < len(data):
        out.append((data[start:], b""))
    return out


def run_stream(data, opt):
    out, errors = [], []
    for number, (line, _) in enumerate(lines_of(data[3:] if data.startswith(BOM) else data), 1):
        if line.startswith(b"#"):
            result = None
        else:
            try:
                text = line.decode("utf-8")
                if not text.strip(" \t"):
                    raise Fault(1, "empty expression")
                result = evaluate(text, opt)
            except (Fault, UnicodeDecodeError) as e:
                errors.append((number, getattr(e, "col", 1), str(e)))
                result = None
        if result is not None:
            out.append(result + "\n")
        elif opt.align:
            out.append("\n")
    return "".join(out).encode(), errors


EACH_TC = r"([0-9]+)([:;.,])([0-9]{2})([:;.,])([0-9]{2})([:;.,])([0-9]{2,3})"


def each_shape(run, rate):
    """The fields and marks of a run that --each reads as a time code, and its trailing mark."""
    m = re.fullmatch(EACH_TC + r"([:;.,]?)", run)
    if not m or (len(m.group(7)) == 3 and rate.labels <= 100):
        return None
    return [m.group(k) for k in (1, 3, 5, 7)], m.group(2) + m.group(4) + m.group(6), m.group(8)


def replace_runs(line, number, src, writer, errors):
    """Every time code --each finds in line, written anew; the rest kept."""
    def one(m):
        shape = each_shape(m.group(), src)
        if not shape:
            return m.group()
        try:
            return writer(read_tc(shape[0], shape[1], src, m.start() + 1)) + shape[2]
        except Fault as e:
            errors.append((number, e.col, str(e)))
            return m.group()
    return re.sub("[0-9:;.,]+", one, line)


def run_each(data, opt):
    bom = BOM if data.startswith(BOM) else b""
    out, errors = [bom], []
    writer = lambda n: write(convert(n, opt.rate, opt.to_rate, opt.keep), opt)  # noqa: E731
    for number, (line, end) in enumerate(lines_of(data[len(bom):]), 1):
        if not line.startswith(b"#"):
            line = replace_runs(line.decode("latin-1"), number, opt.rate, writer, errors).encode("latin-1")
        out.append(line + end)
    return b"".join(out), errors


# ---- edit lists --------------------------------------------------------------------

def edl_tc(token, src, col):
    shape = each_shape(token, src)
    if not shape or shape[2]:
        return None
    return lambda: read_tc(shape[0], shape[1], src, col)


def splice(line, edits):
    for a, b, new in sorted(edits, reverse=True):
        line = line[:a] + new + line[b:]
    return line


class EditList:
    def __init__(self, opt):
        self.opt, self.src, self.kept, self.errors = opt, opt.rate, False, []
        self.dst = opt.to_rate

    def write(self, n):
        return tc_text(n, self.dst, self.opt.wrap)

    def pos(self, n):
        return convert(n, self.src, self.dst, self.opt.keep)

    def fcm(self, line, number):
        drop = "NON-DROP FRAME" not in line
        fps = self.opt.rate.fps
        if drop and fps not in DROP_FAMILY:
            self.errors.append((number, 6, "FCM: DROP FRAME at a rate with no drop frame"))
            self.kept = True
            return line
        self.kept, self.src = False, Rate(fps, DROP_FAMILY[fps] if drop else 0)
        return re.sub("(NON-)?DROP FRAME", "DROP FRAME" if self.dst.drop else "NON-DROP FRAME", line, 1)

    def times(self, toks):
        """Readers of the time codes among toks, or None where one is not time-code shaped."""
        readers = [edl_tc(t, self.src, a + 1) for a, _, t in toks]
        return None if None in readers else readers

    def event(self, head, tcs, number):
        """Edits of the head (a transition's length) and of the four time codes (on line number),
        or None where one cannot be read: then the event stays as it was."""
        try:
            counts = [r() for r in self.times(tcs)]
        except Fault as e:
            self.errors.append((number, e.col, str(e)))
            return None
        edits = []
        for k in (0, 2):
            n_in = self.pos(counts[k])
            n_out = n_in + self.pos(counts[k + 1] - counts[k])
            edits += [(tcs[k][0], tcs[k][1], self.write(n_in)), (tcs[k + 1][0], tcs[k + 1][1], self.write(n_out))]
        head_edits = []
        if len(head) >= 4 and head[-1][2].isdigit() and self.opt.keep == "duration":
            a, b, t = head[-1]
            head_edits.append((a, b, "%0*d" % (len(t), self.pos(int(t)))))
        return head_edits, edits

    def m2(self, line, toks, number):
        speed = toks[2][2] if len(toks) >= 4 else ""
        last = toks[-1][2] if len(toks) >= 4 else ""
        length = last.startswith("+")
        reader = edl_tc(last[1:] if length else last, self.src, toks[-1][0] + 1 + length)
        if not re.fullmatch(r"-?[0-9]+(\.[0-9]+)?", speed) or not reader or (len(toks) > 4) != length:
            self.errors.append((number, 1, "unreadable M2 line"))
            return line
        try:
            n = reader()
        except Fault as e:
            self.errors.append((number, e.col, str(e)))
            return line
        new = ("+" if length else "") + self.write(self.pos(n))
        edits = [(toks[-1][0], toks[-1][1], new)]
        ratio = self.dst.fps / self.src.fps
        if self.opt.keep == "frames" and ratio != 1:
            neg = speed.startswith("-")
            places = max(1, len(speed.partition(".")[2]))
            q = round(F(speed.lstrip("-")) * ratio * 10 ** places)
            text = ("%d.%0*d" % (q // 10 ** places, places, q % 10 ** places)).rjust(len(speed) - neg, "0")
            edits.append((toks[2][0], toks[2][1], ("-" if neg else "") + text))
        return splice(line, edits)

    def convert(self, data):
        bom = BOM if data.startswith(BOM) else b""
        lines = [(t.decode("latin-1"), e.decode("latin-1")) for t, e in lines_of(data[len(bom):])]
        out, k = [], 0
        while k < len(lines):
            line, end = lines[k]
            number = k + 1
            toks = [(m.start(), m.end(), m.group()) for m in re.finditer(r"[^ \t]+", line)]
            first = toks[0][2] if toks else ""
            if first == "FCM:":
                out.append(self.fcm(line, number) + end)
            elif self.kept:
                out.append(line + end)
            elif first.isdigit() and len(toks) >= 8 and self.times(toks[-4:]):
                done = self.event(toks[:-4], toks[-4:], number)
                out.append(line + end if done is None else splice(line, done[0] + done[1]) + end)
            elif first.isdigit() and len(toks) in (4, 5) and k + 1 < len(lines) and self.split_tcs(lines[k + 1][0]):
                nxt, nend = lines[k + 1]
                tcs = self.split_tcs(nxt)
                done = self.event(toks, tcs, number + 1)
                if done is None:
                    out += [line + end, nxt + nend]
                else:
                    out += [splice(line, done[0]) + end, splice(nxt, done[1]) + nend]
                k += 1
            elif first == "M2":
                out.append(self.m2(line, toks, number) + end)
            else:
                out.append(replace_runs(line, number, self.src, lambda n: self.write(self.pos(n)), self.errors) + end)
            k += 1
        return bom + "".join(out).encode("latin-1"), self.errors

    def split_tcs(self, line):
        toks = [(m.start(), m.end(), m.group()) for m in re.finditer(r"[^ \t]+", line)]
        return toks if len(toks) == 4 and self.times(toks) else None


def run(opt, data):
    """(standard output, [(line, column, message)], exit status) for standard input data."""
    if opt.mode == "edl":
        out, errors = EditList(opt).convert(data)
    elif opt.mode == "each":
        out, errors = run_each(data, opt)
    else:
        out, errors = run_stream(data, opt)
    return out, errors, 2 if errors else 0


def main(argv):
    kw, words, i = {}, [], 0
    flags = {"--wrap": ("wrap", True), "--no-marks": ("marks", False), "--no-leading": ("leading", False),
             "--align": ("align", True), "--each": ("mode", "each"), "--edl": ("mode", "edl")}
    values = {"--rate": "rate", "--to": "to", "--to-rate": "to_rate", "--keep": "keep"}
    while i < len(argv):
        a = argv[i]
        if a in flags:
            kw[flags[a][0]] = flags[a][1]
        elif a in values:
            i += 1
            kw[values[a]] = argv[i]
        else:
            words.append(a)
        i += 1
    opt = Options(**kw)
    data = (" ".join(words) + "\n").encode() if words else sys.stdin.buffer.read()
    out, errors, status = run(opt, data)
    sys.stdout.buffer.write(out)
    for line, col, message in errors:
        sys.stderr.write("model: line %d, column %d: %s\n" % (line, col, message))
    return status


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
