#!/usr/bin/env python3
"""Prints one line per test in ctest's JUnit results (ctest --output-junit <file>): its name and
Passed, Failed or Skipped.

Usage: ctest_junit.py <junit.xml>
"""
import sys
import xml.etree.ElementTree as ElementTree

if len(sys.argv) != 2:
    sys.exit(__doc__)
for case in ElementTree.parse(sys.argv[1]).getroot().iter("testcase"):
    status = case.get("status", "")
    if status == "run" and case.find("failure") is None:
        verdict = "Passed"
    elif status in ("notrun", "disabled") or case.find("skipped") is not None:
        verdict = "Skipped"
    else:
        verdict = "Failed"
    print(case.get("name"), verdict)
