#!/usr/bin/env python3
"""Writes the client's icon set as SVG files beside this script.

The SVG files are the sources the build renders (client/resources/CMakeLists.txt
turns images/<path>.svg into :/SensitiveDiscovery/images/<path>.png at the
SVG's own width and height). This script keeps the set coherent: one palette,
one stroke weight per size, the same shapes at every size. Edit it and run

    python3 client/resources/images/drawicons.py

then commit the changed SVG files. It writes nothing else.
"""

import os

HERE = os.path.dirname(os.path.abspath(__file__))

# Palette
BLUE = "#3676F5"
BLUE_DARK = "#2A5DC4"
BLUE_BRIGHT = "#5B91FF"
BLUE_TINT = "#EAF1FE"
BLUE_SOFT = "#D5E3FD"
BLUE_MID = "#A9C4FB"
ORANGE = "#F08A00"
ORANGE_BRIGHT = "#F7A21B"
ORANGE_TINT = "#FFF3DF"
GLYPH = "#5C6066"        # window buttons, arrows, sidebar glyphs
GLYPH_SOFT = "#8F959E"   # help marks beside grey text
DISABLED = "#9AA0A8"
LINE = "#DDE3EE"         # text bars in the pictures
WHITE = "#FFFFFF"


def write(path, width, height, body, view=None):
    view = view or (0, 0, width, height)
    text = (
        '<?xml version="1.0" encoding="UTF-8"?>\n'
        f'<svg xmlns="http://www.w3.org/2000/svg" width="{width}" height="{height}" '
        f'viewBox="{view[0]} {view[1]} {view[2]} {view[3]}">\n'
        f"{body.strip()}\n"
        "</svg>\n"
    )
    full = os.path.join(HERE, path)
    os.makedirs(os.path.dirname(full), exist_ok=True)
    with open(full, "w", encoding="utf-8") as f:
        f.write(text)


def stroke(color, width, content, extra=""):
    return (f'<g fill="none" stroke="{color}" stroke-width="{width}" '
            f'stroke-linecap="round" stroke-linejoin="round"{extra}>{content}</g>')


# ---------------------------------------------------------------- logo
SHIELD_48 = ("M24 8.5 L36.5 13 V23.2 C36.5 31.4 31.2 37.2 24 40 "
             "C16.8 37.2 11.5 31.4 11.5 23.2 V13 Z")


def logo(size):
    """The application mark: a white shield with a blue lens on a blue tile."""
    simple = size <= 16
    body = f"""
<defs>
  <linearGradient id="tile" x1="0" y1="0" x2="1" y2="1">
    <stop offset="0" stop-color="{BLUE_BRIGHT}"/>
    <stop offset="1" stop-color="{BLUE_DARK}"/>
  </linearGradient>
  <linearGradient id="shield" x1="0" y1="0" x2="0" y2="1">
    <stop offset="0" stop-color="#FFFFFF"/>
    <stop offset="1" stop-color="#E4EDFE"/>
  </linearGradient>
</defs>
<rect x="2" y="2" width="44" height="44" rx="11" fill="url(#tile)"/>
<path d="{SHIELD_48}" fill="url(#shield)"/>
"""
    if simple:
        body += stroke(BLUE, 4.2, '<circle cx="23.5" cy="22.5" r="5.2"/><path d="M27.5 26.5 L31 30"/>')
    else:
        body += stroke(BLUE, 2.8, '<circle cx="23.2" cy="22.3" r="5.4"/><path d="M27.2 26.3 L30.6 29.7"/>')
        body += f'<path d="M20.6 21 A3 3 0 0 1 22.4 19.3" fill="none" stroke="{BLUE_MID}" stroke-width="1.4" stroke-linecap="round"/>'
    write(f"zoq_logo/{logo.names[size]}", size, size, body, (0, 0, 48, 48))


logo.names = {
    16: "vorel-security-center-16.png".replace(".png", ".svg"),
    24: "vorel-security-center-24.svg",
    32: "vorel-security-center-32.svg",
    48: "vorel-security-center@1x.svg",
    64: "vorel-security-center-64.svg",
    96: "vorel-security-center@2x.svg",
    128: "vorel-security-center-128.svg",
    256: "vorel-security-center-256.svg",
}

# ---------------------------------------------------------------- title bar glyphs (16 x 16)
TITLEBAR = {
    "min": '<path d="M3.5 8.5 H12.5"/>',
    "max": '<rect x="3.5" y="3.5" width="9" height="9" rx="1.5"/>',
    "revert": '<rect x="3" y="5.5" width="7.5" height="7.5" rx="1.3"/>'
              '<path d="M5.5 3 H11.7 A1.3 1.3 0 0 1 13 4.3 V10.5"/>',
    "close": '<path d="M4 4 L12 12 M12 4 L4 12"/>',
}


def titlebar():
    for name, glyph in TITLEBAR.items():
        write(f"titlebar/{name}.svg", 16, 16, stroke(GLYPH, 1.3, glyph))
        write(f"titlebar/{name}White.svg", 16, 16, stroke(WHITE, 1.3, glyph))
    # The chip's close mark: white, on the chip's translucent blue.
    chip = ('<circle cx="8" cy="8" r="7" fill="#FFFFFF" fill-opacity="0.28"/>'
            + stroke(WHITE, 1.4, '<path d="M5.6 5.6 L10.4 10.4 M10.4 5.6 L5.6 10.4"/>'))
    write("titlebar/window-close-symbolic@1x.svg", 16, 16, chip)
    write("titlebar/window-close-symbolic@2x.svg", 32, 32, chip, (0, 0, 16, 16))


# ---------------------------------------------------------------- sidebar (16 x 16)
SIDEBAR = {
    "keywordscan": '<path d="M9.5 2.5 H4 A1.5 1.5 0 0 0 2.5 4 V12 A1.5 1.5 0 0 0 4 13.5 H6.5"/>'
                   '<path d="M5 5.5 H8 M5 8.2 H6.5"/>'
                   '<circle cx="10" cy="9.2" r="3.2"/><path d="M12.4 11.6 L14 13.2"/>',
    "piiscan": '<path d="M8 1.8 L13.2 3.7 V7.6 C13.2 10.9 11 13.1 8 14.2 C5 13.1 2.8 10.9 2.8 7.6 V3.7 Z"/>'
               '<circle cx="8" cy="6.7" r="1.6"/><path d="M5.3 11 C5.8 9.7 6.8 9 8 9 C9.2 9 10.2 9.7 10.7 11"/>',
}


def sidebar():
    for name, glyph in SIDEBAR.items():
        write(f"siderbar/{name}-symbolic.svg", 16, 16, stroke(GLYPH, 1.3, glyph))
        write(f"siderbar/{name}-pressed-symbolic.svg", 16, 16, stroke(WHITE, 1.3, glyph))


# ---------------------------------------------------------------- arrows
def chevron(points_down, size, color, width):
    s = size / 24.0
    if points_down:
        d = "M7 10 L12 15 L17 10"
    else:
        d = "M7 14 L12 9 L17 14"
    return stroke(color, width / s, f'<path d="{d}"/>'), (0, 0, 24, 24)


def arrows():
    for name, down, size, color, width in [
        ("scan/down-symbolic_14_white@1x", True, 14, WHITE, 1.6),
        ("scan/down-symbolic_14@1x", True, 14, DISABLED, 1.6),
        ("scan/pii/scanitem/up-symbolic", False, 24, GLYPH, 1.8),
        ("scan/pii/scanitem/down-symbolic", True, 24, GLYPH, 1.8),
        ("scan/pii/scanitem/down-symbolic_16@1x", True, 16, GLYPH, 1.4),
    ]:
        body, view = chevron(down, size, color, width)
        write(f"{name}.svg", size, size, body, view)


# ---------------------------------------------------------------- dialog marks
QUESTION = ('<path d="M6.1 6.2 A1.95 1.95 0 1 1 8.9 7.95 C8.3 8.25 8 8.7 8 9.3 V9.6"/>')
INFORMATION = '<path d="M8 7.4 V11.4"/>'


def marks():
    body = (stroke(GLYPH_SOFT, 1.2, '<circle cx="8" cy="8" r="6.4"/>' + QUESTION)
            + f'<circle cx="8" cy="11.6" r="0.85" fill="{GLYPH_SOFT}"/>')
    write("scan/dialog-question-symbolic@1x.svg", 16, 16, body)
    body = (stroke(GLYPH_SOFT, 1.2, '<circle cx="8" cy="8" r="6.4"/>' + INFORMATION)
            + f'<circle cx="8" cy="5.1" r="0.85" fill="{GLYPH_SOFT}"/>')
    write("scan/dialog-information-symbolic@1x.svg", 16, 16, body)
    # Warning: an orange rounded triangle with a white exclamation mark.
    body = f"""
<path d="M10.3 3.6 C11.05 2.3 12.95 2.3 13.7 3.6 L21.6 17.4 C22.35 18.7 21.4 20.3 19.9 20.3 H4.1 C2.6 20.3 1.65 18.7 2.4 17.4 Z" fill="{ORANGE_BRIGHT}"/>
{stroke(WHITE, 2, '<path d="M12 8.3 V13.3"/>')}
<circle cx="12" cy="16.6" r="1.15" fill="{WHITE}"/>
"""
    write("scan/dialog-warning@1x.svg", 24, 24, body)
    # Feature tick: a blue disc with a white check.
    body = (f'<circle cx="12" cy="12" r="10" fill="{BLUE}"/>'
            + stroke(WHITE, 2, '<path d="M7.6 12.3 L10.6 15.2 L16.4 9.2"/>'))
    write("scan/pii/对钩@1x.svg", 24, 24, body)


# ---------------------------------------------------------------- privacy categories (40 x 40)
# Glyphs on a 24-unit grid; "F" marks shapes filled with the tint of the glyph colour.
CATEGORIES = {
    "身份标识": '<rect x="2.5" y="5" width="19" height="14" rx="2.5" class="F"/>'
               '<circle cx="8.5" cy="10.6" r="2"/>'
               '<path d="M5.4 16 C5.9 14.4 7 13.6 8.5 13.6 C10 13.6 11.1 14.4 11.6 16"/>'
               '<path d="M14.5 10.3 H18.5 M14.5 13.7 H17"/>',
    "宗教信仰": '<path d="M12 4.5 C14.6 7.6 14.6 11.8 12 15.6 C9.4 11.8 9.4 7.6 12 4.5 Z" class="F"/>'
               '<path d="M12 15.6 C8.6 15.6 4.9 13.9 3.8 9.4 C7.2 9.4 10.3 11.4 12 15.6 Z"/>'
               '<path d="M12 15.6 C15.4 15.6 19.1 13.9 20.2 9.4 C16.8 9.4 13.7 11.4 12 15.6 Z"/>'
               '<path d="M6.5 19.3 C9.5 20.8 14.5 20.8 17.5 19.3"/>',
    "医疗健康": '<rect x="3" y="7" width="18" height="13" rx="2.5" class="F"/>'
               '<path d="M9 7 V5.6 A1.6 1.6 0 0 1 10.6 4 H13.4 A1.6 1.6 0 0 1 15 5.6 V7"/>'
               '<path d="M12 10.3 V16.7 M8.8 13.5 H15.2"/>',
    "账户信息": '<circle cx="10" cy="8" r="3.6" class="F"/>'
               '<path d="M3.5 19.5 C4 15.9 6.7 14 10 14 C11.2 14 12.3 14.25 13.2 14.7"/>'
               '<circle cx="17.5" cy="14.6" r="2.3"/>'
               '<path d="M17.5 16.9 V21.3 M17.5 19.4 H19.2"/>',
    "行踪轨迹": '<circle cx="6" cy="18" r="2.1" class="F"/>'
               '<path d="M8 16.9 C11.6 15.2 8.2 10.4 12.8 9.2" stroke-dasharray="1.8 2.2"/>'
               '<path d="M17.5 3 A4.2 4.2 0 0 1 21.7 7.2 C21.7 10.3 17.5 13.8 17.5 13.8 '
               'C17.5 13.8 13.3 10.3 13.3 7.2 A4.2 4.2 0 0 1 17.5 3 Z" class="F"/>'
               '<circle cx="17.5" cy="7.2" r="1.4"/>',
    "未成年人信息": '<circle cx="12" cy="13" r="7.5" class="F"/>'
                 '<path d="M12 5.5 C10.6 3.8 12.4 2.4 13.7 3.4"/>'
                 '<path d="M9.4 16 C10.8 17.4 13.2 17.4 14.6 16"/>'
                 '<circle cx="9.3" cy="12.3" r="0.5" class="D"/><circle cx="14.7" cy="12.3" r="0.5" class="D"/>',
    "法规隐私": '<path d="M12 5.2 V19.5 M7.5 20.5 H16.5 M4.5 7.2 H19.5"/>'
               '<circle cx="12" cy="4.2" r="1.1"/>'
               '<path d="M4.5 7.2 L2.3 12.6 M4.5 7.2 L6.7 12.6 M17 7.2"/>'
               '<path d="M2 12.6 H7 A2.5 2.5 0 0 1 2 12.6 Z" class="F"/>'
               '<path d="M19.5 7.2 L17.3 12.6 M19.5 7.2 L21.7 12.6"/>'
               '<path d="M17 12.6 H22 A2.5 2.5 0 0 1 17 12.6 Z" class="F"/>',
    "地理位置": '<path d="M12 2.8 A6.6 6.6 0 0 1 18.6 9.4 C18.6 14.2 12 20 12 20 '
               'C12 20 5.4 14.2 5.4 9.4 A6.6 6.6 0 0 1 12 2.8 Z" class="F"/>'
               '<circle cx="12" cy="9.4" r="2.4"/>'
               '<path d="M8 21.4 H16"/>',
    "社会关系": '<circle cx="12" cy="7.6" r="3" class="F"/>'
               '<path d="M6.6 19 C7 15.8 9.2 13.8 12 13.8 C14.8 13.8 17 15.8 17.4 19"/>'
               '<circle cx="5.2" cy="9.8" r="2.2"/><circle cx="18.8" cy="9.8" r="2.2"/>'
               '<path d="M1.8 17.6 C2 15.4 3.2 14.1 5 13.9 M22.2 17.6 C22 15.4 20.8 14.1 19 13.9"/>',
    "设备信息": '<rect x="2.5" y="4" width="15" height="11" rx="1.8"/>'
               '<path d="M7.2 19 H11.5 M9.3 15 V19"/>'
               '<rect x="14.5" y="9" width="7" height="12" rx="1.5" class="B"/>'
               '<path d="M17.3 18.4 H18.7"/>',
    "健康生理": '<path d="M12 20 C5.2 15.6 3 12.2 3 9 A4.5 4.5 0 0 1 12 7.8 '
               'A4.5 4.5 0 0 1 21 9 C21 12.2 18.8 15.6 12 20 Z" class="F"/>'
               '<path d="M6.2 11.8 H9 L10.5 8.8 L13 14.6 L14.6 11.8 H17.8"/>',
    "职业教育": '<path d="M12 5 L22 9.5 L12 14 L2 9.5 Z" class="F"/>'
               '<path d="M6.5 11.6 V15.8 C6.5 17.5 9 18.9 12 18.9 C15 18.9 17.5 17.5 17.5 15.8 V11.6"/>'
               '<path d="M22 9.5 V15"/>',
    "特殊群体": '<path d="M12 11.6 C9.4 9.8 8 8.3 8 6.7 A2 2 0 0 1 12 6.1 A2 2 0 0 1 16 6.7 '
               'C16 8.3 14.6 9.8 12 11.6 Z" class="F"/>'
               '<path d="M2.8 14.2 V20.8"/>'
               '<path d="M2.8 15 H6 L9.4 13.6 H13.4 A1.3 1.3 0 0 1 13.4 16.2 H10.4"/>'
               '<path d="M13.6 16.1 L18.7 13.7 A1.4 1.4 0 0 1 20.3 15.9 L14.4 20.4 H6.2 L2.8 19.4"/>',
    "金融消费": '<rect x="2" y="4.5" width="16" height="11" rx="2"/>'
               '<path d="M2 8.2 H18 M5 12.4 H8"/>'
               '<circle cx="17" cy="16" r="4.8" class="B"/>'
               '<path d="M15.2 13.6 L17 15.8 L18.8 13.6 M17 15.8 V18.6 M15.4 16.4 H18.6"/>',
}
GROUP_ONE = ["身份标识", "宗教信仰", "医疗健康", "账户信息", "行踪轨迹", "未成年人信息", "法规隐私"]
GROUP_TWO = ["地理位置", "社会关系", "设备信息", "健康生理", "职业教育", "特殊群体", "金融消费"]
CATEGORY_SIZE = 40


def category_icon(name, color, tint):
    glyph = CATEGORIES[name]
    # Tinted fills: "F" light fill, "B" the disc's colour (hides what lies
    # behind), "D" solid dots.
    glyph = (glyph.replace('class="F"', f'fill="{color}" fill-opacity="0.16"')
             .replace('class="B"', f'fill="{tint}"')
             .replace('class="D"', f'fill="{color}"'))
    body = (f'<circle cx="20" cy="20" r="20" fill="{tint}"/>'
            f'<g transform="translate(6.2 6.2) scale(1.15)">'
            + stroke(color, 1.6, glyph) + "</g>")
    write(f"scan/pii/scanitem/qovo-{name}-symbolic@1x.svg", CATEGORY_SIZE, CATEGORY_SIZE, body)


SHIELD_24 = ("M12 2 L20 4.9 V11.2 C20 16.3 16.7 19.9 12 21.7 "
             "C7.3 19.9 4 16.3 4 11.2 V4.9 Z")


def group_icons():
    body = f"""
<defs><linearGradient id="g" x1="0" y1="0" x2="0" y2="1">
  <stop offset="0" stop-color="{BLUE_BRIGHT}"/><stop offset="1" stop-color="{BLUE}"/>
</linearGradient></defs>
<path d="{SHIELD_24}" fill="url(#g)"/>
<rect x="8.6" y="10.6" width="6.8" height="5.4" rx="1.2" fill="{WHITE}"/>
{stroke(WHITE, 1.5, '<path d="M10.2 10.6 V9.3 A1.8 1.8 0 0 1 13.8 9.3 V10.6"/>')}
<circle cx="12" cy="13.3" r="0.9" fill="{BLUE}"/>
"""
    write("scan/pii/scanitem/隐私信息@1x.svg", 24, 24, body)
    body = f"""
<defs><linearGradient id="g" x1="0" y1="0" x2="0" y2="1">
  <stop offset="0" stop-color="{ORANGE_BRIGHT}"/><stop offset="1" stop-color="{ORANGE}"/>
</linearGradient></defs>
<path d="{SHIELD_24}" fill="url(#g)"/>
{stroke(WHITE, 1.7, '<path d="M9.7 8.9 A2.35 2.35 0 1 1 13.1 11 C12.4 11.35 12 11.9 12 12.6 V13"/>')}
<circle cx="12" cy="16" r="1.05" fill="{WHITE}"/>
"""
    write("scan/pii/scanitem/疑似隐私信息@1x.svg", 24, 24, body)
    for name in GROUP_ONE:
        category_icon(name, BLUE, BLUE_TINT)
    for name in GROUP_TWO:
        category_icon(name, ORANGE, ORANGE_TINT)


# ---------------------------------------------------------------- module pictures
def sparkle(x, y, r, color, opacity=1.0):
    k = r * 0.28
    return (f'<path d="M{x} {y - r} Q{x + k} {y - k} {x + r} {y} Q{x + k} {y + k} {x} {y + r} '
            f'Q{x - k} {y + k} {x - r} {y} Q{x - k} {y - k} {x} {y - r} Z" fill="{color}" '
            f'opacity="{opacity}"/>')


def backdrop(detail):
    out = f"""
<defs>
  <radialGradient id="halo" cx="0.5" cy="0.45" r="0.55">
    <stop offset="0" stop-color="#F1F6FF"/>
    <stop offset="1" stop-color="#E3ECFD"/>
  </radialGradient>
  <linearGradient id="blue" x1="0" y1="0" x2="1" y2="1">
    <stop offset="0" stop-color="{BLUE_BRIGHT}"/>
    <stop offset="1" stop-color="{BLUE_DARK}"/>
  </linearGradient>
  <linearGradient id="card" x1="0" y1="0" x2="0" y2="1">
    <stop offset="0" stop-color="#FFFFFF"/>
    <stop offset="1" stop-color="#F5F8FE"/>
  </linearGradient>
</defs>
<ellipse cx="165" cy="292" rx="112" ry="13" fill="#DCE6FA" opacity="0.7"/>
<circle cx="165" cy="160" r="128" fill="url(#halo)"/>
"""
    if detail:
        out += (f'<circle cx="52" cy="86" r="7" fill="{BLUE_SOFT}"/>'
                f'<circle cx="286" cy="214" r="5" fill="{BLUE_MID}" opacity="0.7"/>'
                f'<circle cx="270" cy="70" r="3.5" fill="{BLUE_MID}"/>'
                f'<circle cx="64" cy="236" r="4" fill="{ORANGE_BRIGHT}" opacity="0.55"/>')
    return out


def keyword_picture(detail):
    bars = ""
    # Text lines of the document; some carry a found keyword in blue.
    rows = [(96, 100, None), (118, 82, (40, 30)), (140, 96, None), (162, 70, None),
            (184, 90, (8, 34)), (206, 60, None), (228, 84, None)]
    for y, w, hit in rows:
        bars += f'<rect x="104" y="{y}" width="{w}" height="9" rx="4.5" fill="{LINE}"/>'
        if hit:
            hx, hw = hit
            bars += (f'<rect x="{104 + hx - 4}" y="{y - 4}" width="{hw + 8}" height="17" rx="5" '
                     f'fill="{BLUE_TINT}"/>'
                     f'<rect x="{104 + hx}" y="{y}" width="{hw}" height="9" rx="4.5" fill="{BLUE}"/>')
    body = backdrop(detail)
    body += f"""
<rect x="92" y="62" width="150" height="196" rx="16" fill="{BLUE_SOFT}" opacity="0.8" transform="translate(8 9)"/>
<rect x="84" y="56" width="150" height="196" rx="16" fill="url(#card)" stroke="#E2E8F4" stroke-width="1.5"/>
<rect x="104" y="74" width="44" height="10" rx="5" fill="{BLUE}" opacity="0.9"/>
<circle cx="212" cy="79" r="5" fill="{BLUE_SOFT}"/>
{bars}
"""
    if detail:
        body += f"""
<g transform="translate(40 134)">
  <rect x="0" y="0" width="74" height="30" rx="15" fill="url(#blue)"/>
  <rect x="14" y="11" width="30" height="8" rx="4" fill="{WHITE}"/>
  {stroke(WHITE, 2.4, '<path d="M53 10 L61 18 M61 10 L53 18"/>', ' opacity="0.85"')}
</g>
"""
    # The lens: magnified keyword inside, clipped to the glass.
    body += f"""
<defs><clipPath id="lens"><circle cx="224" cy="196" r="44"/></clipPath></defs>
<circle cx="224" cy="196" r="44" fill="#FFFFFF"/>
<g clip-path="url(#lens)">
  <rect x="176" y="170" width="110" height="14" rx="7" fill="{LINE}"/>
  <rect x="190" y="196" width="60" height="22" rx="7" fill="{BLUE_TINT}"/>
  <rect x="197" y="200" width="46" height="14" rx="7" fill="{BLUE}"/>
  <rect x="176" y="228" width="80" height="14" rx="7" fill="{LINE}"/>
</g>
<path d="M194 168 A40 40 0 0 1 226 156" fill="none" stroke="#FFFFFF" stroke-width="6" stroke-linecap="round" opacity="0.9"/>
<circle cx="224" cy="196" r="44" fill="none" stroke="url(#blue)" stroke-width="12"/>
<path d="M257 229 L287 259" stroke="{BLUE_DARK}" stroke-width="20" stroke-linecap="round"/>
<path d="M263 235 L285 257" stroke="{BLUE}" stroke-width="9" stroke-linecap="round" opacity="0.55"/>
"""
    if detail:
        body += sparkle(268, 108, 13, ORANGE_BRIGHT) + sparkle(290, 138, 7, BLUE_MID)
        body += sparkle(60, 190, 8, BLUE_MID)
    return body


def pii_picture(detail):
    body = backdrop(detail)
    cx, cy = 165, 160
    body += f"""
<defs>
  <linearGradient id="sweep" x1="0" y1="0" x2="1" y2="0">
    <stop offset="0" stop-color="{BLUE}" stop-opacity="0"/>
    <stop offset="1" stop-color="{BLUE}" stop-opacity="0.28"/>
  </linearGradient>
  <linearGradient id="shieldfill" x1="0" y1="0" x2="1" y2="1">
    <stop offset="0" stop-color="{BLUE_BRIGHT}"/>
    <stop offset="1" stop-color="{BLUE_DARK}"/>
  </linearGradient>
</defs>
<circle cx="{cx}" cy="{cy}" r="112" fill="none" stroke="{BLUE_SOFT}" stroke-width="2"/>
<circle cx="{cx}" cy="{cy}" r="84" fill="none" stroke="{BLUE_SOFT}" stroke-width="2" stroke-dasharray="6 7"/>
<circle cx="{cx}" cy="{cy}" r="56" fill="#F7FAFF" stroke="{BLUE_SOFT}" stroke-width="2"/>
<path d="M{cx} {cy} L{cx + 112} {cy} A112 112 0 0 0 {cx + 79.2} {cy - 79.2} Z" fill="url(#sweep)"/>
<path d="M{cx} {cy} L{cx + 112} {cy}" stroke="{BLUE}" stroke-width="2.5" stroke-linecap="round" opacity="0.6"/>
"""
    # Found items on the rings: an ID card, a location pin, a phone.
    if detail:
        body += f"""
<g transform="translate(232 74)">
  <circle cx="0" cy="0" r="19" fill="{WHITE}" stroke="{BLUE_SOFT}" stroke-width="2"/>
  <rect x="-10" y="-7" width="20" height="14" rx="2.5" fill="none" stroke="{BLUE}" stroke-width="2"/>
  <circle cx="-4" cy="-1.5" r="2.2" fill="{BLUE}"/>
  <path d="M2 -2 H6.5 M2 2.5 H5" stroke="{BLUE}" stroke-width="2" stroke-linecap="round"/>
</g>
<g transform="translate(74 214)">
  <circle cx="0" cy="0" r="19" fill="{WHITE}" stroke="{BLUE_SOFT}" stroke-width="2"/>
  <path d="M0 -10 A6.8 6.8 0 0 1 6.8 -3.2 C6.8 2.3 0 9 0 9 C0 9 -6.8 2.3 -6.8 -3.2 A6.8 6.8 0 0 1 0 -10 Z" fill="{ORANGE_BRIGHT}"/>
  <circle cx="0" cy="-3.2" r="2.4" fill="{WHITE}"/>
</g>
<g transform="translate(262 196)">
  <circle cx="0" cy="0" r="16" fill="{WHITE}" stroke="{BLUE_SOFT}" stroke-width="2"/>
  <rect x="-5.5" y="-9" width="11" height="18" rx="2.5" fill="none" stroke="{BLUE}" stroke-width="2"/>
  <path d="M-1.5 5 H1.5" stroke="{BLUE}" stroke-width="2" stroke-linecap="round"/>
</g>
<circle cx="{cx - 84 * 0.5}" cy="{cy - 84 * 0.866}" r="5" fill="{BLUE_MID}"/>
<circle cx="{cx + 56}" cy="{cy + 2}" r="4" fill="{BLUE}"/>
"""
    # The shield with a person and a lock.
    body += f"""
<path d="M165 92 L213 110 V150 C213 182 193 205 165 216 C137 205 117 182 117 150 V110 Z" fill="{BLUE_SOFT}" transform="translate(6 8)" opacity="0.9"/>
<path d="M165 92 L213 110 V150 C213 182 193 205 165 216 C137 205 117 182 117 150 V110 Z" fill="url(#shieldfill)"/>
<path d="M165 92 L213 110 V150 C213 160 211 169 207.5 177 C180 160 150 130 131 104 Z" fill="#FFFFFF" opacity="0.10"/>
<circle cx="165" cy="136" r="15" fill="{WHITE}"/>
<path d="M139 184 C141 166 151 156 165 156 C179 156 189 166 191 184 Z" fill="{WHITE}"/>
<g transform="translate(186 170)">
  <rect x="0" y="6" width="26" height="21" rx="5" fill="{ORANGE_BRIGHT}" stroke="{WHITE}" stroke-width="3"/>
  <path d="M6.5 7 V3.5 A6.5 6.5 0 0 1 19.5 3.5 V7" fill="none" stroke="{ORANGE_BRIGHT}" stroke-width="3.4"/>
  <circle cx="13" cy="16.5" r="2.6" fill="{WHITE}"/>
</g>
"""
    if detail:
        body += sparkle(92, 92, 11, ORANGE_BRIGHT) + sparkle(70, 128, 6, BLUE_MID)
        body += sparkle(286, 262, 8, BLUE_MID)
    return body


def pictures():
    write("scan/keyword/keywordscan@1x.svg", 330, 330, keyword_picture(True))
    write("scan/keyword/keywordscan_128@0.75x.svg", 96, 96, keyword_picture(False), (30, 24, 276, 276))
    write("scan/pii/piiscan@1x.svg", 330, 330, pii_picture(True))
    write("scan/pii/piiscan_128@0.75x.svg", 96, 96, pii_picture(False), (40, 35, 250, 250))


def empty_picture():
    body = f"""
<defs>
  <linearGradient id="tray" x1="0" y1="0" x2="0" y2="1">
    <stop offset="0" stop-color="#F2F5FA"/>
    <stop offset="1" stop-color="#E3E9F2"/>
  </linearGradient>
</defs>
<ellipse cx="64" cy="108" rx="46" ry="7" fill="#EEF1F6"/>
<circle cx="64" cy="58" r="46" fill="#F6F8FB"/>
<path d="M22 70 L36 44 H92 L106 70 Z" fill="#EDF1F7" stroke="#CBD3DF" stroke-width="2" stroke-linejoin="round"/>
<rect x="44" y="30" width="40" height="32" rx="4" fill="#FFFFFF" stroke="#CBD3DF" stroke-width="2"/>
<path d="M52 40 H76 M52 48 H70" stroke="#DCE2EB" stroke-width="3" stroke-linecap="round"/>
<path d="M22 70 H48 C48 76 55 80 64 80 C73 80 80 76 80 70 H106 V96 A6 6 0 0 1 100 102 H28 A6 6 0 0 1 22 96 Z" fill="url(#tray)" stroke="#CBD3DF" stroke-width="2" stroke-linejoin="round"/>
<circle cx="98" cy="30" r="3" fill="#DCE3EE"/>
<circle cx="26" cy="40" r="2.2" fill="#DCE3EE"/>
{sparkle(106, 50, 5, "#D3DBE7")}
"""
    write("scan/无数据-浅色模式@1x.svg", 128, 128, body)


def main():
    for size in logo.names:
        logo(size)
    titlebar()
    sidebar()
    arrows()
    marks()
    group_icons()
    pictures()
    empty_picture()


if __name__ == "__main__":
    main()
