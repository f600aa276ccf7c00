#!/usr/bin/env python3
"""Builds one set of resources (a language library, or the program's own)
for both systems from the same sources, so the two can never drift:

  - the page layouts, one neutral file per template (resources/layouts/,
    resources/program/InputString.json): every control with its name,
    number, kind, place and size in dialog units, styles and caption key;
  - the captions of one language, keyed by template number and caption key;
  - the string table of one language, an object of id -> text.

Outputs, as asked for:
  --ui-dir DIR --qrc FILE  toolkit designer files (one per template, placed
                           in dialog units that the page loader maps from the
                           page font) and the bundle list for rcc, which also
                           takes the string table as it stands;
  --rc FILE                a resource script for windres: STRINGTABLE and
                           DIALOGEX templates in the language's tag, plus an
                           icon (--icon ID=PNG, made into an .ico beside the
                           script) and a version block (--version) if asked;
  --control-ids FILE       a C++ header with the number of every template
                           (IDD_) and control (IDC_) by its name, and a table
                           of them for looking a control up by name; it
                           needs only --layouts, of every template.

The same inputs always give the same bytes.
"""

import argparse
import json
import os
import struct
import sys
import zlib
from xml.sax.saxutils import escape

# Style bits by the names the layouts use.
STYLES = {
    "WS_POPUP": 0x80000000, "WS_CHILD": 0x40000000, "WS_VISIBLE": 0x10000000,
    "WS_DISABLED": 0x08000000, "WS_CAPTION": 0x00C00000, "WS_BORDER": 0x00800000,
    "WS_VSCROLL": 0x00200000, "WS_HSCROLL": 0x00100000, "WS_GROUP": 0x00020000,
    "WS_TABSTOP": 0x00010000, "WS_SYSMENU": 0x00080000, "WS_MINIMIZEBOX": 0x00020000,
    "DS_SYSMODAL": 0x02, "DS_3DLOOK": 0x04, "DS_MODALFRAME": 0x80, "DS_SHELLFONT": 0x48,
    "BS_PUSHBUTTON": 0x0, "BS_DEFPUSHBUTTON": 0x1, "BS_AUTOCHECKBOX": 0x3, "BS_GROUPBOX": 0x7,
    "SS_LEFT": 0x0, "SS_CENTER": 0x1, "SS_RIGHT": 0x2, "SS_LEFTNOWORDWRAP": 0xC,
    "SS_BITMAP": 0xE, "SS_NOPREFIX": 0x80, "SS_CENTERIMAGE": 0x200, "SS_SUNKEN": 0x1000,
    "ES_AUTOHSCROLL": 0x80,
    "CBS_DROPDOWN": 0x2, "CBS_DROPDOWNLIST": 0x3,
    "LBS_NOTIFY": 0x1, "LBS_SORT": 0x2, "LBS_NOINTEGRALHEIGHT": 0x100,
    "LVS_REPORT": 0x1, "LVS_SINGLESEL": 0x4, "LVS_SHOWSELALWAYS": 0x8,
    "ACS_CENTER": 0x1, "ACS_TRANSPARENT": 0x2, "ACS_AUTOPLAY": 0x4,
}
EXSTYLES = {"WS_EX_TOPMOST": 0x8, "WS_EX_TOOLWINDOW": 0x80}

# Per kind: the system's window class, the style every such control has,
# and the toolkit's class.
KINDS = {
    "group": ("BUTTON", "BS_GROUPBOX", "QGroupBox"),
    "button": ("BUTTON", None, "QPushButton"),
    "checkbox": ("BUTTON", None, "QCheckBox"),
    "label": ("STATIC", None, "QLabel"),
    "picture": ("STATIC", None, "QLabel"),
    "edit": ("EDIT", None, "QLineEdit"),
    "combo": ("COMBOBOX", None, "QComboBox"),
    "listbox": ("LISTBOX", None, "QListWidget"),
    "listview": ("SysListView32", None, "QTreeWidget"),
    "animation": ("SysAnimate32", None, "CAnimateCtrl"),
}

# Primary and sublanguage of each language tag used here.
LANGUAGES = {1033: (0x09, 0x01), 1040: (0x10, 0x01)}


class LayoutError(Exception):
    pass


def load_json(path):
    with open(path, encoding="utf-8") as f:
        return json.load(f)


def style_bits(names, table, where):
    bits = 0
    for name in names:
        if name not in table:
            raise LayoutError(f"{where}: unknown style {name}")
        bits |= table[name]
    return bits


def check_layout(layout, path):
    for key in ("id", "name", "size", "styles", "controls"):
        if key not in layout:
            raise LayoutError(f"{path}: no '{key}'")
    names, ids = set(), set()
    for control in layout["controls"]:
        where = f"{path}: {control.get('name', '?')}"
        if control.get("kind") not in KINDS:
            raise LayoutError(f"{where}: unknown kind {control.get('kind')}")
        if control["name"] in names or ("id" in control and control["id"] in ids):
            raise LayoutError(f"{where}: name or number used twice")
        names.add(control["name"])
        if "id" in control:
            ids.add(control["id"])
        x, y, w, h = control["rect"]
        if x < 0 or y < 0 or x + w > layout["size"][0] or y + h > layout["size"][1]:
            raise LayoutError(f"{where}: outside the template")
        style_bits(control.get("styles", []), STYLES, where)


def captions_of(layout, captions, path):
    """The texts of the template's captions; every key must be there, and
    the language must not carry keys the template does not have."""
    table = captions.get(str(layout["id"]), {})
    keys = [layout.get("caption")] + [c.get("caption") for c in layout["controls"]]
    keys = [k for k in keys if k]
    missing = [k for k in keys if k not in table]
    unused = sorted(set(table) - set(keys))
    if missing or unused:
        raise LayoutError(f"{path}: captions missing {missing}, unused {unused}")
    return table


# ---- toolkit designer files -------------------------------------------------

def ui_string(text):
    return f"<string>{escape(text)}</string>" if text else "<string/>"


def ui_property(name, value, dynamic=False):
    stdset = ' stdset="0"' if dynamic else ""
    return f'<property name="{name}"{stdset}>{value}</property>'


def ui_rect(x, y, w, h):
    return f"<rect><x>{x}</x><y>{y}</y><width>{w}</width><height>{h}</height></rect>"


def ui_control(control, text, buddy):
    _, _, qt_class = KINDS[control["kind"]]
    styles = set(control.get("styles", []))
    props = []
    if "id" in control:
        props.append(ui_property("id", f"<number>{control['id']}</number>", dynamic=True))
    props.append(ui_property("geometry", ui_rect(*control["rect"])))
    kind = control["kind"]
    if kind == "group":
        props.append(ui_property("title", ui_string(text)))
    elif kind in ("button", "checkbox"):
        props.append(ui_property("text", ui_string(text)))
        if "BS_DEFPUSHBUTTON" in styles:
            props.append(ui_property("default", "<bool>true</bool>"))
        if kind == "checkbox":
            props.append(ui_property("checked", "<bool>false</bool>"))
    elif kind in ("label", "picture"):
        props.append(ui_property("text", ui_string(text)))
        props.append(ui_property("textFormat", "<enum>Qt::PlainText</enum>"))
        if kind == "picture" or "SS_CENTER" in styles:
            horizontal = "Qt::AlignHCenter"
        elif "SS_RIGHT" in styles:
            horizontal = "Qt::AlignRight"
        else:
            horizontal = "Qt::AlignLeft"
        vertical = "Qt::AlignVCenter" if "SS_CENTERIMAGE" in styles else "Qt::AlignTop"
        props.append(ui_property("alignment", f"<set>{horizontal}|{vertical}</set>"))
        # The system wraps static text unless told not to.
        if kind == "label" and "SS_LEFTNOWORDWRAP" not in styles:
            props.append(ui_property("wordWrap", "<bool>true</bool>"))
        if "SS_SUNKEN" in styles:
            props.append(ui_property("frameShape", "<enum>QFrame::StyledPanel</enum>"))
            props.append(ui_property("frameShadow", "<enum>QFrame::Sunken</enum>"))
        if buddy:
            props.append(ui_property("buddy", f"<cstring>{buddy}</cstring>"))
    elif kind == "combo":
        editable = "true" if "CBS_DROPDOWN" in styles else "false"
        props.append(ui_property("editable", f"<bool>{editable}</bool>"))
    elif kind == "listview":
        props.append(ui_property("rootIsDecorated", "<bool>false</bool>"))
        props.append(ui_property("uniformRowHeights", "<bool>true</bool>"))
        mode = "SingleSelection" if "LVS_SINGLESEL" in styles else "ExtendedSelection"
        props.append(ui_property("selectionMode", f"<enum>QAbstractItemView::{mode}</enum>"))
    lines = [f'  <widget class="{qt_class}" name="{control["name"]}">']
    lines += [f"   {p}" for p in props]
    if kind == "listview":
        lines.append("   <column>" + ui_property("text", "<string/>") + "</column>")
    lines.append("  </widget>")
    return lines


def make_ui(layout, table, origin):
    popup = "WS_POPUP" in layout["styles"]
    root = "QDialog" if popup else "QWidget"
    controls = layout["controls"]
    lines = [
        '<?xml version="1.0" encoding="UTF-8"?>',
        f"<!-- Generated from {origin} by MakeResources.py: edit the sources, not this file. -->",
        '<ui version="4.0">',
        f" <class>{layout['name']}</class>",
        f' <widget class="{root}" name="{layout["name"]}">',
        "  " + ui_property("id", f"<number>{layout['id']}</number>", dynamic=True),
        # Places and sizes below are dialog units, mapped by the page loader.
        "  " + ui_property("dialogUnits", "<bool>true</bool>", dynamic=True),
        "  " + ui_property("geometry", ui_rect(0, 0, *layout["size"])),
        "  " + ui_property("windowTitle", ui_string(table.get(layout.get("caption"), ""))),
    ]
    if popup:
        lines.append("  " + ui_property("modal", "<bool>true</bool>"))
    for index, control in enumerate(controls):
        text = table.get(control.get("caption"), "")
        buddy = None
        # A mnemonic in a static text moves the focus to the next control.
        styles = control.get("styles", [])
        if control["kind"] == "label" and "&" in text and "SS_NOPREFIX" not in styles:
            if index + 1 < len(controls):
                buddy = controls[index + 1]["name"]
        lines += ui_control(control, text, buddy)
    lines.append(" </widget>")
    if any(c["kind"] == "animation" for c in controls):
        # The animation control's class and header names are part of the
        # bundle format that libraries already made carry; the window program
        # maps the class name to its own widget (gui/qt/QtTemplateLoader.cpp).
        lines += [" <customwidgets>", "  <customwidget>", "   <class>CAnimateCtrl</class>",
                  "   <extends>QWidget</extends>", "   <header>shell/AnimateCtrl.h</header>",
                  "  </customwidget>", " </customwidgets>"]
    lines += [" <resources/>", " <connections/>", "</ui>", ""]
    return "\n".join(lines)


def make_qrc(strings_path, ui_files):
    lines = ["<!DOCTYPE RCC>", '<RCC version="1.0">', ' <qresource prefix="/">',
             f'  <file alias="STRING/table.json">{escape(os.path.abspath(strings_path))}</file>']
    for template_id, path in ui_files:
        lines.append(f'  <file alias="DIALOG/{template_id}">{escape(os.path.abspath(path))}</file>')
    lines += [" </qresource>", "</RCC>", ""]
    return "\n".join(lines)


# ---- resource script ----------------------------------------------------------

def rc_string(text):
    """A wide string literal that windres reads back exactly: every
    character outside printable ASCII as a four-digit escape (surrogate
    pairs for characters beyond the first plane)."""
    out = []
    for unit in struct.unpack(f"<{len(text.encode('utf-16-le')) // 2}H", text.encode("utf-16-le")):
        ch = chr(unit)
        if ch == '"':
            out.append('""')
        elif ch == "\\":
            out.append("\\\\")
        elif 0x20 <= unit < 0x7F:
            out.append(ch)
        else:
            out.append(f"\\x{unit:04x}")
    return 'L"' + "".join(out) + '"'


def style_text(bits, names):
    return f"0x{bits:08X}" + (f"  /* {' | '.join(names)} */" if names else "")


def rc_dialog(layout, table):
    styles = layout["styles"]
    lines = [f"{layout['id']} DIALOGEX 0, 0, {layout['size'][0]}, {layout['size'][1]}",
             "STYLE " + style_text(style_bits(styles, STYLES, layout["name"]), styles)]
    exstyles = layout.get("exstyles", [])
    if exstyles:
        lines.append("EXSTYLE " + style_text(style_bits(exstyles, EXSTYLES, layout["name"]), exstyles))
    lines.append("CAPTION " + rc_string(table.get(layout.get("caption"), "")))
    lines.append('FONT 8, "MS Shell Dlg", 400, 0, 1')
    lines.append("BEGIN")
    for control in layout["controls"]:
        win_class, base, _ = KINDS[control["kind"]]
        names = ["WS_CHILD", "WS_VISIBLE"] + ([base] if base else []) + control.get("styles", [])
        bits = style_bits(names, STYLES, control["name"])
        x, y, w, h = control["rect"]
        text = rc_string(table.get(control.get("caption"), ""))
        lines.append(f'  CONTROL {text}, {control.get("id", -1)}, "{win_class}", 0x{bits:08X}, '
                     f'{x}, {y}, {w}, {h}  /* {control["name"]}: {" | ".join(names)} */')
    lines.append("END")
    return lines


def rc_version(version, language):
    numbers = [int(n) for n in version.split(".")]
    if len(numbers) != 4:
        raise LayoutError(f"version {version}: four numbers wanted")
    commas = ",".join(str(n) for n in numbers)
    return [
        "1 VERSIONINFO",
        f"FILEVERSION {commas}",
        f"PRODUCTVERSION {commas}",
        "FILEFLAGSMASK 0x3F",
        "FILEFLAGS 0x0",
        "FILEOS 0x40004",  # VOS_NT_WINDOWS32
        "FILETYPE 0x1",  # VFT_APP
        "FILESUBTYPE 0x0",
        "BEGIN",
        '  BLOCK "StringFileInfo"',
        "  BEGIN",
        f'    BLOCK "{language:04X}04B0"',
        "    BEGIN",
        '      VALUE "CompanyName", "Corvessan"',
        '      VALUE "FileDescription", "Vantrel 92"',
        f'      VALUE "FileVersion", "{version}"',
        '      VALUE "ProductName", "Vantrel 92"',
        f'      VALUE "ProductVersion", "{version}"',
        "    END",
        "  END",
        '  BLOCK "VarFileInfo"',
        "  BEGIN",
        f'    VALUE "Translation", 0x{language:04X}, 1200',
        "  END",
        "END",
    ]


def make_rc(language, strings, layouts, icon, version, origin):
    if language not in LANGUAGES:
        raise LayoutError(f"language {language}: unknown")
    primary, sub = LANGUAGES[language]
    lines = [f"/* Generated from {origin} by MakeResources.py: edit the sources, not this file. */",
             f"LANGUAGE 0x{primary:02X}, 0x{sub:02X}", "", "STRINGTABLE", "BEGIN"]
    for string_id in sorted(strings, key=int):
        lines.append(f"  {int(string_id)}, {rc_string(strings[string_id])}")
    lines += ["END", ""]
    for layout, table in layouts:
        lines += rc_dialog(layout, table) + [""]
    if icon:
        lines += [f'{icon[0]} ICON "{icon[1]}"', ""]
    if version:
        lines += rc_version(version, language) + [""]
    return "\n".join(lines)


# ---- control numbers --------------------------------------------------------------

def make_control_ids(layouts, origin):
    """The header the program's code takes its template and control numbers
    from. A name with one number wherever it is used is a plain constant;
    one that two templates give different numbers is written only inside
    a namespace per template (<Stem>Controls::IDC_...), so that no code can
    take the wrong one. The system's own button ids (IDOK, IDCANCEL) are
    the system headers' and are left out."""
    numbers = {}
    for layout, _ in layouts:
        for control in layout["controls"]:
            if control["name"].startswith("IDC_") and "id" in control:
                numbers.setdefault(control["name"], set()).add(control["id"])
    templates = {}
    for layout, stem in layouts:
        if not layout["name"].startswith("IDD_"):
            raise LayoutError(f"{stem}: template name {layout['name']} is not an IDD_ name")
        if templates.setdefault(layout["name"], layout["id"]) != layout["id"]:
            raise LayoutError(f"{stem}: {layout['name']} has two numbers")
    lines = ["#pragma once", "",
             f"// Generated from {origin} by MakeResources.py: edit the layouts, not this file.",
             "// The numbers of the templates and of their controls, which both systems'",
             "// language libraries are made with.", ""]
    rows, written = [], set()
    for layout, stem in layouts:
        lines.append(f"inline constexpr int {layout['name']} = {layout['id']};")
        scoped = []
        for control in layout["controls"]:
            name = control["name"]
            if name not in numbers:
                continue
            if len(numbers[name]) > 1:
                scoped.append(f"inline constexpr int {name} = {control['id']};")
                rows.append((layout["name"], name, f"{stem}Controls::{name}"))
                continue
            if name not in written:
                lines.append(f"inline constexpr int {name} = {control['id']};")
                written.add(name)
            rows.append((layout["name"], name, name))
        if scoped:
            lines += [f"namespace {stem}Controls {{"] + scoped + [f"}} // namespace {stem}Controls"]
        lines.append("")
    lines += ["// Every numbered control by template and name, for those that look one up",
              "// by its name (the test build's scripts, the tests).",
              "struct TemplateControl {",
              "    int tmpl;",
              "    const char* name;",
              "    int id;",
              "};",
              "inline constexpr TemplateControl TEMPLATE_CONTROLS[] = {"]
    lines += [f'    {{{tmpl}, "{name}", {value}}},' for tmpl, name, value in rows]
    lines += ["};", ""]
    return "\n".join(lines)


# ---- icon -------------------------------------------------------------------------

def read_png_rgba(path):
    """Pixels of a non-interlaced 8-bit RGB or RGBA picture, as rows of RGBA."""
    with open(path, "rb") as f:
        data = f.read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise LayoutError(f"{path}: not a PNG picture")
    at, idat, header = 8, b"", None
    while at + 8 <= len(data):
        length, kind = struct.unpack(">I4s", data[at:at + 8])
        body = data[at + 8:at + 8 + length]
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat += body
        at += 12 + length
    if header is None:
        raise LayoutError(f"{path}: no header")
    width, height, depth, colour, _, _, interlace = header
    if depth != 8 or colour not in (2, 6) or interlace:
        raise LayoutError(f"{path}: only 8-bit RGB or RGBA, not interlaced")
    channels = 4 if colour == 6 else 3
    stride = width * channels
    raw = zlib.decompress(idat)
    rows, previous = [], bytearray(stride)
    for y in range(height):
        kind = raw[y * (stride + 1)]
        line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            left = line[i - channels] if i >= channels else 0
            up = previous[i]
            corner = previous[i - channels] if i >= channels else 0
            if kind == 1:
                line[i] = (line[i] + left) & 0xFF
            elif kind == 2:
                line[i] = (line[i] + up) & 0xFF
            elif kind == 3:
                line[i] = (line[i] + (left + up) // 2) & 0xFF
            elif kind == 4:
                p = left + up - corner
                pa, pb, pc = abs(p - left), abs(p - up), abs(p - corner)
                predictor = left if pa <= pb and pa <= pc else (up if pb <= pc else corner)
                line[i] = (line[i] + predictor) & 0xFF
        previous = line
        if channels == 3:
            line = bytearray(b"".join(bytes(line[i:i + 3]) + b"\xff" for i in range(0, stride, 3)))
        rows.append(bytes(line))
    return width, height, rows


def make_ico(png_path):
    """An icon file with one 32-bit image (colour with alpha, and an empty
    mask), which every version of the system can show."""
    width, height, rows = read_png_rgba(png_path)
    if width > 256 or height > 256:
        raise LayoutError(f"{png_path}: at most 256 x 256 pixels")
    pixels = b"".join(
        b"".join(bytes((row[i + 2], row[i + 1], row[i], row[i + 3])) for i in range(0, len(row), 4))
        for row in reversed(rows))
    mask_stride = ((width + 31) // 32) * 4
    mask = bytes(mask_stride * height)
    info = struct.pack("<IiiHHIIiiII", 40, width, height * 2, 1, 32, 0, len(pixels) + len(mask), 0, 0, 0, 0)
    image = info + pixels + mask
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", width % 256, height % 256, 0, 0, 1, 32, len(image), 6 + 16)
    return directory + entry + image


# ---- command line -------------------------------------------------------------------

def write(path, content):
    data = content.encode("utf-8") if isinstance(content, str) else content
    os.makedirs(os.path.dirname(os.path.abspath(path)), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--language", type=int, help="language tag: 1033 or 1040")
    parser.add_argument("--strings", help="string table, id -> text")
    parser.add_argument("--captions", help="captions, template id -> key -> text")
    parser.add_argument("--layouts", nargs="+", required=True, help="template layouts")
    parser.add_argument("--ui-dir", help="folder for the designer files")
    parser.add_argument("--qrc", help="bundle list for rcc (needs --ui-dir)")
    parser.add_argument("--rc", help="resource script for windres")
    parser.add_argument("--icon", help="ID=PNG: an icon for the resource script")
    parser.add_argument("--version", help="version block for the resource script, e.g. 1.2.0.0")
    parser.add_argument("--control-ids", help="C++ header of the template and control numbers")
    args = parser.parse_args(argv)
    if (args.ui_dir or args.rc) and None in (args.language, args.strings, args.captions):
        parser.error("--ui-dir and --rc need --language, --strings and --captions")
    try:
        if args.control_ids:
            checked = []
            for path in args.layouts:
                layout = load_json(path)
                check_layout(layout, path)
                checked.append((layout, os.path.splitext(os.path.basename(path))[0]))
            origin = ", ".join(os.path.basename(p) for p in args.layouts)
            write(args.control_ids, make_control_ids(checked, origin))
        if not (args.ui_dir or args.rc):
            return 0
        strings = load_json(args.strings)
        for key, text in strings.items():
            if not key.isdigit() or int(key) > 0xFFFF or not isinstance(text, str):
                raise LayoutError(f"{args.strings}: bad entry {key!r}")
        captions = load_json(args.captions)
        layouts = []
        for path in args.layouts:
            layout = load_json(path)
            check_layout(layout, path)
            layouts.append((layout, captions_of(layout, captions, path)))
        known = {str(layout["id"]) for layout, _ in layouts}
        if set(captions) - known:
            raise LayoutError(f"{args.captions}: captions of unknown templates {sorted(set(captions) - known)}")
        origin = ", ".join(os.path.basename(p) for p in [args.strings, args.captions] + args.layouts)
        if args.ui_dir:
            ui_files = []
            for layout, table in layouts:
                path = os.path.join(args.ui_dir, f"{layout['id']}.ui")
                write(path, make_ui(layout, table, origin))
                ui_files.append((layout["id"], path))
            if args.qrc:
                write(args.qrc, make_qrc(args.strings, ui_files))
        if args.rc:
            icon = None
            if args.icon:
                icon_id, png = args.icon.split("=", 1)
                ico = os.path.splitext(args.rc)[0] + ".ico"
                write(ico, make_ico(png))
                icon = (int(icon_id), os.path.abspath(ico).replace("\\", "/"))
            write(args.rc, make_rc(args.language, strings, layouts, icon, args.version, origin))
    except (LayoutError, OSError, ValueError, KeyError) as error:
        print(f"MakeResources.py: {error}", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
