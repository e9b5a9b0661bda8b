#!/usr/bin/env python3
"""Counts test cases over the GoogleTest XML files of one test run.

Each test layer left ctest-<layer>.log and its XML files in <layer>/. A ctest
entry that failed without writing its XML (a crash, a time-out, a plain
program) counts as one failed case. Prints "N passed, M failed"."""
import glob
import os
import re
import sys
import xml.etree.ElementTree as ET

results, extra = sys.argv[1], int(sys.argv[2])
passed = failed = 0
for log in sorted(glob.glob(os.path.join(results, "ctest-*.log"))):
    layer = os.path.basename(log)[len("ctest-"):-len(".log")]
    written = set()
    for path in glob.glob(os.path.join(results, layer, "*.xml")):
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
    for line in open(log, errors="replace"):
        m = re.match(r"\s*\d+/\d+ Test\s+#\d+: (\S+) .*\*\*\*", line)
        if m and m.group(1) not in written:
            failed += 1
failed += extra
print("%d passed, %d failed" % (passed, failed))
sys.exit(1 if failed else 0)
