#!/usr/bin/env python3
"""A program's manual page lists the options its --help lists, with the same
value names, in the same order.

Usage: man_pages_test.py PAGE PROGRAM
"""
import shlex
import subprocess
import sys


def help_options(program):
    """--help's entries, two spaces in: "-h, --help", "--size WxH"."""
    text = subprocess.run([program, '--help'], check=True, capture_output=True,
                          text=True).stdout
    return [line[2:].split('  ')[0] for line in text.splitlines() if line.startswith('  -')]


def page_options(path):
    """The tags of the OPTIONS section's .TP paragraphs, as man shows them."""
    with open(path, encoding='utf-8') as page:
        lines = page.read().splitlines()
    section = lines[lines.index('.SH OPTIONS') + 1:]
    section = section[:next((i for i, line in enumerate(section) if line.startswith('.SH')),
                            len(section))]
    options = []
    for i, line in enumerate(section[:-1]):
        if line == '.TP':
            # .B joins its words with spaces; .BI and .BR alternate fonts
            # between words written together. shlex reads \- as -.
            macro, *words = shlex.split(section[i + 1])
            options.append((' ' if macro == '.B' else '').join(words))
    return options


def main():
    page, program = sys.argv[1:]
    listed, helped = page_options(page), help_options(program)
    if listed != helped:
        print(f'{page} lists:\n  ' + '\n  '.join(listed))
        print(f'{program} --help lists:\n  ' + '\n  '.join(helped))
        return 1
    return 0


if __name__ == '__main__':
    sys.exit(main())
