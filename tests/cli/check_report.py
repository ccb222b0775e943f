#!/usr/bin/env python3
"""Checks a commissioning report with a real HTML parser.

usage: check_report.py REPORT.html SETTINGS.json [FILE...]

The report must parse as HTML, hold no script and load nothing from outside; its
settings, page by page, must be those of SETTINGS.json (what `settings --json`
printed) in the same order; and its files table must give each FILE's SHA-256.
Prints every mismatch and exits 1 when there is one.
"""
import hashlib
import json
import sys

import html5lib

NS = "{http://www.w3.org/1999/xhtml}"


def as_shown(value):
    """A value as the report shows it: control characters but line feed and tab as U+FFFD."""
    return "".join(
        "\ufffd" if (ord(c) < 0x20 and c not in "\n\t") or 0x7F <= ord(c) <= 0x9F else c
        for c in value)


def text(element):
    return "".join(element.itertext())


def report_settings(document):
    """(page, name, value) of every setting row, pages from the h3 before each table."""
    settings = []
    page = None
    for element in document.iter():
        if element.tag == NS + "h3":
            page = text(element)
        elif element.tag == NS + "tr" and element.get("class") == "setting":
            cells = [text(cell) for cell in element.findall(NS + "td")]
            settings.append((page, cells[0], cells[1]))
    return settings


def report_digests(document):
    digests = {}
    for row in document.iter(NS + "tr"):
        if row.get("class") == "file":
            cells = [text(cell) for cell in row.findall(NS + "td")]
            digests[cells[1]] = cells[3]
    return digests


def main():
    report_path, settings_path, files = sys.argv[1], sys.argv[2], sys.argv[3:]
    problems = []
    with open(report_path, "rb") as stream:
        parser = html5lib.HTMLParser(strict=False)
        document = parser.parse(stream)
    if parser.errors:
        problems.append("parse errors: %s" % parser.errors[:3])
    if list(document.iter(NS + "script")):
        problems.append("the report holds a script")
    for element in document.iter():
        for attribute in ("src", "href"):
            value = element.get(attribute)
            if value and "//" in value:
                problems.append("loads %s" % value)

    with open(settings_path, encoding="utf-8") as stream:
        wanted = [(s["page"], as_shown(s["name"]), as_shown(s["value"]))
                  for s in json.load(stream)["settings"]]
    shown = report_settings(document)
    if shown != wanted:
        for i, (a, b) in enumerate(zip(shown, wanted)):
            if a != b:
                problems.append("setting %d: report %r, settings %r" % (i, a, b))
                break
        if len(shown) != len(wanted):
            problems.append("%d settings in the report, %d in settings" % (len(shown), len(wanted)))

    digests = report_digests(document)
    for path in files:
        with open(path, "rb") as stream:
            digest = hashlib.sha256(stream.read()).hexdigest()
        if digests.get(path) != digest:
            problems.append("%s: report %s, file %s" % (path, digests.get(path), digest))

    for problem in problems:
        print(problem)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
