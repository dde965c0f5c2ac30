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


def area(colour, opening, name, corners, font=None):
    out = struct.pack("<III", colour, 1 if opening else 0, len(name)) + name + (font or logfont())
    return out + struct.pack("<I", len(corners)) + b"".join(struct.pack("<2i", *c) for c in corners)


def angle(colour, arm1, vertex, arm2, font=None):
    return struct.pack("<I6i", colour, *arm1, *vertex, *arm2) + (font or logfont())


LIVING_ROOM = [(100, 100), (300, 100), (300, 200), (100, 200)]  # 200 x 100 px
WINDOW = [(150, 120), (190, 120), (190, 160), (150, 160)]  # 40 x 40 px, inside it
CORNER = [(300, 300), (200, 300), (200, 200)]  # a right angle on the picture


def shapes_file():
    # A 1000 mm reference 400 px long (2.5 mm/px), a room with a window in it
    # marked as an opening, and an angle.
    dims = [dimension(0x00010008, 0x0000FF, (10, 20), (410, 20), b"1000")]
    return info_file(0x00010008, dims, []) + extension([
        (b"RLEN", struct.pack("<i", 0)),
        (b"AREA", area(0x0000FF, False, cp950("客廳"), LIVING_ROOM)),
        (b"AREA", area(0x00FF00, True, b"", WINDOW)),
        (b"ANGL", angle(0xFF0000, *CORNER))])


def shoelace_slopes(corners):
    """d(area)/d(coordinate) of a polygon, px² per px, for every x then y."""
    n = len(corners)
    sign = 1 if sum(corners[i][0] * corners[(i + 1) % n][1] - corners[(i + 1) % n][0] *
                    corners[i][1] for i in range(n)) > 0 else -1
    slopes = []
    for i in range(n):
        after, before = corners[(i + 1) % n], corners[i - 1]
        slopes += [sign * (after[1] - before[1]) / 2, sign * (before[0] - after[0]) / 2]
    return slopes


def area_json(name, opening, colour, corners, holes):
    # At the reference's scale (facing the camera): the picture's area times
    # 2.5² mm² a square pixel. The uncertainty of the net area, to first
    # order, from 1 px at every clicked coordinate: the polygons' corners
    # (the shoelace formula's slopes) and the reference's two ends along the
    # line (the area goes as 1 / its length², by -2 area / 400 px each).
    scale2 = 2.5 ** 2
    def px_area(c):
        return abs(sum(c[i][0] * c[(i + 1) % len(c)][1] - c[(i + 1) % len(c)][0] * c[i][1]
                       for i in range(len(c)))) / 2
    gross = px_area(corners) * scale2
    net = gross - sum(px_area(h) for h in holes) * scale2
    slopes = [scale2 * v for v in shoelace_slopes(corners)]
    for h in holes:
        slopes += [scale2 * v for v in shoelace_slopes(h)]
    slopes += [2 * net / 400] * 2
    sigma = sum(v * v for v in slopes) ** 0.5
    perimeter = sum(((corners[i][0] - corners[i - 1][0]) ** 2 +
                     (corners[i][1] - corners[i - 1][1]) ** 2) ** 0.5 for i in range(len(corners)))
    return ('{"name":%s,"opening":%s,"colour":"%s","corners":%s,"font":%s,"computed":{'
            '"gross":%.4f,"net":%.4f,"uncertainty":%.4f,"perimeter":%.1f,"openings":%d,'
            '"basis":"facingCamera"}}' % (
                json.dumps(name, ensure_ascii=False), "true" if opening else "false", colour,
                json.dumps([list(c) for c in corners], separators=(",", ":")),
                json.dumps(font_json(), separators=(",", ":")), gross / 1e6, net / 1e6,
                sigma / 1e6, perimeter * 2.5, len(holes)))


def expected_shapes_json():
    records = {
        "dimensions": [
            {"colour": "#ff0000", "start": [10, 20], "end": [410, 20], "value": "1000",
             "font": font_json()},
        ],
        "notes": [],
        "reference": {"kind": "length", "dimension": 0},
    }
    # Without a plane the angle is the picture's: a right angle, no uncertainty.
    corner = {"colour": "#0000ff", "points": [list(p) for p in CORNER], "font": font_json()}
    angles = json.dumps([corner], ensure_ascii=False, separators=(",", ":"))
    angles = angles[:-2] + ',"computed":{"degrees":90.00,"uncertainty":0.00,"basis":"picture"}}]'
    return (json.dumps(records, ensure_ascii=False, separators=(",", ":"))[:-1] + ',"areas":[' +
            area_json("客廳", False, "#ff0000", LIVING_ROOM, [WINDOW]) + "," +
            area_json("", True, "#00ff00", WINDOW, []) + '],"angles":' + angles + "}")


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
    write(os.path.join(here, "photoinfo-shapes.dat"), shapes_file())
    with open(os.path.join(here, "photoinfo-shapes.json"), "w", encoding="utf-8") as f:
        f.write(expected_shapes_json() + "\n")
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
    write(os.path.join(corpus, "shapes.dat"), shapes_file())
    write(os.path.join(corpus, "negative-count.dat"),
          MAGIC + struct.pack("<Ii", 0x00010008, -3) + struct.pack("<i", 1) +
          note(0x00010008, b"ab", (1, 2), b"cd"))


if __name__ == "__main__":
    main()
