#!/usr/bin/env python3
"""Reads a few thousand generated JSON strings with telvar-gen ("Format") and with Python's own
json module, and checks that both read the same text. The strings lean on the characters that
join their neighbours into one grapheme cluster (prepended marks, combining marks, ZWJ, Hangul
jamo, regional indicators) placed next to quotation marks and escapes.

usage: string_reading_test.py TELVAR_GEN
"""
import json
import os
import random
import subprocess
import sys
import tempfile

GEN = sys.argv[1]

# Characters a mark prepends itself to whatever follows (Grapheme_Cluster_Break=Prepend).
PREPEND = ["\u0600", "\u0601", "\u0605", "\u06dd", "\u070f", "\u0890", "\u0891", "\u08e2",
           "\U000110bd", "\U000110cd", "\u0d4e", "\U00011a3a"]
# Characters that join the character before them (Extend, ZWJ, SpacingMark). Written raw right
# after an opening quote or an escape, they make one character with it, which the grammar reads
# as no match by design; those places get a plain letter first. So do places after a raw tab,
# line feed or carriage return, which "Format" prints as escapes: it cannot print a joining
# character beyond U+FFFF there, and gives such a text back unchanged.
JOINING = ["\u0301", "\u0308", "\u200d", "\u0903", "\U0001f3fd"]
OTHER = ["a", "Z", " ", "/", "\u00e9", "\u4e2d", "\U0001f44d", "\u1100", "\u1161", "\U0001f1eb",
         "\t", "\x01", "\x7f", "\u2028", "\ufeff"]
ESCAPES = ['\\"', "\\\\", "\\/", "\\n", "\\r", "\\t"]


def unicode_escape(rng):
    while True:
        n = rng.choice([rng.randrange(0x80), rng.randrange(0x10000),
                        ord(rng.choice(PREPEND + JOINING[:4]))])
        if not 0xD800 <= n <= 0xDFFF:  # escaped surrogates read as "_" by design
            return "\\u%04x" % n if rng.random() < 0.5 else "\\u%04X" % n


def json_string(rng):
    """The source text of one JSON string, quotes included."""
    parts = ['"']
    after_start_or_escape = True
    for _ in range(rng.randrange(12)):
        kind = rng.random()
        if kind < 0.3:
            piece = rng.choice(PREPEND)
        elif kind < 0.45:
            piece = rng.choice(JOINING)
        elif kind < 0.65:
            piece = rng.choice(ESCAPES)
        elif kind < 0.75:
            piece = unicode_escape(rng)
        else:
            piece = rng.choice(OTHER)
        if piece in JOINING and after_start_or_escape:
            piece = "x" + piece
        parts.append(piece)
        after_start_or_escape = piece.startswith("\\") or piece in ("\t", "\n", "\r")
    parts.append('"')
    return "".join(parts)


def formatted(sample_text, work):
    path = os.path.join(work, "sample.json")
    with open(path, "w", encoding="utf-8", newline="") as f:
        f.write(sample_text)
    run = subprocess.run([GEN, "--format", "--input", path], capture_output=True)
    if run.returncode != 0:
        raise SystemExit("telvar-gen failed: %r" % run.stderr)
    # The printed text ends with one line feed of the driver's.
    return run.stdout.decode("utf-8")[:-1]


def check(strings, work, label):
    """Both readers agree on the array of `strings`; returns the number of failures."""
    sample = "[" + ",".join(strings) + "]"
    ours = formatted(sample, work)
    if ours == sample:
        # Format gives back what it could not read: find the first string it rejects.
        for s in strings:
            if formatted("[" + s + "]", work) == "[" + s + "]":
                print("FAIL %s: not read: %a" % (label, s))
                return 1
        print("FAIL %s: the array was not read" % label)
        return 1
    theirs = json.loads(sample, strict=False)  # raw control characters are allowed here
    read = json.loads(ours, strict=False)
    failures = 0
    if len(read) != len(theirs):
        print("FAIL %s: %d strings read, %d expected" % (label, len(read), len(theirs)))
        failures += 1
    for source, a, b in zip(strings, read, theirs):
        if a != b:
            print("FAIL %s: %a read as %a, expected %a" % (label, source, a, b))
            failures += 1
            if failures > 10:
                break
    return failures


def main():
    rng = random.Random(20261209)
    strings = [json_string(rng) for _ in range(4000)]
    failures = 0
    with tempfile.TemporaryDirectory() as work:
        # In small arrays, read in order; then all at once, a large array read in pieces.
        for start in range(0, len(strings), 500):
            failures += check(strings[start:start + 500], work, "strings %d+" % start)
        failures += check(strings, work, "all strings")
        # As keys too.
        keys = "{" + ",".join("%s:%d" % (s, i) for i, s in enumerate(strings[:500])) + "}"
        ours = formatted(keys, work)
        if ours == keys:
            print("FAIL keys: not read")
            failures += 1
        theirs = json.loads(keys, strict=False, object_pairs_hook=lambda pairs: pairs)
        read = json.loads(ours, strict=False, object_pairs_hook=lambda pairs: pairs)
        # Equal keys (by canonical equivalence too) keep their first member in the grammar.
        seen = set()
        expected = [(k, v) for k, v in theirs if not (k in seen or seen.add(k))]
        if len(read) > len(expected):
            print("FAIL keys: %d members read, at most %d expected" % (len(read), len(expected)))
            failures += 1
        for k, v in read:
            if strings[v] and json.loads(strings[v], strict=False) != k:
                print("FAIL keys: %a read as %a" % (strings[v], k))
                failures += 1
                break
    if failures:
        print("%d failure(s)" % failures)
        return 1
    print("%d strings read alike" % len(strings))
    return 0


if __name__ == "__main__":
    sys.exit(main())
