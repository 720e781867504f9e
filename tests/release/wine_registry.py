#!/usr/bin/env python3
"""Reads a Wine prefix's registry files (system.reg, user.reg) directly.

The prefix's wineserver must have ended (wineserver -w), so that the files
hold every change.

  wine_registry.py get PREFIX HKLM|HKCU KEY [NAME]   the value's stored text
                                                     ("" for the default)
      exit 1 when the value (or, without NAME, the key) is absent
  wine_registry.py dump PREFIX HKLM|HKCU KEY...      every value under each
                                                     key and its subkeys, one
                                                     "key\\name=value" a line
"""
import os
import sys

FILES = {"HKLM": "system.reg", "HKCU": "user.reg"}


def read_hive(prefix, hive):
    """{lower-case key path: {lower-case value name: stored text}}"""
    keys = {}
    current = None
    with open(os.path.join(prefix, FILES[hive]), encoding="utf-8", errors="replace") as f:
        lines = f.read().split("\n")
    joined = []
    for line in lines:
        if joined and joined[-1].endswith("\\") and not joined[-1].startswith("["):
            joined[-1] = joined[-1][:-1] + line.strip()
        else:
            joined.append(line)
    for line in joined:
        if line.startswith("["):
            path = line[1:line.rindex("]")].replace("\\\\", "\\")
            current = keys.setdefault(path.lower(), {})
        elif current is not None and (line.startswith('"') or line.startswith("@=")):
            if line.startswith("@="):
                name, value = "", line[2:]
            else:
                end = 1
                while line[end] != '"':
                    end += 2 if line[end] == "\\" else 1
                name, value = line[1:end], line[end + 2:]
            current[name.replace("\\\\", "\\").lower()] = value
    return keys


def main():
    command, prefix, hive = sys.argv[1:4]
    keys = read_hive(prefix, hive)
    if command == "get":
        key = sys.argv[4].lower()
        if key not in keys:
            return 1
        if len(sys.argv) < 6:
            return 0
        name = sys.argv[5].lower()
        if name not in keys[key]:
            return 1
        print(keys[key][name])
        return 0
    if command == "dump":
        for wanted in sys.argv[4:]:
            wanted = wanted.lower()
            for key in sorted(keys):
                if key == wanted or key.startswith(wanted + "\\"):
                    for name in sorted(keys[key]):
                        print(f"{key}\\{name}={keys[key][name]}")
        return 0
    print(__doc__, file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main())
