#!/usr/bin/env python3
"""Writes assets/tamtara.rtf, the readme the launcher's first page shows, from assets/Readme.txt.

    scripts/readme-rtf.py            # rewrites assets/tamtara.rtf
    scripts/readme-rtf.py --check    # exits 1 when assets/tamtara.rtf is not what Readme.txt makes

The text file is wrapped for an 80-column editor; the page wraps for its own width, so the lines
of one paragraph are joined again. What the text file means by its layout:
  - the first line is the title (the "====" line under it is dropped);
  - a line starting with "■" is a heading;
  - a line starting with "・" is an item; lines under it indented by two spaces continue it;
  - any other line indented by two or more spaces, and any indented line with a gap of two
    spaces between its words, is a table row, set in the fixed-width font so its columns line up;
  - other lines join the paragraph before them, which ends at a line ending in "。" or ":".
"""
import pathlib
import sys

ROOT = pathlib.Path(__file__).resolve().parent.parent
TEXT = ROOT / "assets" / "Readme.txt"
RTF = ROOT / "assets" / "tamtara.rtf"

HEADER = (
    "{\\rtf1\\ansi\\ansicpg932\\deff0\\uc1\n"
    "{\\fonttbl{\\f0\\fnil\\fcharset128 IPAPGothic;}{\\f1\\fmodern\\fcharset128 IPAGothic;}}\n"
    "\\viewkind4\\pard\\f0\\fs20\n"
)
# Japanese punctuation after which a joined Latin word needs no space, and before which none.
NO_SPACE_AFTER = set("、。（「『・：(")
NO_SPACE_BEFORE = set("、。）」』・：)")


def escape(text):
    out = []
    for ch in text:
        code = ord(ch)
        if ch in "\\{}":
            out.append("\\" + ch)
        elif code < 0x80:
            out.append(ch)
        else:
            if code > 0xFFFF:
                raise SystemExit(f"readme-rtf: character outside the BMP: {ch!r}")
            out.append(f"\\u{code - 0x10000 if code > 0x7FFF else code}?")
    return "".join(out)


def join(before, after):
    if not before:
        return after
    last, first = before[-1], after[0]
    ascii_side = (last.isascii() and first not in NO_SPACE_BEFORE) or (
        first.isascii() and last not in NO_SPACE_AFTER)
    return before + (" " if ascii_side and not last.isspace() else "") + after


def convert(text):
    lines = text.splitlines()
    out = [HEADER]
    paragraph = None  # the text of the open paragraph
    in_item = False

    def close():
        nonlocal paragraph, in_item
        if paragraph is not None:
            out.append(escape(paragraph) + "\\par\n")
        paragraph = None
        in_item = False

    for index, line in enumerate(lines):
        if index == 0:
            out.append("\\fs28\\b " + escape(line) + "\\b0\\fs20\\par\n")
            continue
        if index == 1 and set(line) == {"="}:
            continue
        if not line.strip():
            close()
            out.append("\\par\n")
        elif line.startswith("■"):
            close()
            out.append("\\b " + escape(line) + "\\b0\\par\n")
        elif line.startswith("・"):
            close()
            paragraph, in_item = line, True
        elif in_item and line.startswith("  ") and not line[2].isspace() and "  " not in line.strip():
            paragraph = join(paragraph, line.strip())
        elif line.startswith("  "):
            close()
            out.append("\\f1 " + escape(line) + "\\f0\\par\n")
        else:
            if in_item:
                close()
            paragraph = join(paragraph, line.strip()) if paragraph is not None else line
            if line.endswith(("。", ":", "：")):
                close()
    close()
    out.append("}\n")
    return "".join(out)


def main():
    rtf = convert(TEXT.read_text(encoding="utf-8"))
    if "--check" in sys.argv[1:]:
        if RTF.read_text(encoding="ascii") != rtf:
            print("assets/tamtara.rtf is not what assets/Readme.txt makes: run scripts/readme-rtf.py")
            return 1
        return 0
    RTF.write_text(rtf, encoding="ascii")
    return 0


if __name__ == "__main__":
    sys.exit(main())
