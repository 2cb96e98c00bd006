#!/usr/bin/env python3
"""Reads the resources back from the built program and fails unless the
manifest, the version block, the icon and the main dialog are exactly as the
program ships them. Usage: check-resources.py PROGRAM.exe VERSION (a.b.c.d,
the project's version, which the version block must carry)."""
import sys
import xml.etree.ElementTree as ElementTree

sys.dont_write_bytecode = True  # no cache files in the source tree
import pe_resources as pe  # noqa: E402

PORTUGUESE_BRAZIL, ENGLISH_US, NEUTRAL = 0x0416, 0x0409, 0
BUTTON, STATIC, LISTBOX = 0x80, 0x82, 0x83

# The operator never sees these two, so their texts are free; they must exist.
FREE_STRINGS = ("CompanyName", "LegalCopyright")

STRINGS = {
    "Comments": "2 opções: Instala e registra a biblioteca Quorvalis.DLL e Quorvalis.TBL."
                "Desinstala a biblioteca.",
    "FileDescription": "Instalador 32 bits <X P> Quorvalis/C",
    "InternalName": "REGQuorvalis",
    "LegalTrademarks": "",
    "OriginalFilename": "REGQuorvalis.EXE",
    "PrivateBuild": "",
    "ProductName": "REGQuorvalis 32 bits <XP>",
    "SpecialBuild": "",
}

DIALOG = {
    "help_id": 0, "style": 0x80CA0042, "ex_style": 0x200, "rect": (0, 0, 305, 208),
    "menu": None, "class": None, "font": ("Lucida Console", 14, 0, 0, 1),
}

CONTROLS = [
    # id, class, text, style, extended style, x, y, width, height
    (1001, BUTTON, "Registrar a DLL", 0x50030001, 0x201, (92, 14, 124, 19)),
    (1003, BUTTON, "Zerar  Registro", 0x50018000, 0, (114, 51, 80, 14)),
    (1002, STATIC, "DLL ainda não lida.", 0x50020001, 0, (152, 193, 95, 8)),
    (-1, STATIC, "Nova versão:", 0x50020000, 0, (90, 194, 51, 8)),
    (1007, LISTBOX, "", 0x50B10108, 0x201, (6, 83, 284, 100)),
]

failures = []


def check(what, actual, expected):
    if actual == expected:
        print("ok: %s" % what)
    else:
        failures.append(what)
        print("WRONG: %s: %r, expected %r" % (what, actual, expected))


def only_language(resources, kind, name, language, what):
    languages = sorted(lang for (t, n, lang) in resources if (t, n) == (kind, name))
    check("%s present once, in language 0x%04X" % (what, language), languages, [language])
    return resources.get((kind, name, language))


def check_manifest(resources):
    manifest = only_language(resources, pe.RT_MANIFEST, 1, NEUTRAL, "manifest 1")
    if manifest is None:
        return
    root = ElementTree.fromstring(manifest)
    levels = [(e.get("level"), e.get("uiAccess")) for e in root.iter()
              if e.tag.endswith("}requestedExecutionLevel")]
    check("manifest requestedExecutionLevel", levels, [("requireAdministrator", "false")])


def check_version(resources, version):
    block = only_language(resources, pe.RT_VERSION, 1, PORTUGUESE_BRAZIL, "version block 1")
    if block is None:
        return
    fixed, tables, translations = pe.parse_version(block)
    parts = [int(p) for p in version.split(".")]
    most, least = (parts[0] << 16) | parts[1], (parts[2] << 16) | parts[3]
    check("fixed file version", (fixed["file_ms"], fixed["file_ls"]), (most, least))
    check("fixed product version", (fixed["product_ms"], fixed["product_ls"]), (most, least))
    for field, expected in (("flags_mask", 0x3F), ("flags", 0), ("os", 0x40004), ("type", 1),
                            ("subtype", 0)):
        check("fixed %s" % field, fixed[field], expected)
    check("string tables", sorted(tables), ["041604b0"])
    strings = tables.get("041604b0", {})
    version_text = ", ".join(str(p) for p in parts)
    expected = dict(STRINGS, FileVersion=version_text, ProductVersion=version_text)
    check("string names", sorted(strings), sorted(list(expected) + list(FREE_STRINGS)))
    for name in sorted(expected):
        check("string %s" % name, strings.get(name), expected[name])
    for name in FREE_STRINGS:
        check("string %s is not empty" % name, bool(strings.get(name)), True)
    check("translation", translations, [(0x0416, 0x04B0)])


def check_icon(resources):
    group = only_language(resources, pe.RT_GROUP_ICON, 101, PORTUGUESE_BRAZIL, "icon group 101")
    if group is None:
        return
    images = pe.parse_icon_group(group)
    check("icon group images",
          [(i["width"], i["height"], i["colours"], i["bits"], i["id"]) for i in images],
          [(32, 32, 16, 4, 1)])
    icons = [data for (t, n, _), data in resources.items() if (t, n) == (pe.RT_ICON, 1)]
    check("icon image 1 present once", len(icons), 1)
    if icons:
        check("icon image 1 is 32 x 32 at 4 bits", pe.parse_icon_image(icons[0]), (32, 32, 4))


def hex_or_text(value):
    """Styles and class ordinals read best in hexadecimal; class names stay text."""
    return "0x%X" % value if isinstance(value, int) else value


def check_dialog(resources):
    template = only_language(resources, pe.RT_DIALOG, 107, ENGLISH_US, "dialog 107")
    if template is None:
        return
    dialog = pe.parse_dialog_ex(template)
    for field in sorted(DIALOG):
        shown = hex_or_text if field in ("style", "ex_style") else (lambda value: value)
        check("dialog %s" % field, shown(dialog[field]), shown(DIALOG[field]))
    check("dialog has a caption", bool(dialog["title"]), True)
    check("dialog control count", len(dialog["items"]), len(CONTROLS))
    for item, (control_id, kind, text, style, ex_style, rect) in zip(dialog["items"], CONTROLS):
        actual = (item["id"], hex_or_text(item["class"]), item["text"],
                  hex_or_text(item["style"]), hex_or_text(item["ex_style"]), item["rect"],
                  item["help_id"])
        check("control %d" % control_id, actual,
              (control_id, hex_or_text(kind), text, hex_or_text(style), hex_or_text(ex_style),
               rect, 0))


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    program, version = sys.argv[1], sys.argv[2]
    try:
        resources = pe.read_resources(program)
        check_manifest(resources)
        check_version(resources, version)
        check_icon(resources)
        check_dialog(resources)
    except (pe.FormatError, ValueError, IndexError, UnicodeDecodeError,
            ElementTree.ParseError) as error:
        failures.append(str(error))
        print("UNREADABLE: %s" % error)
    if failures:
        print("%d resource check(s) failed" % len(failures))
        sys.exit(1)


main()
