#!/usr/bin/env python3
"""Writes a Word document of the lines of a text, and the same lines as text.

Usage: make_docx.py TEXT DOCX TXT XML_BYTES

The lines of TEXT, over and over, become paragraphs of one run each of
DOCX's word/document.xml (their "&", "<" and ">" escaped; an empty line an
empty paragraph) for as long as the XML stays within XML_BYTES bytes; TXT
gets the same lines, so that counting it gives the listing of DOCX. Prints
the size of the XML in bytes.
"""

import sys
import zipfile
from xml.sax.saxutils import escape

OOXML = "http://schemas.openxmlformats.org/"
CONTENT_TYPES = (
    '<Types xmlns="' + OOXML + 'package/2006/content-types">'
    '<Default Extension="rels" ContentType="application/vnd.openxmlformats-package'
    '.relationships+xml"/><Override PartName="/word/document.xml" ContentType='
    '"application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml"/>'
    "</Types>")
RELS = (
    '<Relationships xmlns="' + OOXML + 'package/2006/relationships">'
    '<Relationship Id="rId1" Target="word/document.xml" Type="' + OOXML
    + 'officeDocument/2006/relationships/officeDocument"/></Relationships>')
HEAD = ('<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n<w:document xmlns:w="'
        + OOXML + 'wordprocessingml/2006/main"><w:body>').encode()
TAIL = b"</w:body></w:document>"


def main():
    if len(sys.argv) != 5:
        sys.exit("usage: make_docx.py TEXT DOCX TXT XML_BYTES")
    text, docx, txt, limit = sys.argv[1], sys.argv[2], sys.argv[3], int(sys.argv[4])
    with open(text, encoding="utf-8") as f:
        lines = f.read().splitlines()
    if not any(lines):
        sys.exit(f"make_docx.py: {text} holds no text")
    paragraphs, kept, size = [], [], len(HEAD) + len(TAIL)
    while True:
        line = lines[len(kept) % len(lines)]
        p = ('<w:p><w:r><w:t xml:space="preserve">' + escape(line) + "</w:t></w:r></w:p>"
             if line else "<w:p/>").encode()
        if size + len(p) > limit:
            break
        paragraphs.append(p)
        kept.append(line)
        size += len(p)
    with zipfile.ZipFile(docx, "w", zipfile.ZIP_DEFLATED) as z:
        z.writestr("[Content_Types].xml", CONTENT_TYPES)
        z.writestr("_rels/.rels", RELS)
        z.writestr("word/document.xml", HEAD + b"".join(paragraphs) + TAIL)
    with open(txt, "w", encoding="utf-8") as f:
        f.write("\n".join(kept) + "\n")
    print(size)


if __name__ == "__main__":
    main()
