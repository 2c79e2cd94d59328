#!/usr/bin/env python3
"""Writes a large synthetic COM registry, deterministically, in two formats:
a regedit export (.reg, UTF-16LE with byte order mark and CRLF, as regedit
writes it) and a Wine system.reg. Both hold the same keys and values below
HKEY_LOCAL_MACHINE\\Software\\Classes (the .reg names them under
HKEY_CLASSES_ROOT).

With --wow64 every class and interface is registered for 32-bit programs
too, below Wow6432Node, with servers of their own: a machine whose 32-bit
view is as large as its 64-bit one.

With --vary PERCENT the registry differs from the one written without it in
that share of its objects, as a later state of the same machine: of the
classes and interfaces picked, a third changed (another server, another
name), a third removed and a third replaced by a new one (a new GUID); of
the type libraries and application IDs picked (which classes name), a new
one is added beside each, so that no other object's lines change.

  tools/gen_synthetic_registry.py --reg big.reg --wine big_prefix/system.reg
"""

import argparse
import hashlib
import os
import sys

PROXY_STUB = "{00020424-0000-0000-C000-000000000046}"  # the OLE Automation marshaller


def guid(kind, n):
    h = hashlib.md5(("%s-%d" % (kind, n)).encode()).hexdigest().upper()
    return "{%s-%s-4%s-8%s-%s}" % (h[0:8], h[8:12], h[13:16], h[17:20], h[20:32])


def build(classes, interfaces, typelibs, appids, wow64=False, vary=0):
    """Returns [(key path below Classes, [(name, kind, data)])] in
    enumeration order. kind: 'sz', 'expand', 'dword'."""
    keys = {}
    step = max(1, round(100 / vary)) if vary > 0 else 0

    def fate(n):
        """None, or what --vary does to object n of a kind."""
        if not step or n % step:
            return None
        return ("changed", "removed", "added")[(n // step) % 3]

    def listed(kind, n):
        """The GUID object n of a kind has, or None when it was removed."""
        f = fate(n)
        if f == "removed":
            return None
        return guid(kind + "-new", n) if f == "added" else guid(kind, n)

    def put(path, *values):
        keys.setdefault(path, []).extend(values)

    extra_libs = [n for n in range(typelibs) if fate(n)]
    for n in list(range(typelibs)) + [-1 - n for n in extra_libs]:
        g = guid("typelib", n) if n >= 0 else guid("typelib-new", -1 - n)
        put("TypeLib\\" + g)
        for version in ("1.0", "2.0"):
            base = "TypeLib\\%s\\%s" % (g, version)
            put(base, ("", "sz", "Synthetic Type Library %d %s" % (n, version)))
            put(base + "\\0")
            put(base + "\\0\\win32", ("", "sz", "C:\\Program Files (x86)\\Synthetic\\lib%d_%s.tlb" % (n, version)))
            put(base + "\\0\\win64", ("", "sz", "C:\\Program Files\\Synthetic\\lib%d_%s.tlb" % (n, version)))
            put(base + "\\FLAGS", ("", "sz", "0"))
            put(base + "\\HELPDIR", ("", "sz", "C:\\Program Files\\Synthetic\\help"))
    for n in list(range(appids)) + [-1 - n for n in range(appids) if fate(n)]:
        g = guid("appid", n) if n >= 0 else guid("appid-new", -1 - n)
        put("AppID\\" + g, ("", "sz", "Synthetic Application %d" % n), ("AuthenticationLevel", "dword", 2))
    views = [("", "System32", "")] + ([("Wow6432Node\\", "SysWOW64", " (32-bit)")] if wow64 else [])
    for node, system, suffix in views:
        for n in range(classes):
            g = listed("class", n)
            if g is None:
                continue
            lib = guid("typelib", n % max(typelibs, 1))
            key = node + "CLSID\\" + g
            server = "synth%d%s.dll" % (n, "-2" if fate(n) == "changed" else "")
            put(key, ("", "sz", "Synthetic Class %d%s" % (n, suffix)), ("AppID", "sz", guid("appid", n % max(appids, 1))))
            put(key + "\\InprocServer32", ("", "expand", "%%SystemRoot%%\\%s\\%s" % (system, server)),
                ("ThreadingModel", "sz", "Apartment"))
            put(key + "\\ProgID", ("", "sz", "Synthetic.Class%d.1" % n))
            put(key + "\\TypeLib", ("", "sz", lib))
            put(key + "\\Version", ("", "sz", "1.0"))
        for n in range(interfaces):
            g = listed("interface", n)
            if g is None:
                continue
            key = node + "Interface\\" + g
            put(key, ("", "sz", "ISynthetic%d%s%s" % (n, "Ex" if fate(n) == "changed" else "", suffix)))
            put(key + "\\ProxyStubClsid32", ("", "sz", PROXY_STUB))
            put(key + "\\TypeLib", ("", "sz", guid("typelib", n % max(typelibs, 1))), ("Version", "sz", "1.0"))
    # Enumeration order: every parent before its children, siblings by
    # upper-cased name.
    return sorted(keys.items(), key=lambda kv: [p.upper() for p in kv[0].split("\\")])


def reg_hex(prefix, data):
    """regedit's hex lines: comma-separated bytes, wrapped before column 80."""
    out, line = [], prefix
    for i, b in enumerate(data):
        line += "%02x" % b
        if i + 1 < len(data):
            line += ","
            if len(line) >= 76:
                out.append(line + "\\")
                line = "  "
    out.append(line)
    return out


def reg_quote(s):
    return '"' + s.replace("\\", "\\\\").replace('"', '\\"') + '"'


def write_reg(path, keys):
    lines = ["Windows Registry Editor Version 5.00", ""]
    for key, values in keys:
        lines.append("[HKEY_CLASSES_ROOT\\%s]" % key)
        for name, kind, data in values:
            left = "@=" if name == "" else reg_quote(name) + "="
            if kind == "sz":
                lines.append(left + reg_quote(data))
            elif kind == "dword":
                lines.append(left + "dword:%08x" % data)
            else:
                lines.extend(reg_hex(left + "hex(2):", (data + "\0").encode("utf-16-le")))
        lines.append("")
    text = "\r\n".join(lines) + "\r\n"
    with open(path, "wb") as f:
        f.write(b"\xff\xfe" + text.encode("utf-16-le"))


def wine_quote(s):
    return '"' + s.replace("\\", "\\\\").replace('"', '\\"') + '"'


def write_wine(path, keys):
    lines = ["WINE REGISTRY Version 2", ";; All keys relative to REGISTRY\\\\Machine", "", "#arch=win64", ""]
    stamp = 1700000000
    for key, values in keys:
        lines.append("[Software\\\\Classes\\\\%s] %d" % (key.replace("\\", "\\\\"), stamp))
        lines.append("#time=1da1a2b3c4d5e6f")
        for name, kind, data in values:
            left = "@=" if name == "" else wine_quote(name) + "="
            if kind == "sz":
                lines.append(left + wine_quote(data))
            elif kind == "dword":
                lines.append(left + "dword:%08x" % data)
            else:
                lines.append(left + "str(2):" + wine_quote(data))
        lines.append("")
    with open(path, "w", encoding="utf-8", newline="\n") as f:
        f.write("\n".join(lines) + "\n")


def main():
    p = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    p.add_argument("--reg", help="path of the .reg export to write")
    p.add_argument("--wine", help="path of the Wine system.reg to write")
    p.add_argument("--classes", type=int, default=20000)
    p.add_argument("--interfaces", type=int, default=40000)
    p.add_argument("--typelibs", type=int, default=3000)
    p.add_argument("--appids", type=int, default=3000)
    p.add_argument("--wow64", action="store_true", help="register the classes and interfaces for 32-bit programs too")
    p.add_argument("--vary", type=float, default=0, metavar="PERCENT",
                   help="differ from the registry written without it in this share of the objects")
    a = p.parse_args()
    if not a.reg and not a.wine:
        p.error("give --reg and/or --wine")
    keys = build(a.classes, a.interfaces, a.typelibs, a.appids, a.wow64, a.vary)
    for path, writer in ((a.reg, write_reg), (a.wine, write_wine)):
        if path:
            d = os.path.dirname(path)
            if d:
                os.makedirs(d, exist_ok=True)
            writer(path, keys)
            print("%s: %d keys, %.1f MB" % (path, len(keys), os.path.getsize(path) / 1e6), file=sys.stderr)


if __name__ == "__main__":
    main()
