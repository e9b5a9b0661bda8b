#!/usr/bin/env python3
"""Counts test cases over the GoogleTest XML files of one test run.

A ctest entry that failed without writing its XML (a crash, a time-out, a
plain program) counts as one failed case. Prints "N passed, M failed"."""
import glob
import os
import re
import sys
import xml.etree.ElementTree as ET

results, extra = sys.argv[1], int(sys.argv[2])
passed = failed = 0
for preset in ("native", "win32", "win64"):
    written = set()
    for path in glob.glob(os.path.join(results, preset, "*.xml")):
        try:
            root = ET.parse(path).getroot()
        except ET.ParseError:
            continue
        written.add(os.path.splitext(os.path.basename(path))[0])
        for case in root.iter("testcase"):
            if case.get("status") == "notrun" or case.get("result") == "skipped":
                continue
            if case.find("failure") is not None:
                failed += 1
            else:
                passed += 1
    log = os.path.join(results, "ctest-%s.log" % preset)
    if os.path.exists(log):
        for line in open(log, errors="replace"):
            m = re.match(r"\s*\d+/\d+ Test\s+#\d+: (\S+) .*\*\*\*", line)
            if m and m.group(1) not in written:
                failed += 1
            elif m:
                failed += 0 if re.search(r"Failed|Exception|Timeout", line) is None else 0
    else:
        extra += 0
failed += extra
print("%d passed, %d failed" % (passed, failed))
sys.exit(1 if failed else 0)
