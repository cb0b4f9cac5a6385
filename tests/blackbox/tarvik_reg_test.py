#!/usr/bin/env python3
"""Black-box tests of tarvik-reg: runs the program on a private store file."""

import os
import shutil
import sqlite3
import subprocess
import sys
import tempfile
import unittest
from concurrent.futures import ThreadPoolExecutor

TOOL = None
OPTIONS = r"HKCU\Software\Ostra Tarvik\Options"


class StoreCase(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.mkdtemp(prefix="tarvik-reg-")
        self.store = os.path.join(self.folder, "registry.db")
        self.env = dict(os.environ, TARVIK_REGISTRY=self.store)
        # Runs even when a subclass's setUp fails after this point.
        self.addCleanup(shutil.rmtree, self.folder, ignore_errors=True)

    def reg(self, *args, stdin=""):
        return subprocess.run([TOOL, *args], input=stdin, capture_output=True, text=True,
                              env=self.env, timeout=60)

    def ok(self, *args, stdin=""):
        result = self.reg(*args, stdin=stdin)
        self.assertEqual(result.returncode, 0, result.stderr)
        return result.stdout

    def fails(self, *args, stdin=""):
        result = self.reg(*args, stdin=stdin)
        self.assertEqual(result.returncode, 1, result.stdout)
        self.assertTrue(result.stderr.strip(), "a failure must say why")
        return result.stderr

    def path(self, name):
        return os.path.join(self.folder, name)

    def write(self, name, data):
        with open(self.path(name), "wb") as f:
            f.write(data if isinstance(data, bytes) else data.encode("utf-8"))
        return self.path(name)

    def read(self, name):
        with open(self.path(name), "rb") as f:
            return f.read()

    def export(self, key, name):
        self.ok("export", key, self.path(name), "/y")
        return self.read(name)


class AddQueryDelete(StoreCase):
    def test_values_show_in_query_output(self):
        self.ok("add", OPTIONS, "/v", "TabSize", "/t", "REG_DWORD", "/d", "0x10")
        self.ok("add", OPTIONS, "/v", "MaxBufSiz", "/t", "reg_dword", "/d", "20971520")
        self.ok("add", OPTIONS, "/v", "DefaultEditor", "/d", "gédit")
        self.ok("add", OPTIONS, "/v", "MainWndRect", "/t", "REG_BINARY", "/d", "0a0B")
        self.ok("add", OPTIONS, "/ve", "/d", "default")
        self.ok("add", OPTIONS + r"\Sub")
        out = self.ok("query", r"hkey_current_user\software\ostra tarvik\options")
        self.assertEqual(out, "\n" + r"HKEY_CURRENT_USER\software\ostra tarvik\options" + "\n"
                         "    (Default)    REG_SZ    default\n"
                         "    DefaultEditor    REG_SZ    gédit\n"
                         "    MainWndRect    REG_BINARY    0A0B\n"
                         "    MaxBufSiz    REG_DWORD    0x1400000\n"
                         "    TabSize    REG_DWORD    0x10\n"
                         "\n"
                         r"HKEY_CURRENT_USER\software\ostra tarvik\options\Sub" + "\n")
        out = self.ok("query", OPTIONS, "/v", "tabsize")
        self.assertEqual(out, "\n" + r"HKEY_CURRENT_USER\Software\Ostra Tarvik\Options" + "\n"
                         "    tabsize    REG_DWORD    0x10\n\n")

    def test_recursive_query_and_search(self):
        self.ok("add", OPTIONS, "/v", "A", "/d", "1")
        self.ok("add", r"HKCU\Software\Ostra Tarvik\AOFPatterns\1", "/v", "a", "/d", "2")
        out = self.ok("query", r"HKCU\Software\Ostra Tarvik", "/s")
        self.assertIn(r"HKEY_CURRENT_USER\Software\Ostra Tarvik\AOFPatterns\1" + "\n    a    REG_SZ    2",
                      out)
        self.assertLess(out.index("AOFPatterns"), out.index("Options"))
        out = self.ok("query", r"HKCU\Software", "/v", "A", "/s")
        self.assertIn("End of search: 2 match(es) found.", out)
        self.fails("query", r"HKCU\Software", "/v", "Missing", "/s")

    def test_delete_value_key_and_all_values(self):
        self.ok("add", OPTIONS, "/v", "A", "/d", "1")
        self.ok("add", OPTIONS, "/v", "B", "/d", "2")
        self.ok("add", OPTIONS + r"\Deep\Deeper", "/v", "C", "/d", "3")
        self.ok("delete", OPTIONS, "/v", "a", "/f")
        self.fails("query", OPTIONS, "/v", "A")
        self.ok("query", OPTIONS, "/v", "B")
        self.ok("delete", OPTIONS, "/va", "/f")
        self.fails("query", OPTIONS, "/v", "B")
        self.ok("query", OPTIONS + r"\Deep\Deeper", "/v", "C")
        self.ok("delete", r"HKCU\Software\Ostra Tarvik", "/f")
        self.fails("query", OPTIONS + r"\Deep\Deeper")
        self.ok("query", r"HKCU\Software")

    def test_overwriting_keeps_one_value(self):
        self.ok("add", OPTIONS, "/v", "Tab", "/t", "REG_DWORD", "/d", "1")
        self.ok("add", OPTIONS, "/v", "TAB", "/t", "REG_SZ", "/d", "two", "/f")
        out = self.ok("query", OPTIONS)
        self.assertEqual(out.count("    "), 3)
        self.assertIn("    Tab    REG_SZ    two\n", out)


class Errors(StoreCase):
    def test_missing_key_and_value(self):
        self.assertIn("unable to find", self.fails("query", r"HKCU\Nowhere"))
        self.ok("add", OPTIONS)
        self.fails("query", OPTIONS, "/v", "Nothing")
        self.fails("query", OPTIONS, "/ve")
        self.fails("delete", OPTIONS, "/v", "Nothing", "/f")
        self.fails("delete", r"HKCU\Nowhere", "/f")

    def test_malformed_commands_change_nothing(self):
        bad = [
            [],
            ["frobnicate", OPTIONS],
            ["query"],
            ["query", r"HKLM\Software"],
            ["query", OPTIONS, "extra"],
            ["add", OPTIONS, "/v"],
            ["add", OPTIONS, "/v", "A", "/ve"],
            ["add", OPTIONS, "/v", "A", "/v", "B"],
            ["add", OPTIONS, "/d", "1"],
            ["add", OPTIONS, "/v", "A", "/t", "REG_FANCY", "/d", "1"],
            ["add", OPTIONS, "/v", "A", "/t", "REG_DWORD", "/d", "12x"],
            ["add", OPTIONS, "/v", "A", "/t", "REG_DWORD", "/d", "4294967296"],
            ["add", OPTIONS, "/v", "A", "/t", "REG_DWORD", "/d", "-1"],
            ["add", OPTIONS, "/v", "A", "/t", "REG_BINARY", "/d", "ABC"],
            ["add", OPTIONS, "/v", "A", "/t", "REG_BINARY", "/d", "GG"],
            ["add", OPTIONS, "/v", "A", "/s"],
            ["delete", OPTIONS, "/v", "A", "/va"],
            ["delete", "HKCU", "/f"],
            ["export", OPTIONS],
            ["import"],
        ]
        for args in bad:
            with self.subTest(args=args):
                self.fails(*args)
        self.fails("query", r"HKCU\Software")

    def test_limits_of_dword_data(self):
        self.ok("add", OPTIONS, "/v", "Max", "/t", "REG_DWORD", "/d", "4294967295")
        self.ok("add", OPTIONS, "/v", "Hex", "/t", "REG_DWORD", "/d", "0xFFFFFFFF")
        out = self.ok("query", OPTIONS)
        self.assertEqual(out.count("0xffffffff"), 2)

    def test_help(self):
        self.assertIn("tarvik-reg query", self.ok("/?"))


class Confirmation(StoreCase):
    def setUp(self):
        super().setUp()
        self.ok("add", OPTIONS, "/v", "Keep", "/d", "yes")

    def test_no_and_end_of_input_mean_no(self):
        for answer in ["no\n", "N\n", ""]:
            with self.subTest(answer=answer):
                result = self.reg("delete", OPTIONS, "/v", "Keep", stdin=answer)
                self.assertEqual(result.returncode, 1)
                self.assertIn("(Yes/No)?", result.stdout)
                self.ok("query", OPTIONS, "/v", "Keep")
        result = self.reg("delete", OPTIONS, stdin="")
        self.assertEqual(result.returncode, 1)
        self.ok("query", OPTIONS, "/v", "Keep")

    def test_yes_after_an_unclear_answer(self):
        result = self.reg("delete", OPTIONS, "/v", "Keep", stdin="maybe\nYes\n")
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertEqual(result.stdout.count("(Yes/No)?"), 2)
        self.fails("query", OPTIONS, "/v", "Keep")

    def test_overwrite_asks_unless_forced(self):
        result = self.reg("add", OPTIONS, "/v", "keep", "/d", "changed", stdin="no\n")
        self.assertEqual(result.returncode, 1)
        self.assertIn("    Keep    REG_SZ    yes", self.ok("query", OPTIONS, "/v", "Keep"))
        result = self.reg("add", OPTIONS, "/v", "Keep", "/d", "changed", "/f", stdin="")
        self.assertEqual(result.returncode, 0)
        self.assertNotIn("(Yes/No)?", result.stdout)
        self.assertIn("REG_SZ    changed", self.ok("query", OPTIONS, "/v", "Keep"))

    def test_export_over_an_existing_file_asks(self):
        target = self.write("out.reg", "precious")
        result = self.reg("export", OPTIONS, target, stdin="n\n")
        self.assertEqual(result.returncode, 1)
        self.assertEqual(self.read("out.reg"), b"precious")
        self.ok("export", OPTIONS, target, stdin="y\n")
        self.assertTrue(self.read("out.reg").startswith(b"Windows Registry Editor Version 5.00"))


ROUND_TRIP = (
    "Windows Registry Editor Version 5.00\r\n"
    "\r\n"
    "; every kind of value the store can hold\r\n"
    "[HKEY_CURRENT_USER\\Software\\Ostra Tarvik]\r\n"
    "@=\"default\"\r\n"
    "\"Quote \\\"and\\\" back\\\\slash\"=\"C:\\\\logs\\\\\"\r\n"
    "\"Unicode\"=\"naïve – 日本\"\r\n"
    "\"Dword\"=dword:000000ff\r\n"
    "\"Empty\"=hex:\r\n"
    "\"Font\"=hex:f4,ff,ff,ff,00,00,00,00,00,00,00,00,00,00,00,00,90,01,00,00,00,00,\\\r\n"
    "  00,01,00,00,00,00,43,00\r\n"
    "\"Expand\"=hex(2):25,00,48,00,00,00\r\n"
    "\"None\"=hex(0):01,02\r\n"
    "\"Multi\"=hex(7):61,00,00,00,62,00,00,00,00,00\r\n"
    "\"OddString\"=hex(1):41,00,42\r\n"
    "\"TwoLines\"=hex(1):41,00,0a,00,42,00,00,00\r\n"
    "\"ShortDword\"=hex(4):01,02\r\n"
    "\"BigType\"=hex(ffff):07\r\n"
    "\r\n"
    "[HKEY_CURRENT_USER\\Software\\Ostra Tarvik\\File Sets\\Web]\r\n"
    "\"File1\"=\"/var/log/nginx/access.log\"\r\n"
    "\r\n"
    "[HKEY_CLASSES_ROOT\\.log]\r\n"
    "@=\"tarvik.log\"\r\n"
)


class ExportImport(StoreCase):
    def test_export_then_import_gives_the_same_tree(self):
        self.ok("import", self.write("in.reg", ROUND_TRIP))
        first = self.export(r"HKCU\Software", "first.reg")
        self.ok("delete", r"HKCU\Software", "/f")
        self.fails("query", r"HKCU\Software\Ostra Tarvik")
        self.ok("import", self.path("first.reg"))
        second = self.export(r"HKCU\Software", "second.reg")
        self.assertEqual(first, second)
        text = first.decode("utf-8")
        self.assertIn('"Dword"=dword:000000ff', text)
        self.assertIn('"Expand"=hex(2):25,00,48,00,00,00', text)
        self.assertIn('"TwoLines"=hex(1):', text)
        self.assertIn('"Quote \\"and\\" back\\\\slash"="C:\\\\logs\\\\"', text)
        self.assertIn('"Unicode"="naïve – 日本"', text)
        out = self.ok("query", r"HKCU\Software\Ostra Tarvik", "/v", "ShortDword")
        self.assertIn("ShortDword    REG_DWORD    0102", out)
        out = self.ok("query", r"HKCU\Software\Ostra Tarvik", "/v", "Multi")
        self.assertIn("Multi    REG_MULTI_SZ    a\\0b\n", out)
        self.assertIn("tarvik.log", self.ok("query", r"HKCR\.log", "/ve"))

    def test_utf16_file_with_byte_order_mark(self):
        self.ok("import", self.write("in.reg", ROUND_TRIP))
        expected = self.export("HKCU", "utf8.reg")
        self.ok("delete", r"HKCU\Software", "/f")
        self.ok("import", self.write("utf16.reg", b"\xff\xfe" + ROUND_TRIP.encode("utf-16-le")))
        self.assertEqual(self.export("HKCU", "again.reg"), expected)

    def test_deletions_in_a_file(self):
        self.ok("import", self.write("in.reg", ROUND_TRIP))
        self.ok("import", self.write("del.reg",
                                     "Windows Registry Editor Version 5.00\n\n"
                                     "[-HKEY_CURRENT_USER\\Software\\Ostra Tarvik\\File Sets]\n"
                                     "[-HKEY_CURRENT_USER\\Software\\Missing]\n"
                                     "[HKEY_CURRENT_USER\\Software\\Ostra Tarvik]\n"
                                     "\"Dword\"=-\n\"NotThere\"=-\n"))
        self.fails("query", r"HKCU\Software\Ostra Tarvik\File Sets")
        self.fails("query", r"HKCU\Software\Ostra Tarvik", "/v", "Dword")
        self.ok("query", r"HKCU\Software\Ostra Tarvik", "/v", "Empty")

    def test_malformed_files_name_the_line_and_change_nothing(self):
        self.ok("add", OPTIONS, "/v", "Before", "/d", "kept")
        before = self.export("HKCU", "before.reg")
        good = "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\New]\n\"A\"=\"1\"\n"
        cases = {
            "Windows Registry Editor Version 4.00\n": 1,
            "\n\nnot a header\n": 3,
            good + "\"B\"=hex:0g\n": 5,
            good + "\"B\"=\"unterminated\n": 5,
            good + "\"B\"=dword:123456789\n": 5,
            good + "\"B\"=wrong\n": 5,
            good + "\"B\"=\"a\\qb\"\n": 5,
            good + "[HKEY_LOCAL_MACHINE\\X]\n": 5,
            good + "[HKEY_CURRENT_USER\\X\n": 5,
            good + "[-HKEY_CURRENT_USER]\n": 5,
            good + "garbage\n": 5,
            good + "\"B\"=hex:01,\\\n": 5,
            "Windows Registry Editor Version 5.00\n\"A\"=\"1\"\n": 2,
            good + "[HKEY_CURRENT_USER\\" + "k" * 300 + "]\n": 5,
        }
        for text, line in cases.items():
            with self.subTest(text=text):
                message = self.fails("import", self.write("bad.reg", text))
                self.assertIn("line %d:" % line, message)
        self.fails("import", self.path("does-not-exist.reg"))
        self.assertEqual(self.export("HKCU", "after.reg"), before)

    def test_import_refuses_fifos_and_huge_files(self):
        os.mkfifo(self.path("fifo.reg"))
        self.assertIn("not a regular file", self.fails("import", self.path("fifo.reg")))
        # Valid text, then a comment line that takes the file past 64 MiB.
        huge = self.write("huge.reg", "Windows Registry Editor Version 5.00\n\n"
                                      "[HKEY_CURRENT_USER\\Huge]\n;")
        os.truncate(huge, (64 << 20) + 1)
        self.assertIn("larger than 64 MiB", self.fails("import", huge))
        self.fails("query", r"HKCU\Huge")

    def test_keys_deeper_than_512_levels_are_refused(self):
        def below(depth):
            return "\\".join(["k"] * depth)

        header = "Windows Registry Editor Version 5.00\n\n"
        message = self.fails("import", self.write("deep.reg", header + "[HKEY_CURRENT_USER\\%s]\n"
                                                  % below(513)))
        self.assertIn("line 3: the key lies more than 512 levels deep", message)
        self.fails("add", "HKCU\\" + below(513))
        self.fails("query", r"HKCU\k")
        self.ok("import", self.write("deepest.reg", header + "[HKEY_CURRENT_USER\\%s]\n\"v\"=\"1\"\n"
                                     % below(512)))
        self.assertIn("\\%s]\n\"v\"=\"1\"\n" % below(512), self.export(r"HKCU\k", "out.reg").decode())
        self.assertIn("End of search: 1 match(es) found.", self.ok("query", "HKCU", "/v", "v", "/s"))

    def test_export_ignores_a_link_planted_for_its_temporary_file(self):
        self.ok("add", r"HKCU\Software\Ostra Tarvik\EmailSettings", "/v", "SmtpPassword", "/d", "secret")
        victim = self.write("victim.txt", "untouched")
        target = self.path("out.reg")
        # The shell plants a link under the temporary name the old code used
        # (FILE.tmp-PID), then becomes tarvik-reg under the same process id.
        result = subprocess.run(["sh", "-c", 'ln -s "$1" "$2.tmp-$$" && exec "$0" export HKCU "$2" /y',
                                 TOOL, victim, target], capture_output=True, text=True,
                                env=self.env, timeout=60)
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertEqual(self.read("victim.txt"), b"untouched")
        self.assertFalse(os.path.islink(target))
        self.assertIn(b"secret", self.read("out.reg"))
        self.assertEqual(os.stat(target).st_mode & 0o777, 0o600)


class Store(StoreCase):
    def test_parallel_writers_lose_nothing(self):
        def add(i):
            return self.reg("add", OPTIONS, "/v", "Value%d" % i, "/t", "REG_DWORD", "/d", str(i), "/f")

        with ThreadPoolExecutor(max_workers=8) as pool:
            results = list(pool.map(add, range(40)))
        for result in results:
            self.assertEqual(result.returncode, 0, result.stderr)
        out = self.ok("query", OPTIONS)
        for i in range(40):
            self.assertIn("    Value%d    REG_DWORD    0x%x\n" % (i, i), out)

    def test_damaged_store_is_moved_aside(self):
        with open(self.store, "w") as f:
            f.write("not a database at all\n")
        result = self.reg("query", OPTIONS)
        self.assertEqual(result.returncode, 1)
        damaged_lines = [l for l in result.stderr.splitlines() if "damaged" in l]
        self.assertEqual(len(damaged_lines), 1, result.stderr)
        aside = [n for n in os.listdir(self.folder) if n.startswith("registry.db.damaged-")]
        self.assertEqual(len(aside), 1)
        self.assertIn(aside[0], damaged_lines[0])
        with open(os.path.join(self.folder, aside[0])) as f:
            self.assertEqual(f.read(), "not a database at all\n")
        self.ok("add", OPTIONS, "/v", "Fresh", "/d", "1")
        self.assertEqual(os.stat(self.store).st_mode & 0o777, 0o600)

    def test_tampered_key_links_are_reported_not_walked_forever(self):
        self.ok("add", OPTIONS, "/v", "Kept", "/d", "1")
        db = sqlite3.connect(self.store)
        # HKCU below its own grandchild: a loop.
        db.execute("UPDATE keys SET parent = (SELECT id FROM keys WHERE name = 'Ostra Tarvik') "
                   "WHERE id = 1")
        db.commit()
        for args in (["query", "HKCU", "/s"], ["export", "HKCU", self.path("loop.reg"), "/y"],
                     ["delete", r"HKCU\Software", "/f"]):
            with self.subTest(args=args):
                self.assertIn("is damaged", self.fails(*args))
        self.ok("query", OPTIONS, "/v", "Kept")
        # No loop, but a chain far deeper than any key the store accepts.
        db.execute("UPDATE keys SET parent = 0 WHERE id = 1")
        parent = db.execute("SELECT id FROM keys WHERE name = 'Options'").fetchone()[0]
        for _ in range(20000):
            parent = db.execute("INSERT INTO keys(parent, name, folded) VALUES(?, 'k', 'k')",
                                (parent,)).lastrowid
        db.commit()
        db.close()
        for args in (["query", OPTIONS, "/s"], ["export", OPTIONS, self.path("deep.reg"), "/y"]):
            with self.subTest(args=args):
                self.assertIn("is damaged", self.fails(*args))
        self.ok("delete", OPTIONS + r"\k", "/f")
        self.ok("export", OPTIONS, self.path("deep.reg"), "/y")


if __name__ == "__main__":
    TOOL = sys.argv.pop(1)
    unittest.main(verbosity=1)
