#!/usr/bin/python3
"""Names the first field where two state dumps of the scene differ.

Usage: scripts/compare-states.py EXPECTED ACTUAL
Prints "ARRAY[INDEX].FIELD[ELEMENT]: EXPECTED_VALUE vs ACTUAL_VALUE" and exits
1 where they differ; exits 0, printing nothing, where the two are equal.
"""
import json
import sys


def first_difference(expected, actual, path=""):
    if isinstance(expected, dict) and isinstance(actual, dict):
        for key in list(expected) + [k for k in actual if k not in expected]:
            if key not in expected or key not in actual:
                return f"{path}.{key}".lstrip("."), expected.get(key), actual.get(key)
            found = first_difference(expected[key], actual[key], f"{path}.{key}")
            if found:
                return found
        return None
    if isinstance(expected, list) and isinstance(actual, list):
        for index, (mine, theirs) in enumerate(zip(expected, actual)):
            found = first_difference(mine, theirs, f"{path}[{index}]")
            if found:
                return found
        if len(expected) != len(actual):
            return f"{path}.length".lstrip("."), len(expected), len(actual)
        return None
    if expected != actual:
        return path.lstrip("."), expected, actual
    return None


with open(sys.argv[1]) as mine, open(sys.argv[2]) as theirs:
    found = first_difference(json.load(mine), json.load(theirs))
if found:
    print(f"{found[0]}: {found[1]!r} vs {found[2]!r}")
    sys.exit(1)
