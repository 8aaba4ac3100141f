#!/usr/bin/env python3
"""Independent oracle for `ostrel-tc --edl --rate 29.97 --to-rate 25 --keep MODE`.

Computes the expected output files from mixed_2997.edl with exact rational
arithmetic (fractions.Fraction); it shares no code with ostrel-tc.

    python3 edl_oracle.py mixed_2997.edl frames   > mixed_2997_to_25_keep_frames.edl
    python3 edl_oracle.py mixed_2997.edl duration > mixed_2997_to_25_keep_duration.edl
"""
import re
import sys
from fractions import Fraction

SRC_RATE = Fraction(30000, 1001)   # 29.97 family: 30 labels a second
DST_RATE = Fraction(25)
SCALE = DST_RATE / SRC_RATE        # 25 * 1001 / 30000

TC = re.compile(rb"^(\d+)[:;.,](\d\d)[:;.,](\d\d)[:;.,](\d\d)([:;.,]?)$")
RUN = re.compile(rb"[0-9:;.,]+")
TOKEN = re.compile(rb"[^ \t\r]+")


def read_tc(tok, drop):
    """Label -> frame count at 30 labels a second."""
    h, m, s, f = (int(x) for x in TC.match(tok).group(1, 2, 3, 4))
    assert m < 60 and s < 60 and f < 30, tok
    n = (h * 3600 + m * 60 + s) * 30 + f
    if drop:
        assert not (s == 0 and f < 2 and m % 10), b"skipped label " + tok
        mins = h * 60 + m
        n -= 2 * (mins - mins // 10)
    else:
        assert b";" not in tok, tok
    return n


def write_tc(n):
    """Frame count -> non-drop label at 25."""
    assert n >= 0
    return b"%02d:%02d:%02d:%02d" % (n // 90000, n // 1500 % 60, n // 25 % 60, n % 25)


def conv(n, keep):
    """Position or length (a frame count) at 29.97 -> frame count at 25."""
    if keep == "frames":
        return n
    return round(Fraction(n) * SCALE)   # round() on a Fraction is half to even


def splice(line, edits):
    """Replace byte spans (start, end, new) from right to left."""
    for a, b, new in sorted(edits, reverse=True):
        line = line[:a] + new + line[b:]
    return line


def convert_line(line, drop, keep):
    toks = [(m.start(), m.end(), m.group()) for m in TOKEN.finditer(line)]
    first = toks[0][2] if toks else b""

    if first.isdigit():                                   # event line
        edits = []
        tcs = toks[-4:]
        for (ia, ib, itok), (oa, ob, otok) in (tcs[0:2], tcs[2:4]):
            n_in, n_out = read_tc(itok, drop), read_tc(otok, drop)
            new_in = conv(n_in, keep)
            new_out = new_in + conv(n_out - n_in, keep)
            edits += [(ia, ib, write_tc(new_in)), (oa, ob, write_tc(new_out))]
        idx = len(toks) - 5                               # token before the time codes
        a, b, t = toks[idx]
        if idx >= 3 and t.isdigit() and keep == "duration":
            edits.append((a, b, b"%0*d" % (len(t), conv(int(t), keep))))
        return splice(line, edits)

    if first == b"M2":                                    # reel, speed, time code
        edits = []
        a, b, t = toks[3]
        edits.append((a, b, write_tc(conv(read_tc(t, drop), keep))))
        if keep == "frames":
            sa, sb, sp = toks[2]
            v = round(Fraction(sp.decode()) * SCALE, 1)   # half to even, exact
            neg = sp.startswith(b"-")
            digits = b"%.1f" % abs(v)
            width = len(sp) - (1 if neg else 0)
            edits.append((sa, sb, (b"-" if neg else b"") + digits.rjust(width, b"0")))
        return splice(line, edits)

    if first == b"FCM:":
        if b"NON-DROP FRAME" in line:
            return line
        return line.replace(b"DROP FRAME", b"NON-DROP FRAME", 1)

    edits = []                                            # any other line
    for m in RUN.finditer(line):
        tm = TC.match(m.group())
        if tm:
            end = m.end() - len(tm.group(5))              # a trailing mark stays text
            edits.append((m.start(), end, write_tc(conv(read_tc(m.group(), drop), keep))))
    return splice(line, edits)


def main():
    path, keep = sys.argv[1], sys.argv[2]
    assert keep in ("frames", "duration")
    data = open(path, "rb").read()
    bom = b"\xef\xbb\xbf" if data.startswith(b"\xef\xbb\xbf") else b""
    lines = data[len(bom):].split(b"\n")
    drop = False
    out = []
    for line in lines:
        if line.startswith(b"FCM:"):
            drop = b"NON-DROP" not in line and b"DROP FRAME" in line
        out.append(convert_line(line, drop, keep))
    sys.stdout.buffer.write(bom + b"\n".join(out))


if __name__ == "__main__":
    main()
