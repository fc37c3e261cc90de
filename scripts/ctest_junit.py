#!/usr/bin/env python3
"""What test.sh counts, from the two sources that know it best.

  ctest_junit.py results <junit.xml>   one line per test ctest ran: "<name> Passed|Failed|Skipped",
                                       read from ctest's --output-junit file
  ctest_junit.py names <prefix>        the names ctest gives the tests of one executable, from that
                                       executable's --gtest_list_tests output on stdin
"""
import re
import sys
import xml.etree.ElementTree as ElementTree


def results(path):
    for case in ElementTree.parse(path).getroot().iter("testcase"):
        status = case.get("status", "")
        if status == "run" and case.find("failure") is None:
            verdict = "Passed"
        elif status in ("notrun", "disabled") or case.find("skipped") is not None:
            verdict = "Skipped"
        else:
            verdict = "Failed"
        print(case.get("name"), verdict)


# As CMake's gtest_discover_tests names them: "<prefix><Suite>.<Test>", a value parameter's index
# replaced by its value ("Test/0  # GetParam() = 96" gives "Test/96"), other comments dropped.
def names(prefix):
    suite = None
    for line in sys.stdin.read().splitlines():
        if not line.strip() or "gtest_main" in line:
            continue
        if not line.startswith("  "):
            suite = re.sub(r"\.( *#.*)?$", "", line)
            continue
        test = line.strip()
        if "#" in test:
            test = re.sub(r"/[0-9]+[ #]+GetParam\(\) = ", "/", test)
        else:
            test = re.sub(r" +#.*", "", test)
        print(f"{prefix}{suite}.{test}")


if __name__ == "__main__":
    if sys.argv[1:2] == ["results"]:
        results(sys.argv[2])
    elif sys.argv[1:2] == ["names"]:
        names(sys.argv[2])
    else:
        sys.exit(__doc__)
