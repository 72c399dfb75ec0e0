#!/usr/bin/python3
"""Checks JSON files against the schema that documents them (docs/*.schema.json).

Usage: scripts/check-json.py SCHEMA FILE...
Prints one line per file that does not match and exits 1; exits 0 when all do.
Needs Debian's python3-jsonschema.
"""
import json
import pathlib
import sys

import jsonschema

schema_path = pathlib.Path(sys.argv[1])
validator = jsonschema.Draft202012Validator(json.loads(schema_path.read_text()))
failed = False
for path in sys.argv[2:]:
    try:
        dump = json.loads(pathlib.Path(path).read_text())
    except (OSError, ValueError) as problem:
        print(f"{path}: not a JSON file: {problem}")
        failed = True
        continue
    error = jsonschema.exceptions.best_match(validator.iter_errors(dump))
    if error is not None:
        location = "/".join(str(part) for part in error.absolute_path) or "(top)"
        print(f"{path}: {location}: {error.message}")
        failed = True
sys.exit(1 if failed else 0)
