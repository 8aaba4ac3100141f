#!/usr/bin/python3
"""The version information Explorer shows, read back from the built Windows files.

   check_version_info.py WINDOWS_BIN_DIR
"""
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
    if path.endswith("Ostrel.exe") and not any(
            e.id == pefile.RESOURCE_TYPE["RT_GROUP_ICON"] for e in pe.DIRECTORY_ENTRY_RESOURCE.entries):
        faults.append("no icon")
    return faults


def main():
    failed = 0
    for name, wanted in FILES.items():
        faults = check(f"{sys.argv[1]}/{name}", {**COMMON, **wanted})
        for fault in faults:
            print(f"{name}: {fault}")
        failed += bool(faults)
    print(f"{len(FILES) - failed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
