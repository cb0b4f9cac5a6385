#!/usr/bin/env python3
"""Black-box tests of tarvik-tail: the program follows real files that this
test process writes, truncates, rotates and deletes while it runs.

Usage: tarvik_tail_test.py TARVIK_TAIL TARVIK_REG [unittest arguments]
"""

import os
import shutil
import signal
import subprocess
import sys
import tempfile
import threading
import time
import unittest

TOOL = None
REG = None
OPTIONS = r"HKCU\Software\Ostra Tarvik\Options"
INTERVAL_MS = 20
# Long enough for several polls, so a line that should not appear had its chance.
QUIET_SECONDS = 0.3
WAIT_SECONDS = 10


def utf16(text, bom=False):
    return (b"\xff\xfe" if bom else b"") + text.encode("utf-16-le")


def remove_channel(suffix):
    """The shared memory and semaphores of a private debug channel."""
    for name in os.listdir("/dev/shm"):
        if name.endswith("." + suffix):
            try:
                os.unlink(os.path.join("/dev/shm", name))
            except OSError:
                pass


class Follower:
    """A running tarvik-tail whose standard output is collected as it comes."""

    def __init__(self, args, env):
        self.proc = subprocess.Popen([TOOL, *args], stdout=subprocess.PIPE,
                                     stderr=subprocess.PIPE, env=env)
        self.lock = threading.Lock()
        self.out = bytearray()
        self.err = bytearray()
        self.readers = [threading.Thread(target=self._drain, args=(self.proc.stdout, self.out)),
                        threading.Thread(target=self._drain, args=(self.proc.stderr, self.err))]
        for reader in self.readers:
            reader.start()

    def _drain(self, stream, sink):
        for chunk in iter(lambda: stream.read1(65536), b""):
            with self.lock:
                sink.extend(chunk)

    def output(self):
        with self.lock:
            return bytes(self.out)

    def errors(self):
        with self.lock:
            return bytes(self.err)

    def wait_output(self, expected, timeout=WAIT_SECONDS):
        """Waits until the whole output is `expected`; returns what it was."""
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            out = self.output()
            if out == expected or not expected.startswith(out):
                return out
            time.sleep(0.01)
        return self.output()

    def stop(self, sig=signal.SIGTERM):
        if self.proc.poll() is None:
            self.proc.send_signal(sig)
        try:
            code = self.proc.wait(timeout=WAIT_SECONDS)
        except subprocess.TimeoutExpired:
            self.proc.kill()
            code = self.proc.wait()
        for reader in self.readers:
            reader.join(timeout=WAIT_SECONDS)
        self.proc.stdout.close()
        self.proc.stderr.close()
        return code


class TailCase(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.mkdtemp(prefix="tarvik-tail-")
        self.addCleanup(shutil.rmtree, self.folder, ignore_errors=True)
        self.env = dict(os.environ, TARVIK_REGISTRY=os.path.join(self.folder, "registry.db"))
        self.followers = []
        self.addCleanup(self._stop_followers)

    def _stop_followers(self):
        for follower in self.followers:
            follower.stop(signal.SIGKILL)

    def path(self, name):
        return os.path.join(self.folder, name)

    def write(self, name, data, mode="wb"):
        with open(self.path(name), mode) as f:
            f.write(data if isinstance(data, bytes) else data.encode("utf-8"))
        return self.path(name)

    def append(self, name, data):
        return self.write(name, data, "ab")

    def set_option(self, name, value):
        result = subprocess.run([REG, "add", OPTIONS, "/v", name, "/t", "REG_DWORD", "/d",
                                 str(value), "/f"], capture_output=True, text=True,
                                env=self.env, timeout=60)
        self.assertEqual(result.returncode, 0, result.stderr)

    def once(self, *paths):
        return subprocess.run([TOOL, "--once", *paths], capture_output=True, env=self.env,
                              timeout=60)

    def follow(self, *paths, duration=30):
        follower = Follower(["--interval", str(INTERVAL_MS), "--duration", str(duration),
                             *paths], self.env)
        self.followers.append(follower)
        return follower

    def follow_slowly(self, *paths):
        """Follows with an interval far longer than any test: only file events
        can bring new lines in time."""
        follower = Follower(["--interval", "3600000", "--duration", "120", *paths], self.env)
        self.followers.append(follower)
        return follower

    def expect(self, follower, expected):
        """The follower shows exactly `expected` (all its output so far)."""
        if isinstance(expected, str):
            expected = expected.encode("utf-8")
        self.assertEqual(follower.wait_output(expected), expected, follower.errors())

    def quiet(self):
        time.sleep(QUIET_SECONDS)

    def finish(self, follower, expected):
        """Nothing more appears, and the follower ends cleanly when asked."""
        self.quiet()
        self.assertEqual(follower.stop(), 0, follower.errors())
        if isinstance(expected, str):
            expected = expected.encode("utf-8")
        self.assertEqual(follower.output(), expected)


class Once(TailCase):
    def test_prints_lines_and_a_last_line_only_when_it_has_text(self):
        result = self.once(self.write("a.log", "one\ntwo\r\nthree"))
        self.assertEqual((result.returncode, result.stdout), (0, b"one\ntwo\nthree\n"))
        result = self.once(self.write("b.log", "one\n\ntwo\n"))
        self.assertEqual((result.returncode, result.stdout), (0, b"one\n\ntwo\n"))
        result = self.once(self.write("empty.log", b""))
        self.assertEqual((result.returncode, result.stdout), (0, b""))

    def test_encodings_are_told_apart(self):
        texts = {
            "bom16.log": (utf16("héllo\r\nwörld €\r\n", bom=True), "héllo\nwörld €\n"),
            "plain16.log": (utf16("plain ascii line\nsecond\n"), "plain ascii line\nsecond\n"),
            "utf8.log": ("grüße 日本\n".encode("utf-8"), "grüße 日本\n"),
            "bom8.log": (b"\xef\xbb\xbf" + "mark ü\n".encode("utf-8"), "mark ü\n"),
            "invalid8.log": (b"bad \xff\xfe byte\n", "bad \ufffd\ufffd byte\n"),
        }
        for name, (data, shown) in texts.items():
            with self.subTest(name):
                result = self.once(self.write(name, data))
                self.assertEqual(result.returncode, 0, result.stderr)
                self.assertEqual(result.stdout.decode("utf-8"), shown)

    def test_control_characters_show_as_spaces(self):
        result = self.once(self.write("c.log", "a\x07b\x1bc\td\n"))
        self.assertEqual(result.stdout, b"a b c\td\n")

    def test_several_files_get_headers(self):
        a = self.write("a.log", "alpha\n")
        b = self.write("b.log", "beta 1\nbeta 2")
        result = self.once(a, b)
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertEqual(result.stdout.decode(),
                         f"==> {a} <==\nalpha\n\n==> {b} <==\nbeta 1\nbeta 2\n")

    def test_unopenable_paths_are_reported_after_the_others(self):
        a = self.write("a.log", "alpha\n")
        missing = self.path("missing.log")
        folder = self.path("folder.log")
        os.mkdir(folder)
        b = self.write("b.log", "beta\n")
        result = self.once(a, missing, folder, b)
        self.assertEqual(result.returncode, 1)
        self.assertIn(f"==> {a} <==\nalpha\n".encode(), result.stdout)
        self.assertTrue(result.stdout.endswith(f"==> {b} <==\nbeta\n".encode()), result.stdout)
        self.assertEqual(result.stderr.decode().splitlines(),
                         [f"Could not open file '{missing}'.", f"Could not open file '{folder}'."])

    def test_a_single_missing_file_fails(self):
        missing = self.path("missing.log")
        result = self.once(missing)
        self.assertEqual((result.returncode, result.stdout), (1, b""))
        self.assertEqual(result.stderr.decode(), f"Could not open file '{missing}'.\n")

    def test_a_file_without_read_permission_fails(self):
        if os.geteuid() == 0:
            self.skipTest("running as root, which reads a file whatever its mode")
        locked = self.write("locked.log", "secret\n")
        os.chmod(locked, 0)
        result = self.once(locked)
        self.assertEqual(result.returncode, 1)
        self.assertEqual(result.stderr.decode(), f"Could not open file '{locked}'.\n")

    def test_binary_junk_gives_printable_text(self):
        junk = bytes((i * 7919 + 13) % 256 for i in range(20000))
        result = self.once(self.write("junk.bin", junk))
        self.assertEqual(result.returncode, 0, result.stderr)
        text = result.stdout.decode("utf-8")  # well-formed whatever the input
        self.assertFalse([c for c in text if c < " " and c not in "\t\n"])

    def test_settings_store_limits_what_is_loaded(self):
        # Half of a 1026-byte limit is 513 bytes, an odd distance: the last 512
        # bytes (256 units) of the file are shown, starting inside a line.
        self.set_option("MaxBufSiz", 1026)
        self.set_option("TextEncoding", 1)
        text = "".join(f"line {i:04d} of the file\n" for i in range(100))[:2000]
        self.assertEqual(len(text), 2000)
        result = self.once(self.write("limited.log", utf16(text)))
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertEqual(result.stdout.decode(), text[-256:] + "\n")

    def test_bad_arguments_are_refused(self):
        for args in ([], ["--interval"], ["--interval", "soon", "x"], ["--bogus", "x"]):
            with self.subTest(args):
                result = subprocess.run([TOOL, *args], capture_output=True, env=self.env,
                                        timeout=60)
                self.assertNotEqual(result.returncode, 0)
                self.assertTrue(result.stderr.strip(), "a refusal must say why")

    def test_help_describes_each_option_once(self):
        result = subprocess.run([TOOL, "--help"], capture_output=True, env=self.env, timeout=60)
        self.assertEqual(result.returncode, 0)
        described = [line.split()[0] for line in result.stdout.decode().splitlines()
                     if line.startswith("  -")]
        self.assertEqual(sorted(described), sorted(set(described)))
        self.assertIn("--actions", described)


class Following(TailCase):
    def test_lines_appear_once_each_when_complete(self):
        log = self.write("f.log", "first\n")
        f = self.follow(log)
        self.expect(f, "first\n")
        self.append("f.log", "second\nthird\n")
        self.expect(f, "first\nsecond\nthird\n")
        self.append("f.log", "four")
        self.quiet()
        self.append("f.log", "th and more\n")
        self.expect(f, "first\nsecond\nthird\nfourth and more\n")
        self.finish(f, "first\nsecond\nthird\nfourth and more\n")

    def test_split_writes(self):
        cases = {
            # A CR LF pair split between polls is one line break, as in the file.
            "crlf.log": (utf16, "x\r", "\ny\n", "x\ny\n"),
            "crlf8.log": (str.encode, "x\r", "\ny\n", "x\ny\n"),
            "unit.log": (None, utf16("é")[:1], utf16("é")[1:] + utf16("\n"), "é\n"),
            "seq8.log": (None, "日".encode()[:2], "日".encode()[2:] + b"\n", "日\n"),
        }
        for name, (encode, first, second, shown) in cases.items():
            with self.subTest(name):
                bom = utf16("", bom=True) if name != "crlf8.log" and name != "seq8.log" else b""
                log = self.write(name, bom + (utf16("start\n") if bom else b"start\n"))
                f = self.follow(log)
                self.expect(f, "start\n")
                self.append(name, encode(first) if encode else first)
                self.quiet()
                self.append(name, encode(second) if encode else second)
                self.expect(f, "start\n" + shown)
                self.finish(f, "start\n" + shown)

    def test_utf16_and_utf8_files_follow(self):
        for name, encode in (("u16.log", lambda t: utf16(t)), ("u8.log", str.encode)):
            with self.subTest(name):
                log = self.write(name, (b"\xff\xfe" if name == "u16.log" else b"") +
                                 encode("één\n"))
                f = self.follow(log)
                self.expect(f, "één\n")
                self.append(name, encode("twee €\ndrie\n"))
                self.finish(f, "één\ntwee €\ndrie\n")

    def test_copytruncate_rotation_starts_over(self):
        old = "".join(f"old line {i:03d} with some padding text\n" for i in range(60))
        log = self.write("t.log", old)
        f = self.follow(log)
        self.expect(f, old)
        shutil.copyfile(log, self.path("t.log.1"))
        os.truncate(log, 0)
        self.quiet()
        self.append("t.log", "new 1\nnew 2\n")
        self.expect(f, old + "new 1\nnew 2\n")
        self.append("t.log", "new 3\n")
        self.finish(f, old + "new 1\nnew 2\nnew 3\n")

    def test_shrinking_in_place_starts_over(self):
        # Lines of 100 bytes: the file is cut by only 500 bytes, and still the
        # follower starts over from its start.
        def line(tag, i):
            return f"{tag} {i:04d} ".ljust(99, "-") + "\n"
        old = "".join(line("old", i) for i in range(20))
        log = self.write("s.log", old)
        f = self.follow(log)
        self.expect(f, old)
        os.truncate(log, 1500)
        self.expect(f, old + old[:1500])
        self.append("s.log", "".join(line("new", i) for i in range(15, 25)))
        shown = old + old[:1500] + "".join(line("new", i) for i in range(15, 25))
        self.expect(f, shown)
        self.finish(f, shown)

    def test_rename_and_recreate_rotation(self):
        log = self.write("r.log", "before 1\nbefore 2\n")
        f = self.follow(log)
        self.expect(f, "before 1\nbefore 2\n")
        os.rename(log, self.path("r.log.1"))
        self.write("r.log", "after 1\n")
        self.expect(f, "before 1\nbefore 2\nafter 1\n")
        self.append("r.log.1", "late line of the old file\n")
        self.append("r.log", "after 2\n")
        self.finish(f, "before 1\nbefore 2\nafter 1\nafter 2\n")

    def test_lines_written_just_before_a_rotation_are_kept(self):
        log = self.write("q.log", "before\n")
        f = self.follow(log)
        self.expect(f, "before\n")
        self.append("q.log", "last of the old file\n")
        os.rename(log, self.path("q.log.1"))
        self.write("q.log", "first of the new file\n")
        shown = "before\nlast of the old file\nfirst of the new file\n"
        self.expect(f, shown)
        self.finish(f, shown)

    def test_replacement_by_a_larger_file_is_noticed(self):
        log = self.write("big.log", "small start\n")
        f = self.follow(log)
        self.expect(f, "small start\n")
        bigger = "".join(f"replacement line {i:04d}\n" for i in range(200))
        self.write("big.log.new", bigger)
        os.rename(self.path("big.log.new"), log)
        self.expect(f, "small start\n" + bigger)
        self.finish(f, "small start\n" + bigger)

    def test_deletion_and_recreation(self):
        for name, size in (("small.log", 10), ("large.log", 100)):
            with self.subTest(name):
                old = "".join(f"old {i:03d} padding padding\n" for i in range(size))
                log = self.write(name, old)
                f = self.follow(log)
                self.expect(f, old)
                os.unlink(log)
                self.quiet()
                self.write(name, "reborn\n")
                self.expect(f, old + "reborn\n")
                self.append(name, "and grows\n")
                self.finish(f, old + "reborn\nand grows\n")

    def test_preallocated_nuls_are_overwritten(self):
        for name, encode, unit in (("n16.log", utf16, 2), ("n8.log", str.encode, 1)):
            with self.subTest(name):
                bom = b"\xff\xfe" if unit == 2 else b""
                start = bom + encode("first\n")
                log = self.write(name, start + b"\0" * 40000)
                f = self.follow(log)
                self.expect(f, "first\n")
                with open(log, "r+b") as w:
                    w.seek(len(start))
                    w.write(encode("second\n"))
                    w.flush()
                    self.expect(f, "first\nsecond\n")
                    w.write(encode("third\n"))
                self.finish(f, "first\nsecond\nthird\n")

    def test_junk_then_text(self):
        log = self.write("j.log", "text\n")
        f = self.follow(log)
        self.expect(f, "text\n")
        self.append("j.log", bytes(range(256)) * 8 + b"\n")
        self.append("j.log", "after junk\n")
        deadline = time.monotonic() + WAIT_SECONDS
        while not f.output().endswith(b"after junk\n") and time.monotonic() < deadline:
            time.sleep(0.01)
        self.assertEqual(f.stop(), 0, f.errors())
        text = f.output().decode("utf-8")
        self.assertTrue(text.startswith("text\n") and text.endswith("\nafter junk\n"), text)
        self.assertFalse([c for c in text if c < " " and c not in "\t\n"])

    def test_headers_follow_the_file_that_changed(self):
        a = self.write("a.log", "a1\n")
        b = self.write("b.log", "b1\n")
        f = self.follow(a, b)
        shown = f"==> {a} <==\na1\n\n==> {b} <==\nb1\n"
        self.expect(f, shown)
        self.append("a.log", "a2\n")
        shown += f"\n==> {a} <==\na2\n"
        self.expect(f, shown)
        self.append("a.log", "a3\n")
        shown += "a3\n"
        self.expect(f, shown)
        self.append("b.log", "b2\n")
        shown += f"\n==> {b} <==\nb2\n"
        self.finish(f, shown)

    def test_a_file_missing_at_start_is_reported_and_the_rest_followed(self):
        missing = self.path("missing.log")
        a = self.write("a.log", "a1\n")
        f = self.follow(missing, a, duration=1)
        self.assertEqual(f.proc.wait(timeout=WAIT_SECONDS), 1)
        f.stop()
        self.assertEqual(f.output().decode(), f"==> {a} <==\na1\n")
        self.assertEqual(f.errors().decode(), f"Could not open file '{missing}'.\n")


class Ending(TailCase):
    def test_duration_ends_the_run(self):
        log = self.write("d.log", "x\n")
        started = time.monotonic()
        result = subprocess.run([TOOL, "--interval", "50", "--duration", "1", log],
                                capture_output=True, env=self.env, timeout=60)
        elapsed = time.monotonic() - started
        self.assertEqual((result.returncode, result.stdout), (0, b"x\n"))
        self.assertGreaterEqual(elapsed, 0.9)
        self.assertLess(elapsed, 20)

    def test_a_huge_duration_is_cut_to_what_the_clock_holds(self):
        # 9.3e9 seconds overflowed the deadline, which then lay in the past.
        self.write("h.log", "x\n")
        f = Follower(["--interval", str(INTERVAL_MS), "--duration", "9300000000",
                      self.path("h.log")], self.env)
        self.followers.append(f)
        self.expect(f, "x\n")
        self.append("h.log", "y\n")
        self.expect(f, "x\ny\n")
        self.assertEqual(f.stop(), 0)
        self.assertIn("--duration 9300000000 is longer than the clock holds", f.errors().decode())

    def test_a_message_captured_after_the_last_tick_is_still_shown(self):
        channel = f"tail-{os.getpid()}"
        env = dict(self.env, TARVIK_DEBUG_CHANNEL=channel)
        self.addCleanup(remove_channel, channel)
        f = Follower(["--capture", "--interval", "5000", "--duration", "120"], env)
        self.followers.append(f)
        ods = os.path.join(os.path.dirname(TOOL), "tarvik-ods")
        # An empty message leaves no trace and gets through once it listens.
        deadline = time.monotonic() + WAIT_SECONDS
        while subprocess.run([ods, ""], env=env, capture_output=True, timeout=60).returncode != 0:
            self.assertLess(time.monotonic(), deadline, f.errors())
            time.sleep(0.01)
        self.assertEqual(subprocess.run([ods, "taken late"], env=env, capture_output=True,
                                        timeout=60).returncode, 0)
        # The channel is free again only once the monitor has taken the message.
        self.assertEqual(subprocess.run([ods, ""], env=env, capture_output=True,
                                        timeout=60).returncode, 0)
        self.assertEqual(f.stop(signal.SIGINT), 0, f.errors())
        self.assertIn(b"taken late", f.output())

    def test_signals_end_it_cleanly(self):
        for sig in (signal.SIGINT, signal.SIGTERM):
            with self.subTest(sig):
                f = self.follow(self.write("s.log", "line\n"), duration=60)
                self.expect(f, "line\n")
                self.assertEqual(f.stop(sig), 0, f.errors())


class FileEvents(TailCase):
    def test_events_bring_lines_before_the_interval_even_after_rotation(self):
        log = self.write("e.log", "first\n")
        f = self.follow_slowly(log)
        self.expect(f, "first\n")
        self.append("e.log", "second\n")
        self.expect(f, "first\nsecond\n")
        os.rename(log, self.path("e.log.1"))
        self.write("e.log", "rotated\n")
        self.expect(f, "first\nsecond\nrotated\n")
        self.append("e.log", "more\n")
        self.finish(f, "first\nsecond\nrotated\nmore\n")

    def test_with_the_option_off_only_the_interval_reads(self):
        self.set_option("WatchFileEvents", 0)
        log = self.write("t.log", "first\n")
        f = self.follow_slowly(log)
        self.expect(f, "first\n")
        self.append("t.log", "second\n")
        self.quiet()
        self.assertEqual(f.output(), b"first\n")
        # The last poll at the end still reads it.
        self.assertEqual(f.stop(), 0, f.errors())
        self.assertEqual(f.output(), b"first\nsecond\n")


class Actions(TailCase):
    STOP_UPDATING = r"HKCU\Software\Ostra Tarvik\Stop Updating"
    EMAIL_SETTINGS = r"HKCU\Software\Ostra Tarvik\EmailSettings"

    def add_value(self, key, name, kind, value):
        result = subprocess.run([REG, "add", key, "/v", name, "/t", kind, "/d", str(value), "/f"],
                                capture_output=True, text=True, env=self.env, timeout=60)
        self.assertEqual(result.returncode, 0, result.stderr)

    def start_sink(self):
        """A real SMTP server storing what it receives in a folder of its own."""
        # The system's Python carries the distribution's aiosmtpd.
        python = "/usr/bin/python3" if os.access("/usr/bin/python3", os.X_OK) else sys.executable
        if subprocess.run([python, "-c", "import aiosmtpd"], capture_output=True).returncode:
            self.skipTest("python3-aiosmtpd is not installed")
        inbox = self.path("inbox")
        os.mkdir(inbox)
        script = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "interop",
                              "smtp_sink.py")
        sink = subprocess.Popen([python, "-W", "ignore", script, "--folder", inbox,
                                 "--lifetime", "60"], stdout=subprocess.PIPE, text=True)
        self.addCleanup(lambda: (sink.terminate(), sink.wait(), sink.stdout.close()))
        return int(sink.stdout.readline()), inbox

    def test_a_quiet_file_gets_one_stop_updating_mail_only_with_actions(self):
        port, inbox = self.start_sink()
        self.add_value(self.EMAIL_SETTINGS, "SmtpServer", "REG_SZ", "127.0.0.1")
        self.add_value(self.EMAIL_SETTINGS, "SmtpPort", "REG_DWORD", port)
        self.add_value(self.EMAIL_SETTINGS, "MailFrom", "REG_SZ", "monitor@example.org")
        self.add_value(self.STOP_UPDATING, "SUNEnable", "REG_DWORD", 1)
        self.add_value(self.STOP_UPDATING, "SUNSeconds", "REG_DWORD", 1)
        self.add_value(self.STOP_UPDATING, "SUNEmails", "REG_SZ", "ops@example.org")
        log = self.write("quiet.log", "only line\n")
        plain = self.follow(log)
        acting = Follower(["--actions", "--interval", str(INTERVAL_MS), "--duration", "30", log],
                          self.env)
        self.followers.append(acting)

        told = f"tarvik-tail: stop-updating e-mail for {log} sent to ops@example.org\n".encode()
        deadline = time.monotonic() + WAIT_SECONDS
        while told not in acting.errors() and time.monotonic() < deadline:
            time.sleep(0.05)
        self.assertEqual(acting.errors(), told)
        self.assertEqual(acting.stop(), 0)
        self.assertEqual(plain.stop(), 0)
        self.assertEqual(plain.errors(), b"")
        self.assertEqual(sorted(os.listdir(inbox)), ["message1.eml", "message1.env"])
        with open(os.path.join(inbox, "message1.eml"), "rb") as message:
            self.assertIn(f'File "{log}" has stopped updating for 1 seconds since file open.'
                          .encode(), message.read())



JOURNAL_WRITER = "/lib/systemd/systemd-journal-remote"


class Journal(TailCase):
    """A journal name follows entries written by the system's own writer and
    prints them as the system's own reader does."""

    def write_entries(self, first, count):
        export = "".join(
            f"__REALTIME_TIMESTAMP={1765000000000000 + i * 1000000}\n"
            f"__MONOTONIC_TIMESTAMP={i + 1}\n_BOOT_ID=0123456789abcdef0123456789abcdef\n"
            f"_HOSTNAME=web1\nSYSLOG_IDENTIFIER=app\n_PID=42\nPRIORITY={i % 8}\n"
            f"MESSAGE=entry {i}\n\n" for i in range(first, first + count))
        subprocess.run([JOURNAL_WRITER, "--output=" + self.path("x.journal"), "-"],
                       input=export.encode(), capture_output=True, check=True, timeout=60)

    def journalctl(self, *matches):
        return subprocess.run(["journalctl", "--directory=" + self.folder, "-o", "short-iso",
                               "-q", *matches], capture_output=True, env=self.env, check=True,
                              timeout=60).stdout

    def test_prints_what_the_system_reader_shows_then_follows(self):
        self.env["TZ"] = "UTC"
        self.write_entries(0, 20)
        name = f"journal:?dir={self.folder}&priority=3"
        follower = self.follow(name)
        self.expect(follower, self.journalctl("-p", "3"))
        self.write_entries(20, 8)
        self.expect(follower, self.journalctl("-p", "3"))
        self.finish(follower, self.journalctl("-p", "3"))


if __name__ == "__main__":
    TOOL = sys.argv.pop(1)
    REG = sys.argv.pop(1)
    unittest.main(verbosity=1)
