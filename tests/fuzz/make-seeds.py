#!/usr/bin/env python3
"""Writes the seed corpora under corpus/, one small script per case, in the
input format each fuzz target documents at its top. Run it again after a
change of that format; libFuzzer grows its own corpus from these."""
import os

HERE = os.path.dirname(os.path.abspath(__file__))


def below(value, bound):
    """A number as TakeBelow reads it: one byte, or two for bounds above 256."""
    return bytes([value & 0xFF, value >> 8]) if bound > 256 else bytes([value])


def text(value, max_length):
    data = value.encode("latin-1")
    return below(len(data), max_length + 1) + data


def dialog(path):
    """A dialog answer: a dismissal for None."""
    return b"\x00" if path is None else b"\x01" + text(path, 300)


def signed(value):
    return bytes([value & 0xFF])


LONG_FOLDER = "E:\\" + "f" * 250 + "\\"

PATH_UTILS = {
    # operation (0 name, 1 folder, 2 replace), buffer size - 1, path, [name]
    "name-of-full-path": below(0, 3) + below(259, 1024) + text("C:\\Lib\\Quorvalis.dll", 1100),
    "name-after-slash": below(0, 3) + below(511, 1024) + text("C:\\Lib/Quorvalis.dll", 1100),
    "name-small-buffer": below(0, 3) + below(258, 1024) + text("a" * 259, 1100),
    "folder-after-colon": below(1, 3) + below(259, 1024) + text("C:Quorvalis.dll", 1100),
    "folder-too-long": below(1, 3) + below(259, 1024) + text("C:\\" + "d" * 300 + "\\x", 1100),
    "replace-no-fit": below(2, 3) + below(259, 1024) + text(LONG_FOLDER + "o.dll", 1100)
    + text("Quorvalis.tlb", 300),
    "replace-whole": below(2, 3) + below(259, 1024) + text("Quorvalis.dll", 1100)
    + text("Quorvalis.tlb", 300),
}


def selection(files, failing_copy, picked, answers, saves):
    return (bytes([files, failing_copy]) + dialog(picked) + below(len(answers), 8)
            + b"".join(signed(a) for a in answers) + below(len(saves), 4)
            + b"".join(dialog(s) for s in saves))


IDOK, IDCANCEL, IDYES, IDNO = 1, 2, 6, 7
LIBRARY = "D:\\Lib\\Quorvalis.dll"
LIBRARY_SELECTION = {
    "open-dismissed": selection(3, 0, None, [], []),
    "under-windows": selection(3, 0, "C:\\WINDOWS\\System32\\Quorvalis.dll", [], []),
    "wrong-name": selection(3, 0, "D:\\Lib\\Quorvalis.dat", [IDOK], []),
    "no-type-library": selection(2, 0, LIBRARY, [IDOK], []),
    "type-library-held": selection(7, 0, LIBRARY, [IDOK], []),
    "no-copy": selection(3, 0, LIBRARY, [IDNO, IDOK], []),
    "cancel": selection(3, 0, LIBRARY, [IDCANCEL, IDOK], []),
    "copy": selection(3, 0, LIBRARY, [IDYES, IDOK], ["E:\\App\\outro.dll"]),
    "copy-again": selection(3, 0, LIBRARY, [IDYES, IDYES, IDOK], [None, "E:\\App\\Quorvalis.dll"]),
    "copy-same-folder": selection(3, 0, LIBRARY, [IDYES, IDOK], ["D:\\Lib\\outro.dll"]),
    "copy-library-fails": selection(3, 1, LIBRARY, [IDYES, IDOK], ["E:\\App\\outro.dll"]),
    "copy-type-library-fails": selection(3, 2, LIBRARY, [IDYES, IDOK], ["E:\\App\\outro.dll"]),
    "copy-type-library-too-long": selection(3, 0, LIBRARY, [IDYES, IDOK], [LONG_FOLDER + "a.dll"]),
}


def query(library, version, path):
    return bytes([library]) + text(version, 512) + text(path, 259)


VERSION_QUERY = {
    "version": query(3, "1.2.3", LIBRARY),
    "version-fills-buffer": query(3, "v" * 512, LIBRARY),
    "version-empty": query(3, "", "\\Quorvalis.dll"),
    "no-export": query(1, "", LIBRARY),
    "not-found": query(0, "", "E:\\App\\outro.dll"),
    "no-backslash": query(3, "1.0", "C:Quorvalis.dll"),
    "rewrite-too-long": query(3, "1.0", LONG_FOLDER + "o.dll"),
}

CALLS = ["RegOpenKeyExA", "RegCreateKeyExA", "RegSetValueExA", "RegDeleteKeyA",
         "MultiByteToWideChar", "LoadTypeLib", "RegisterTypeLib", "UnRegisterTypeLib"]


def registration(flags, registrar, faults, path):
    data = bytes([flags]) + signed(registrar) + below(len(faults), 4)
    for call, nth, code in faults:
        data += below(CALLS.index(call), len(CALLS)) + below(nth - 1, 8) + bytes([code - 1])
    return data + text(path, 259)


REGISTRATION = {
    "success": registration(1, 0, [], LIBRARY),
    "over-existing": registration(3, 0, [], LIBRARY),
    "no-type-library": registration(0, 0, [], LIBRARY),
    "registrar-fails": registration(1, -1, [], LIBRARY),
    "progid-key-fails": registration(1, 0, [("RegCreateKeyExA", 1, 5)], LIBRARY),
    "server-path-fails": registration(1, 0, [("RegSetValueExA", 3, 5)], LIBRARY),
    "type-library-and-undo-fail": registration(
        1, 0, [("LoadTypeLib", 1, 2), ("RegDeleteKeyA", 1, 5)], LIBRARY),
    "path-too-long": registration(1, 0, [], LONG_FOLDER + "o.dll"),
    "no-backslash": registration(1, 0, [], "Quorvalis.dll"),
}


def write(target, seeds):
    folder = os.path.join(HERE, "corpus", target)
    os.makedirs(folder, exist_ok=True)
    for name in os.listdir(folder):
        os.remove(os.path.join(folder, name))
    for name, data in seeds.items():
        with open(os.path.join(folder, name), "wb") as f:
            f.write(data)


write("path_utils", PATH_UTILS)
write("library_selection", LIBRARY_SELECTION)
write("version_query", VERSION_QUERY)
write("registration", REGISTRATION)
