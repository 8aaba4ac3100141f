#!/usr/bin/python3
"""The Windows files read back: the version information Explorer shows on ours, and on every
   binary shipped, Qt's and MinGW's included, the hardening Windows applies only when the
   file asks for it.

   check_pe_files.py WINDOWS_APP_DIR
"""
import pathlib
import sys

import pefile

COMMON = {"CompanyName": "Quorvane", "ProductName": "Ostrel", "FileVersion": "2.02",
          "ProductVersion": "2.02"}
FILES = {
    "Ostrel.exe": {"FileDescription": "Time Code Calculator", "InternalName": "Ostrel",
                   "OriginalFilename": "Ostrel.exe"},
    "Pellund.dll": {"InternalName": "Pellund", "OriginalFilename": "Pellund.dll"},
    "ostrel-tc.exe": {"InternalName": "ostrel-tc", "OriginalFilename": "ostrel-tc.exe"},
}


def strings(pe):
    found = {}
    for info in getattr(pe, "FileInfo", []):
        for entry in info:
            for table in getattr(entry, "StringTable", []):
                found.update({k.decode(): v.decode() for k, v in table.entries.items()})
    return found


def check(path, wanted):
    pe = pefile.PE(path)
    fixed = pe.VS_FIXEDFILEINFO[0]
    got = strings(pe)
    faults = [f"{key} is {got.get(key)!r}, not {value!r}" for key, value in wanted.items()
              if got.get(key) != value]
    if not got.get("LegalCopyright", "").startswith("Copyright"):
        faults.append("no copyright")
    version = (fixed.FileVersionMS >> 16, fixed.FileVersionMS & 0xFFFF,
               fixed.FileVersionLS >> 16, fixed.FileVersionLS & 0xFFFF)
    if version != (2, 2, 0, 0):
        faults.append(f"file version {version}")
    # libssp's report, linked in only where code carries stack canaries.
    if b"stack smashing detected" not in pathlib.Path(path).read_bytes():
        faults.append("no stack protector")
    if path.endswith("Ostrel.exe") and not any(
            e.id == pefile.RESOURCE_TYPE["RT_GROUP_ICON"] for e in pe.DIRECTORY_ENTRY_RESOURCE.entries):
        faults.append("no icon")
    return faults


# Loaded anywhere in a 64-bit space (ASLR with high entropy), and no data run as code (DEP).
HARDENING = {"DYNAMIC_BASE": 0x40, "HIGH_ENTROPY_VA": 0x20, "NX_COMPAT": 0x100}


def hardening_faults(path):
    flags = pefile.PE(path, fast_load=True).OPTIONAL_HEADER.DllCharacteristics
    return [f"no {name}" for name, bit in HARDENING.items() if not flags & bit]


def main():
    app = pathlib.Path(sys.argv[1])
    results = {name: check(str(app / name), {**COMMON, **wanted}) for name, wanted in FILES.items()}
    binaries = sorted(p for p in app.rglob("*") if p.suffix.lower() in (".exe", ".dll"))
    for path in binaries:
        results[f"{path.relative_to(app)} hardening"] = hardening_faults(str(path))
    failed = 0
    for name, faults in results.items():
        for fault in faults:
            print(f"{name}: {fault}")
        failed += bool(faults)
    print(f"{len(results) - failed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
