#!/usr/bin/env python3
"""cmake --install into a private prefix puts every part where the system
looks for it: the programs in bin/, the manual pages under share/man/man1,
the launcher entry and icon under the XDG data folders and the manual and
regex help pages where the installed monitor finds them. Each manual page must render
without warnings.

usage: install_layout_test.py BUILD_DIR
"""
import os
import shutil
import subprocess
import sys
import tempfile

PROGRAMS = ["tarvik", "tarvik-tail", "tarvik-reg", "tarvik-ods"]
HELPERS = ["tarvik-testwriter", "tarvik-instance-probe"]


def check_page(page, failures):
    name = os.path.basename(page)
    with open(page, encoding="utf-8") as f:
        text = f.read()
    program = name[: -len(".1")]
    if not text.startswith(".TH " + program.upper().replace("-", "\\-") + " 1"):
        failures.append(name + ": no .TH header naming the program")
    for section in (".SH NAME", ".SH SYNOPSIS", ".SH DESCRIPTION", ".SH EXIT STATUS"):
        if section not in text:
            failures.append(name + ": missing " + section)
    if shutil.which("groff"):
        run = subprocess.run(["groff", "-man", "-Tutf8", "-ww", "-z", page],
                             capture_output=True, text=True, timeout=60)
        if run.returncode != 0 or run.stderr.strip():
            failures.append(name + ": groff complains: " + run.stderr.strip())
    if shutil.which("man"):
        run = subprocess.run(["man", "-l", page], capture_output=True, text=True,
                             timeout=60, env=dict(os.environ, MANPAGER="cat", PAGER="cat",
                                                  MANWIDTH="80"))
        if run.returncode != 0 or program not in run.stdout:
            failures.append(name + ": man -l cannot show it: " + run.stderr.strip())


def main():
    build = sys.argv[1]
    failures = []
    with tempfile.TemporaryDirectory() as prefix:
        run = subprocess.run(["cmake", "--install", build, "--prefix", prefix],
                             capture_output=True, text=True, timeout=300)
        if run.returncode != 0:
            print(run.stdout + run.stderr)
            return 1
        monitor_built = os.path.exists(os.path.join(build, "src", "tarvik"))
        programs = PROGRAMS if monitor_built else PROGRAMS[1:]
        for program in programs:
            path = os.path.join(prefix, "bin", program)
            if not os.access(path, os.X_OK):
                failures.append("program missing: bin/" + program)
            page = os.path.join(prefix, "share", "man", "man1", program + ".1")
            if os.path.exists(page):
                check_page(page, failures)
            else:
                failures.append("manual page missing: share/man/man1/" + program + ".1")
        for helper in HELPERS:
            if os.path.exists(os.path.join(prefix, "bin", helper)):
                failures.append("a test helper is installed: bin/" + helper)
        if monitor_built:
            for part in ("share/applications/ostra-tarvik.desktop",
                         "share/icons/hicolor/scalable/apps/ostra-tarvik.svg",
                         "share/ostra-tarvik/tvregex.htm",
                         "share/ostra-tarvik/index.html"):
                if not os.path.isfile(os.path.join(prefix, part)):
                    failures.append("missing: " + part)
            with open(os.path.join(prefix, "share/applications/ostra-tarvik.desktop")) as f:
                entry = f.read()
            if "Exec=tarvik" not in entry or "Icon=ostra-tarvik" not in entry:
                failures.append("the desktop entry does not start tarvik with our icon")
        # Only these folders: nothing lands beside the programs or elsewhere.
        for root, _dirs, files in os.walk(prefix):
            for f in files:
                rel = os.path.relpath(os.path.join(root, f), prefix)
                if not (rel.startswith("bin/") and os.path.basename(rel) in programs
                        or rel.startswith("share/")):
                    failures.append("unexpected file installed: " + rel)
    for failure in failures:
        print("FAIL: " + failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
