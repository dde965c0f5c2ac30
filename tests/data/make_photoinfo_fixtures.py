#!/usr/bin/env python3
"""Writes the small photo-info fixtures used by the command-line tests and the
seed corpus of the photo-info fuzzer. The bytes are built here field by field,
apart from the program's own writer, so the tests check the reader against an
independent description of the layout.

Run from the repository root: python3 tests/data/make_photoinfo_fixtures.py
"""
import json
import os
import struct

MAGIC = b"KZR\0"


def logfont(height=-13, width=0, esc=0, orient=0, weight=400, italic=0, underline=0,
            strike=0, charset=0, outp=0, clip=0, quality=0, pitch=0x20, face=b"Arial"):
    return struct.pack("<5i8B", height, width, esc, orient, weight, italic, underline,
                       strike, charset, outp, clip, quality, pitch) + face.ljust(32, b"\0")


def dimension(version, colour, start, end, value, font=None):
    out = struct.pack("<I4i", colour, *start, *end)
    if version < 0x00010006:
        out += struct.pack("<i", value)
    else:
        out += value.ljust(10, b"\0")[:10]
    if version >= 0x00010008:
        out += font or logfont()
    return out


def note(version, title, anchor, text, font=None):
    out = struct.pack("<i", len(title)) + title + b"\0" + struct.pack("<2i", *anchor)
    out += struct.pack("<i", len(text)) + text + b"\0"
    if version >= 0x00010007:
        out += font or logfont()
    return out


def info_file(version, dims, notes):
    return (MAGIC + struct.pack("<Ii", version, len(dims)) + b"".join(dims) +
            struct.pack("<i", len(notes)) + b"".join(notes))


def cp950(text):
    return text.encode("cp950")


MING = logfont(height=-16, weight=700, italic=1, charset=136, pitch=0x31, face=cp950("新細明體"))


def sample(version):
    numeric = version < 0x00010006
    dims = [
        dimension(version, 0x0000FF, (10, 20), (300, 20), -125 if numeric else b"3.25", MING),
        # stored right to left: the reader exchanges the ends
        dimension(version, 0x00FF8000, (500, 40), (100, 40), 42 if numeric else cp950("約2米")),
        dimension(version, 0x00123456, (7, 7), (7, 7), 0 if numeric else b""),
    ]
    notes = [
        note(version, cp950("廚房"), (120, 80), cp950('窗戶 "東" 面\n寬\\高'), MING),
        note(version, cp950("新信息"), (-5, 9), b""),
    ]
    return info_file(version, dims, notes)


def write(path, data):
    with open(path, "wb") as f:
        f.write(data)


def font_json(height=-13, weight=400, italic=0, charset=0, pitch=0x20, face="Arial"):
    return {"height": height, "width": 0, "escapement": 0, "orientation": 0, "weight": weight,
            "italic": italic, "underline": 0, "strikeOut": 0, "charSet": charset,
            "outPrecision": 0, "clipPrecision": 0, "quality": 0, "pitchAndFamily": pitch,
            "faceName": face}


def expected_v8_json():
    ming = font_json(-16, 700, 1, 136, 0x31, "新細明體")
    return {
        "dimensions": [
            {"colour": "#ff0000", "start": [10, 20], "end": [300, 20], "value": "3.25", "font": ming},
            {"colour": "#0080ff", "start": [100, 40], "end": [500, 40], "value": "約2米",
             "font": font_json()},
            {"colour": "#563412", "start": [7, 7], "end": [7, 7], "value": "", "font": font_json()},
        ],
        "notes": [
            {"title": "廚房", "anchor": [120, 80], "text": '窗戶 "東" 面\n寬\\高', "font": ming},
            {"title": "新信息", "anchor": [-5, 9], "text": "", "font": font_json()},
        ],
    }


def extension(tags):
    """The tagged block after the last note: magic, version, length, tags."""
    body = b"".join(tag + struct.pack("<I", len(payload)) + payload for tag, payload in tags)
    return b"TSMREXT\0" + struct.pack("<II", 1, len(body)) + body


def reference_file():
    # An 800 mm reference 400 px long (2 mm/px) and a 200 px line without a value.
    dims = [dimension(0x00010008, 0x0000FF, (10, 20), (410, 20), b"800"),
            dimension(0x00010008, 0x0000FF, (10, 60), (210, 60), b"")]
    return info_file(0x00010008, dims, []) + extension([(b"RLEN", struct.pack("<i", 0))])


def expected_reference_json():
    # 200 px x 2 mm/px = 400 mm. Each of the 8 clicked coordinates is taken
    # as uncertain by 1 px: the line's ends move the length by 2 mm each, the
    # reference's ends by 400/400 = 1 mm each: sqrt(2*2^2 + 2*1^2) = 3.16 mm.
    return {
        "dimensions": [
            {"colour": "#ff0000", "start": [10, 20], "end": [410, 20], "value": "800",
             "font": font_json()},
            {"colour": "#ff0000", "start": [10, 60], "end": [210, 60], "value": "",
             "font": font_json(), "computed": {"length": 400.0, "uncertainty": 3.2}},
        ],
        "notes": [],
        "reference": {"kind": "length", "dimension": 0},
    }


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    top = os.path.dirname(os.path.dirname(here))
    v8 = sample(0x00010008)
    write(os.path.join(here, "photoinfo-v8.dat"), v8)
    with open(os.path.join(here, "photoinfo-v8.json"), "w", encoding="utf-8") as f:
        f.write(json.dumps(expected_v8_json(), ensure_ascii=False, separators=(",", ":")) + "\n")
    write(os.path.join(here, "photoinfo-reference.dat"), reference_file())
    with open(os.path.join(here, "photoinfo-reference.json"), "w", encoding="utf-8") as f:
        f.write(json.dumps(expected_reference_json(), ensure_ascii=False,
                           separators=(",", ":")) + "\n")
    # cut inside the text of the first note
    cut = v8.index(cp950("窗戶")) + 3
    write(os.path.join(here, "photoinfo-damaged.dat"), v8[:cut])
    write(os.path.join(here, "not-photoinfo.dat"), b"KZR1 is not a photo-info file\n")

    corpus = os.path.join(top, "fuzz", "corpus", "photoinfo")
    os.makedirs(corpus, exist_ok=True)
    for version in (0x00010005, 0x00010006, 0x00010007, 0x00010008, 0x00010009):
        write(os.path.join(corpus, "sample-%08x.dat" % version), sample(version))
    write(os.path.join(corpus, "empty.dat"), info_file(0x00010008, [], []))
    write(os.path.join(corpus, "reference.dat"), reference_file())
    write(os.path.join(corpus, "negative-count.dat"),
          MAGIC + struct.pack("<Ii", 0x00010008, -3) + struct.pack("<i", 1) +
          note(0x00010008, b"ab", (1, 2), b"cd"))


if __name__ == "__main__":
    main()
