"""Reads the resources of a 32-bit PE file, and decodes the three kinds the
program carries besides its manifest: the version block, the extended dialog
template and the icon group. Only the standard library is used."""
import struct

RT_ICON, RT_DIALOG, RT_GROUP_ICON, RT_VERSION, RT_MANIFEST = 3, 5, 14, 16, 24


class FormatError(Exception):
    pass


def _u16(data, offset):
    return struct.unpack_from("<H", data, offset)[0]


def _u32(data, offset):
    return struct.unpack_from("<I", data, offset)[0]


def _align4(offset):
    return (offset + 3) & ~3


def read_resources(path):
    """{(type, name, language): bytes} for every resource with numeric ids."""
    with open(path, "rb") as f:
        image = f.read()
    if image[:2] != b"MZ":
        raise FormatError("not an MZ executable")
    pe = _u32(image, 0x3C)
    if image[pe:pe + 4] != b"PE\0\0":
        raise FormatError("no PE signature")
    sections, optional_size = _u16(image, pe + 6), _u16(image, pe + 20)
    optional = pe + 24
    if _u16(image, optional) != 0x10B:
        raise FormatError("not a 32-bit (PE32) image")
    resource_rva = _u32(image, optional + 96 + 2 * 8)
    table = optional + optional_size
    for i in range(sections):
        entry = table + 40 * i
        virtual_size, rva, raw_size, raw = struct.unpack_from("<IIII", image, entry + 8)
        if rva <= resource_rva < rva + max(virtual_size, raw_size):
            base = raw + resource_rva - rva
            break
    else:
        raise FormatError("no section holds the resource directory")

    def file_offset(data_rva):
        return base + data_rva - resource_rva

    def directory(offset):
        named, numbered = _u16(image, base + offset + 12), _u16(image, base + offset + 14)
        for i in range(named + numbered):
            name, target = struct.unpack_from("<II", image, base + offset + 16 + 8 * i)
            if not name & 0x80000000:
                yield name, target

    resources = {}
    for type_id, types in directory(0):
        for name_id, names in directory(types & 0x7FFFFFFF):
            for language, leaf in directory(names & 0x7FFFFFFF):
                data_rva, size = struct.unpack_from("<II", image, base + leaf)
                start = file_offset(data_rva)
                resources[(type_id, name_id, language)] = image[start:start + size]
    return resources


def _text(data, offset):
    """A NUL-terminated UTF-16 text and the offset after its terminator."""
    end = offset
    while _u16(data, end) != 0:
        end += 2
    return data[offset:end].decode("utf-16-le"), end + 2


def _version_node(data, offset):
    """One node of a version block: key, value bytes, is-text, children."""
    length, value_length, is_text = struct.unpack_from("<HHH", data, offset)
    key, after_key = _text(data, offset + 6)
    value_start = _align4(after_key)
    value_bytes = value_length * 2 if is_text else value_length
    value = data[value_start:value_start + value_bytes]
    children, child = [], _align4(value_start + value_bytes)
    while child < offset + length:
        node, child_length = _version_node(data, child)
        children.append(node)
        child = _align4(child + child_length)
    return {"key": key, "value": value, "text": bool(is_text), "children": children}, length


def parse_version(data):
    """The fixed part as a dict, the string tables as {key: {name: text}} and
    the translations as a list of (language, code page) pairs."""
    root, _ = _version_node(data, 0)
    if root["key"] != "VS_VERSION_INFO" or len(root["value"]) != 52:
        raise FormatError("no VS_VERSION_INFO with a fixed part")
    fields = struct.unpack("<13I", root["value"])
    if fields[0] != 0xFEEF04BD:
        raise FormatError("bad fixed part signature")
    names = ("signature", "structure_version", "file_ms", "file_ls", "product_ms", "product_ls",
             "flags_mask", "flags", "os", "type", "subtype", "date_ms", "date_ls")
    fixed = dict(zip(names, fields))
    tables, translations = {}, []
    for block in root["children"]:
        if block["key"] == "StringFileInfo":
            for table in block["children"]:
                tables[table["key"]] = {
                    entry["key"]: entry["value"].decode("utf-16-le").split("\0", 1)[0]
                    for entry in table["children"]}
        elif block["key"] == "VarFileInfo":
            for var in block["children"]:
                if var["key"] == "Translation":
                    words = struct.unpack("<%dH" % (len(var["value"]) // 2), var["value"])
                    translations += list(zip(words[0::2], words[1::2]))
    return fixed, tables, translations


def _name_or_ordinal(data, offset):
    """A dialog template's name-or-ordinal field: an int, a text, or None."""
    first = _u16(data, offset)
    if first == 0:
        return None, offset + 2
    if first == 0xFFFF:
        return _u16(data, offset + 2), offset + 4
    return _text(data, offset)


def parse_dialog_ex(data):
    """An extended dialog template (DLGTEMPLATEEX) and its items."""
    version, signature, help_id, ex_style, style, count = struct.unpack_from("<HHIIIH", data, 0)
    if (version, signature) != (1, 0xFFFF):
        raise FormatError("not an extended dialog template")
    x, y, cx, cy = struct.unpack_from("<hhhh", data, 18)
    menu, offset = _name_or_ordinal(data, 26)
    window_class, offset = _name_or_ordinal(data, offset)
    title, offset = _text(data, offset)
    dialog = {"help_id": help_id, "ex_style": ex_style, "style": style, "rect": (x, y, cx, cy),
              "menu": menu, "class": window_class, "title": title, "font": None, "items": []}
    if style & 0x40:  # DS_SETFONT
        point_size, weight, italic, charset = struct.unpack_from("<HHBB", data, offset)
        face, offset = _text(data, offset + 6)
        dialog["font"] = (face, point_size, weight, italic, charset)
    for _ in range(count):
        offset = _align4(offset)
        help_id, ex_style, style = struct.unpack_from("<III", data, offset)
        x, y, cx, cy = struct.unpack_from("<hhhh", data, offset + 12)
        control_id = struct.unpack_from("<i", data, offset + 20)[0]
        item_class, offset = _name_or_ordinal(data, offset + 24)
        text, offset = _name_or_ordinal(data, offset)
        extra = _u16(data, offset)
        offset += 2 + extra
        dialog["items"].append({"id": control_id, "class": item_class, "text": text or "",
                                "style": style, "ex_style": ex_style, "rect": (x, y, cx, cy),
                                "help_id": help_id})
    return dialog


def parse_icon_group(data):
    """The images an icon group lists: width, height, colours, bits, icon id."""
    reserved, kind, count = struct.unpack_from("<HHH", data, 0)
    if (reserved, kind) != (0, 1):
        raise FormatError("not an icon group")
    images = []
    for i in range(count):
        width, height, colours, _, planes, bits, size, icon_id = struct.unpack_from(
            "<BBBBHHIH", data, 6 + 14 * i)
        images.append({"width": width or 256, "height": height or 256, "colours": colours,
                       "planes": planes, "bits": bits, "size": size, "id": icon_id})
    return images


def parse_icon_image(data):
    """Width, height and bits per pixel of an icon image in DIB form."""
    header_size, width, double_height, planes, bits = struct.unpack_from("<IiiHH", data, 0)
    if header_size != 40:
        raise FormatError("icon image is not a DIB")
    return width, double_height // 2, bits
