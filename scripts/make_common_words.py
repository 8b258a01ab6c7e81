#!/usr/bin/env python3
"""Writes the common-words files of data/ from the stopwords-iso JSON file.

Usage: make_common_words.py STOPWORDS_ISO_JSON OUTPUT_FOLDER

For each of English, German, Spanish, Portuguese, Italian and French it
writes cwds_<code>.txt, and cwds_en_de_es_pt_it_fr.txt with the union of the
six. Each file holds one word a line in lower case, encoded in Windows-1252,
with CR LF line ends (the last line too), each word once, in byte order of
the Windows-1252 encoding.

A word of the source list is kept only when
  - Windows-1252 can hold every character of it (no mapping is made),
  - every character is a letter (A-Z, a-z and the Windows-1252 letters
    128-255 that the word scanner counts as letters: 192-255 but 215 and
    247), an apostrophe (') or a hyphen (-),
  - it begins and ends with a letter (the scanner never begins or ends a
    word with an apostrophe or a hyphen, so such a word would never match).
Every word dropped is printed on standard error with its reason.
"""

import json
import sys

LANGUAGES = ["en", "de", "es", "pt", "it", "fr"]
UNION_NAME = "cwds_" + "_".join(LANGUAGES) + ".txt"


def is_letter_byte(b):
    if 0x41 <= b <= 0x5A or 0x61 <= b <= 0x7A:
        return True
    return 0xC0 <= b <= 0xFF and b not in (0xD7, 0xF7)


def why_dropped(word):
    """The reason the word is dropped, or None when it is kept."""
    try:
        data = word.encode("cp1252")
    except UnicodeEncodeError:
        return "a character that Windows-1252 cannot hold"
    for b in data:
        if not (is_letter_byte(b) or b in b"'-"):
            return "the character %r, not a letter, apostrophe or hyphen" % bytes([b]).decode("cp1252")
    if not is_letter_byte(data[0]) or not is_letter_byte(data[-1]):
        return "begins or ends with an apostrophe or hyphen"
    return None


def write_list(path, words):
    encoded = sorted(w.encode("cp1252") for w in words)
    with open(path, "wb") as f:
        for w in encoded:
            f.write(w + b"\r\n")
    return len(encoded)


def main(argv):
    if len(argv) != 3:
        sys.stderr.write("usage: make_common_words.py STOPWORDS_ISO_JSON OUTPUT_FOLDER\n")
        return 2
    with open(argv[1], encoding="utf-8") as f:
        source = json.load(f)
    union = set()
    for code in LANGUAGES:
        kept = set()
        for raw in source[code]:
            word = raw.strip().lower()
            reason = why_dropped(word) if word else "empty"
            if reason:
                sys.stderr.write("%s: dropped %r: %s\n" % (code, raw, reason))
                continue
            kept.add(word)
        count = write_list("%s/cwds_%s.txt" % (argv[2], code), kept)
        print("cwds_%s.txt: %d words (%d in the source)" % (code, count, len(source[code])))
        union |= kept
    count = write_list("%s/%s" % (argv[2], UNION_NAME), union)
    print("%s: %d words" % (UNION_NAME, count))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
