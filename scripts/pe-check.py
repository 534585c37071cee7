#!/usr/bin/env python3
"""Static checks of a Windows program file, without running it.

pe-check.py FILE machine=i386 subsystem=gui version=1.0.2015.12021 \
            imports-only-system exports=Name@1,Name@2
Prints one line per check, "ok ..." or "FAIL ...", and exits 1 on a failure.
"""
import struct
import sys

MACHINES = {0x14C: "i386", 0x8664: "x86_64"}
SUBSYSTEMS = {2: "gui", 3: "console"}
# DLLs that every Windows has; anything else would have to be shipped.
SYSTEM_DLLS = {
    "kernel32.dll", "user32.dll", "gdi32.dll", "advapi32.dll", "shell32.dll", "comctl32.dll",
    "ole32.dll", "oleaut32.dll", "msvcrt.dll", "crypt32.dll", "urlmon.dll", "wininet.dll",
    "sensapi.dll", "version.dll", "ws2_32.dll", "shlwapi.dll", "comdlg32.dll", "winmm.dll",
    "rpcrt4.dll", "uxtheme.dll", "ntdll.dll", "api-ms-win-crt-runtime-l1-1-0.dll",
}


class PE:
    def __init__(self, data):
        self.data = data
        pe = struct.unpack_from("<I", data, 0x3C)[0]
        if data[pe:pe + 4] != b"PE\0\0":
            raise ValueError("not a PE file")
        self.machine, nsect = struct.unpack_from("<HH", data, pe + 4)
        opt_size = struct.unpack_from("<H", data, pe + 20)[0]
        opt = pe + 24
        self.magic = struct.unpack_from("<H", data, opt)[0]
        self.subsystem = struct.unpack_from("<H", data, opt + 68)[0]
        dirs = opt + (96 if self.magic == 0x10B else 112)
        self.dirs = [struct.unpack_from("<II", data, dirs + 8 * i) for i in range(16)]
        self.sections = []
        for i in range(nsect):
            s = opt + opt_size + 40 * i
            vsize, va, rawsize, rawptr = struct.unpack_from("<IIII", data, s + 8)
            self.sections.append((va, max(vsize, rawsize), rawptr))

    def off(self, rva):
        for va, size, raw in self.sections:
            if va <= rva < va + size:
                return rva - va + raw
        raise ValueError("rva %x outside sections" % rva)

    def cstr(self, rva):
        o = self.off(rva)
        return self.data[o:self.data.index(b"\0", o)].decode("latin-1")

    def imports(self):
        rva, size = self.dirs[1]
        names, o = [], self.off(rva) if rva else None
        while o is not None:
            name_rva = struct.unpack_from("<I", self.data, o + 12)[0]
            if name_rva == 0:
                break
            names.append(self.cstr(name_rva).lower())
            o += 20
        return names

    def exports(self):
        rva, size = self.dirs[0]
        if not rva:
            return {}
        o = self.off(rva)
        base, nfuncs, nnames, funcs, names, ords = struct.unpack_from("<IIIIII", self.data, o + 16)
        result = {}
        for i in range(nnames):
            name = self.cstr(struct.unpack_from("<I", self.data, self.off(names) + 4 * i)[0])
            ordinal = struct.unpack_from("<H", self.data, self.off(ords) + 2 * i)[0] + base
            result[name] = ordinal
        return result

    def file_version(self):
        sig = struct.pack("<I", 0xFEEF04BD)
        i = self.data.find(sig)
        if i < 0:
            return None
        ms, ls = struct.unpack_from("<II", self.data, i + 8)
        return "%d.%d.%d.%d" % (ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF)


def main(argv):
    path, checks = argv[1], argv[2:]
    pe = PE(open(path, "rb").read())
    name = path.split("/")[-1]
    failed = 0

    def report(ok, what):
        nonlocal failed
        print(("ok   " if ok else "FAIL ") + name + ": " + what)
        failed += not ok

    for c in checks:
        key, _, want = c.partition("=")
        if key == "machine":
            got = MACHINES.get(pe.machine, hex(pe.machine))
            report(got == want and (pe.magic == 0x10B) == (want == "i386"), "machine %s (want %s)" % (got, want))
        elif key == "subsystem":
            got = SUBSYSTEMS.get(pe.subsystem, str(pe.subsystem))
            report(got == want, "subsystem %s (want %s)" % (got, want))
        elif key == "version":
            got = pe.file_version()
            report(got == want, "file version %s (want %s)" % (got, want))
        elif key == "imports-only-system":
            extra = [d for d in pe.imports() if d not in SYSTEM_DLLS]
            report(not extra, "imports only system DLLs" + (" (also %s)" % ", ".join(extra) if extra else ""))
        elif key == "exports":
            got = pe.exports()
            for item in want.split(","):
                fn, _, ordinal = item.partition("@")
                report(got.get(fn) == int(ordinal), "export %s ordinal %s (got %s)" % (fn, ordinal, got.get(fn)))
        else:
            report(False, "unknown check " + c)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
