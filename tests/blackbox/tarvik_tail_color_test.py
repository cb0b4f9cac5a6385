#!/usr/bin/env python3
"""Black-box tests of tarvik-tail's colours: highlight filters are put in a
private settings store by importing a .reg file, and the printed lines are
compared byte for byte with the escapes a terminal gets.

Usage: tarvik_tail_color_test.py TARVIK_TAIL TARVIK_REG [unittest arguments]
"""

import os
import shutil
import subprocess
import sys
import tempfile
import threading
import time
import unittest

TOOL = None
REG = None
ROOT = r"HKEY_CURRENT_USER\Software\Ostra Tarvik"
WAIT_SECONDS = 10

RESET = "\x1b[0m"
FILL = "\x1b[K"
# HLLineBkgColor's default: red 255, green 255, blue 192.
LINE_BKG = "\x1b[48;2;255;255;192m"


def fg(red, green, blue):
    return f"\x1b[38;2;{red};{green};{blue}m"


def bg(red, green, blue):
    return f"\x1b[48;2;{red};{green};{blue}m"


def colour(red, green, blue):
    """A colour value as stored: 0x00BBGGRR."""
    return red | green << 8 | blue << 16


RED, YELLOW, WHITE, NAVY, GREEN, BLACK = ((255, 0, 0), (255, 255, 0), (255, 255, 255),
                                          (0, 0, 128), (0, 160, 0), (0, 0, 0))


def reg_text(text):
    return '"' + text.replace("\\", "\\\\").replace('"', '\\"') + '"'


def highlight_filter(text, text_colour, bkg_colour, match_case=False, expression=False,
                     entire_line=False, show_as=None, enable=True):
    values = {"Text": text, "TextColor": colour(*text_colour),
              "BkgColor": colour(*bkg_colour), "MatchCase": int(match_case),
              "RegularExpression": int(expression), "HighlightEntireLine": int(entire_line),
              "Enable": int(enable)}
    if show_as is not None:
        values.update(ReplaceWith=1, ReplaceText=show_as)
    return values


class ColorCase(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.mkdtemp(prefix="tarvik-tail-color-")
        self.addCleanup(shutil.rmtree, self.folder, ignore_errors=True)
        self.env = dict(os.environ, TARVIK_REGISTRY=os.path.join(self.folder, "registry.db"))

    def path(self, name):
        return os.path.join(self.folder, name)

    def write(self, name, text, mode="wb"):
        with open(self.path(name), mode) as f:
            f.write(text.encode("utf-8"))
        return self.path(name)

    def reg_import(self, sections):
        lines = ["Windows Registry Editor Version 5.00", ""]
        for key, values in sections:
            lines.append(f"[{ROOT}\\{key}]")
            for name, value in values.items():
                data = f"dword:{value:08x}" if isinstance(value, int) else reg_text(value)
                lines.append(f'"{name}"={data}')
            lines.append("")
        result = subprocess.run([REG, "import", self.write("import.reg", "\n".join(lines))],
                                capture_output=True, text=True, env=self.env, timeout=60)
        self.assertEqual(result.returncode, 0, result.stderr)

    def set_filters(self, *filters, **options):
        sections = [(f"HighlightFilters2\\Filter{n}", values)
                    for n, values in enumerate(filters, 1)]
        if options:
            sections.append(("Options", {name: int(v) for name, v in options.items()}))
        self.reg_import(sections)

    def run_tool(self, *args):
        return subprocess.run([TOOL, *args], capture_output=True, env=self.env, timeout=60)

    def painted(self, text, *args, colour="always"):
        """What --once prints for a file holding text."""
        result = self.run_tool("--once", f"--color={colour}", *args,
                               self.write("colours.log", text))
        self.assertEqual(result.returncode, 0, result.stderr)
        return result.stdout.decode("utf-8")

    def on_terminal(self, *args):
        """Exit code, standard output and standard error of a run whose
        standard output and error are terminals of their own."""
        try:
            import pty
        except ImportError:
            self.skipTest("no pseudo-terminals here")
        terminals = [pty.openpty(), pty.openpty()]
        try:
            proc = subprocess.Popen([TOOL, *args], stdout=terminals[0][1],
                                    stderr=terminals[1][1], env=self.env)
            for _, follower in terminals:
                os.close(follower)
            texts = [bytearray(), bytearray()]
            for (leader, _), text in zip(terminals, texts):
                while True:
                    try:
                        chunk = os.read(leader, 4096)
                    except OSError:  # the terminal closed with the program
                        break
                    if not chunk:
                        break
                    text.extend(chunk)
            code = proc.wait(timeout=WAIT_SECONDS)
        finally:
            for leader, _ in terminals:
                os.close(leader)
        # The terminal turns each LF into CR LF.
        return code, *(bytes(text).replace(b"\r\n", b"\n") for text in texts)


class Phrases(ColorCase):
    def test_occurrences_take_the_filter_colours_and_the_rest_stays_plain(self):
        self.set_filters(highlight_filter("error", RED, YELLOW), HighlightLine=0)
        run = fg(*RED) + bg(*YELLOW)
        self.assertEqual(
            self.painted("an error here\nnothing to see\nERROR and Error\n"),
            f"an {run}error{RESET} here{RESET}\n"
            "nothing to see\n"
            f"{run}ERROR{RESET} and {run}Error{RESET}\n")

    def test_highlight_line_puts_its_background_behind_the_rest(self):
        self.set_filters(highlight_filter("error", RED, YELLOW))
        run = fg(*RED) + bg(*YELLOW)
        self.assertEqual(self.painted("an error here\nquiet\n"),
                         f"{LINE_BKG}an {run}error{RESET}{LINE_BKG} here{RESET}\nquiet\n")

    def test_filling_the_blank_carries_the_line_background_to_the_row_end(self):
        self.set_filters(highlight_filter("error", RED, YELLOW), FillLineBlankInBkgColor=1)
        run = fg(*RED) + bg(*YELLOW)
        self.assertEqual(self.painted("x error\n"),
                         f"{LINE_BKG}x {run}error{LINE_BKG}{FILL}{RESET}\n")

    def test_the_earlier_filter_wins_an_overlap_and_the_later_loses_it_whole(self):
        self.set_filters(highlight_filter("error", RED, YELLOW),
                         highlight_filter("or", GREEN, BLACK), HighlightLine=0)
        first = fg(*RED) + bg(*YELLOW)
        second = fg(*GREEN) + bg(*BLACK)
        self.assertEqual(self.painted("error for\n"),
                         f"{first}error{RESET} f{second}or{RESET}\n")

    def test_columns_count_utf16_units_not_utf8_bytes(self):
        self.set_filters(highlight_filter("error", RED, YELLOW), HighlightLine=0)
        run = fg(*RED) + bg(*YELLOW)
        self.assertEqual(self.painted("grüße 😀 error ü\n"),
                         f"grüße 😀 {run}error{RESET} ü{RESET}\n")

    def test_expressions_and_case(self):
        self.set_filters(highlight_filter("Warn", RED, YELLOW, match_case=True),
                         highlight_filter(r"code=\d+", GREEN, BLACK, expression=True),
                         HighlightLine=0)
        first = fg(*RED) + bg(*YELLOW)
        second = fg(*GREEN) + bg(*BLACK)
        self.assertEqual(self.painted("warn Warn code=42 code=x\n"),
                         f"warn {first}Warn{RESET} {second}code=42{RESET} code=x{RESET}\n")

    def test_a_disabled_filter_paints_nothing(self):
        self.set_filters(highlight_filter("error", RED, YELLOW, enable=False))
        self.assertEqual(self.painted("an error\n"), "an error\n")


class EntireLines(ColorCase):
    def test_an_entire_line_filter_paints_the_whole_line(self):
        self.set_filters(highlight_filter("fatal", WHITE, NAVY, entire_line=True))
        line = fg(*WHITE) + bg(*NAVY)
        self.assertEqual(self.painted("a fatal stop\nfine\n"),
                         f"{line}a fatal stop{RESET}\nfine\n")

    def test_runs_keep_their_colours_on_an_entire_line_and_highlight_line_yields(self):
        self.set_filters(highlight_filter("fatal", WHITE, NAVY, entire_line=True),
                         highlight_filter("disk", RED, YELLOW), FillLineBlankInBkgColor=1)
        line = fg(*WHITE) + bg(*NAVY)
        run = fg(*RED) + bg(*YELLOW)
        self.assertEqual(self.painted("fatal: disk full\n"),
                         f"{line}fatal: {run}disk{line} full{FILL}{RESET}\n")

    def test_the_lower_of_two_entire_line_filters_wins(self):
        self.set_filters(highlight_filter("fatal", WHITE, NAVY, entire_line=True),
                         highlight_filter("disk", GREEN, BLACK, entire_line=True))
        self.assertEqual(self.painted("fatal disk\n"),
                         f"{fg(*GREEN)}{bg(*BLACK)}fatal disk{RESET}\n")


class ShowAs(ColorCase):
    def test_a_replacement_is_shown_and_painted_in_the_filter_colours(self):
        self.set_filters(highlight_filter("password=\\w+", RED, YELLOW, expression=True,
                                          show_as="password=***"), HighlightLine=0)
        text = "login password=hunter2 ok\nno secret\n"
        self.assertEqual(self.painted(text, colour="never"),
                         "login password=*** ok\nno secret\n")
        run = fg(*RED) + bg(*YELLOW)
        self.assertEqual(self.painted(text),
                         f"login {run}password=***{RESET} ok{RESET}\nno secret\n")


class Modes(ColorCase):
    def test_never_and_auto_into_a_pipe_print_plain_text(self):
        self.set_filters(highlight_filter("error", RED, YELLOW),
                         highlight_filter("fatal", WHITE, NAVY, entire_line=True))
        text = "an error\na fatal one\n"
        for args in (["--color=never"], ["--color", "never"], ["--color=auto"], []):
            with self.subTest(args):
                result = self.run_tool("--once", *args, self.write("plain.log", text))
                self.assertEqual((result.returncode, result.stdout.decode()), (0, text))

    def test_auto_on_a_terminal_paints(self):
        self.set_filters(highlight_filter("fatal", WHITE, NAVY, entire_line=True))
        code, out, _ = self.on_terminal("--once", self.write("tty.log", "fatal\n"))
        self.assertEqual((code, out.decode()), (0, f"{fg(*WHITE)}{bg(*NAVY)}fatal{RESET}\n"))

    def test_bad_colour_choices_are_refused(self):
        for args in (["--color=sometimes", "x"], ["--color"], ["--color=", "x"]):
            with self.subTest(args):
                result = self.run_tool(*args)
                self.assertEqual(result.returncode, 2)
                self.assertIn(b"--color", result.stderr)


class Terminal(ColorCase):
    """What a log line or a file name holds never reaches a terminal as a
    control: it is shown in caret form, while the tool's own colours stay."""

    HOSTILE = ("ok \u009d0;TITLE\u009c\n"
               "esc \x1b]0;x\x07 \x1b[2J del\x7f tab\tend\n")

    def test_controls_of_lines_show_in_caret_form_and_colours_stay(self):
        self.set_filters(highlight_filter("esc", RED, YELLOW), HighlightLine=0,
                         ShowSpaceForBadChar=0)
        log = self.write("hostile.log", self.HOSTILE)
        run = fg(*RED) + bg(*YELLOW)
        code, out, _ = self.on_terminal("--once", log)
        self.assertEqual((code, out.decode()), (0, (
            "ok M-^]0;TITLEM-^\\\n"
            f"{run}esc{RESET} ^[]0;x^G ^[[2J del^? tab\tend{RESET}\n")))
        code, out, _ = self.on_terminal("--once", "--color=never", log)
        self.assertEqual(out.decode(), "ok M-^]0;TITLEM-^\\\n"
                                       "esc ^[]0;x^G ^[[2J del^? tab\tend\n")
        # Into a pipe the text stays as read.
        result = self.run_tool("--once", log)
        self.assertEqual(result.stdout.decode(), self.HOSTILE)

    def test_file_names_in_headers_and_messages_show_in_caret_form(self):
        first = self.write("a\x1b]0;owned\x07.log", "one\n")
        second = self.write("b.log", "two\n")
        missing = self.path("gone\x1b[2J.log")
        code, out, err = self.on_terminal("--once", first, second, missing)
        self.assertEqual(code, 1)
        self.assertEqual(out.decode(), f"==> {self.path('a^[]0;owned^G.log')} <==\none\n\n"
                                       f"==> {second} <==\ntwo\n")
        self.assertIn(f"{self.path('gone^[[2J.log')}".encode(), err)
        self.assertNotIn(b"\x1b", err)


class Following(ColorCase):
    def test_a_line_completed_later_is_painted_as_a_whole(self):
        self.set_filters(highlight_filter("error", RED, YELLOW), HighlightLine=0)
        log = self.write("f.log", "an err")
        proc = subprocess.Popen([TOOL, "--color=always", "--interval", "20", "--duration", "30",
                                 log], stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                                env=self.env)
        out = bytearray()
        reader = threading.Thread(
            target=lambda: [out.extend(c) for c in iter(lambda: proc.stdout.read1(4096), b"")])
        reader.start()
        run = fg(*RED) + bg(*YELLOW)
        expected = f"an err{run}or{RESET} here{RESET}\n".encode()
        try:
            self.wait_for(out, b"an err")
            self.write("f.log", "or here\n", mode="ab")
            self.wait_for(out, expected)
        finally:
            proc.terminate()
            proc.wait(timeout=WAIT_SECONDS)
            reader.join(timeout=WAIT_SECONDS)
            proc.stdout.close()
            proc.stderr.close()
        self.assertEqual(bytes(out), expected)

    @staticmethod
    def wait_for(out, expected):
        deadline = time.monotonic() + WAIT_SECONDS
        while time.monotonic() < deadline and bytes(out) != expected:
            time.sleep(0.01)


if __name__ == "__main__":
    TOOL = sys.argv.pop(1)
    REG = sys.argv.pop(1)
    unittest.main(verbosity=1)
