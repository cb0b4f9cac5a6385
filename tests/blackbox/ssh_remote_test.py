#!/usr/bin/env python3
"""Remote documents against a real OpenSSH server: the throw-away server of
tests/support/test-sshd itself, then tarvik-tail following an ssh:// name
and sending the e-mail of a highlight filter for a line written on the far
side (this machine, reached through sshd).

Usage: ssh_remote_test.py TARVIK_TAIL TARVIK_REG [unittest arguments]
"""

import os
import pwd
import shutil
import subprocess
import sys
import tempfile
import time
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
SOURCE = os.path.normpath(os.path.join(HERE, "..", ".."))
TEST_SSHD = os.path.join(SOURCE, "tests", "support", "test-sshd")
sys.path.insert(0, HERE)
import tarvik_tail_test as tail  # noqa: E402  (its follower and SMTP sink)

WAIT_SECONDS = 20


def running_with(text):
    """Processes whose command line holds text."""
    found = []
    for entry in os.listdir("/proc"):
        if not entry.isdigit() or int(entry) == os.getpid():
            continue
        try:
            with open(f"/proc/{entry}/cmdline", "rb") as f:
                if text.encode() in f.read():
                    found.append(int(entry))
        except OSError:
            pass
    return found


class SshdCase(unittest.TestCase):
    """A server of its own for each case, stopped whatever happens."""

    def setUp(self):
        if not os.access("/usr/sbin/sshd", os.X_OK):
            self.skipTest("openssh-server is not installed (scripts/deps.sh)")
        self.server_folder = tempfile.mkdtemp(prefix="tarvik-sshd-")
        self.addCleanup(shutil.rmtree, self.server_folder, ignore_errors=True)
        self.sshd = os.path.join(self.server_folder, "sshd")
        started = subprocess.run([TEST_SSHD, "start", self.sshd], capture_output=True,
                                 text=True, timeout=120,
                                 env=dict(os.environ, TARVIK_TEST_SSHD_LIFETIME="300"))
        self.addCleanup(subprocess.run, [TEST_SSHD, "stop", self.sshd], timeout=60)
        self.assertEqual(started.returncode, 0, started.stderr)
        self.config = os.path.join(self.sshd, "ssh_config")

    def ssh(self, alias, command, **kwargs):
        return subprocess.run(["ssh", "-F", self.config, alias, command], capture_output=True,
                              text=True, stdin=subprocess.DEVNULL, timeout=60, **kwargs)


class Harness(SshdCase):
    def test_the_three_hosts_and_a_stop_that_leaves_nothing(self):
        key = self.ssh("tarvik-key", "echo logged in as $(id -un)")
        self.assertEqual(key.returncode, 0, key.stderr)
        self.assertEqual(key.stdout, f"logged in as {pwd.getpwuid(os.getuid()).pw_name}\n")
        refused = self.ssh("tarvik-password", "true")
        self.assertNotEqual(refused.returncode, 0)
        self.assertIn("Permission denied", refused.stderr)
        unknown = self.ssh("tarvik-unknown", "true")
        self.assertNotEqual(unknown.returncode, 0)
        self.assertIn("Host key verification failed", unknown.stderr)

        # A session still running, and a process that left it, end with the server.
        marker = f"tarvik-session-{os.getpid()}"
        session = subprocess.Popen(
            ["ssh", "-F", self.config, "tarvik-key",
             f"setsid sh -c 'sleep 600; : {marker}-left' </dev/null >/dev/null 2>&1 & "
             f"sh -c 'sleep 600; : {marker}'"],
            stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.addCleanup(session.wait, 60)
        deadline = time.monotonic() + WAIT_SECONDS
        while len(running_with(marker)) < 2 and time.monotonic() < deadline:
            time.sleep(0.05)
        self.assertEqual(len(running_with(marker)), 2)
        stopped = subprocess.run([TEST_SSHD, "stop", self.sshd], capture_output=True, text=True,
                                 timeout=60)
        self.assertEqual(stopped.returncode, 0, stopped.stderr)
        self.assertEqual(running_with(self.sshd), [])
        self.assertEqual(running_with(marker), [])


REMOTE_SOURCE = os.path.join(SOURCE, "src", "streams", "RemoteSource.cpp")


class RemoteActions(SshdCase, tail.TailCase):
    def setUp(self):
        if not os.path.exists(REMOTE_SOURCE):
            self.skipTest("this build has no remote documents (src/streams/RemoteSource.cpp)")
        tail.TailCase.setUp(self)
        SshdCase.setUp(self)
        self.env["TARVIK_SSH_CONFIG"] = self.config

    add_value = tail.Actions.add_value
    start_sink = tail.Actions.start_sink

    def test_a_line_written_remotely_sends_the_highlight_mail(self):
        port, inbox = self.start_sink()
        settings = tail.Actions.EMAIL_SETTINGS
        self.add_value(settings, "SmtpServer", "REG_SZ", "127.0.0.1")
        self.add_value(settings, "SmtpPort", "REG_DWORD", port)
        self.add_value(settings, "MailFrom", "REG_SZ", "monitor@example.org")
        highlight = r"HKCU\Software\Ostra Tarvik\HighlightFilters2\Filter1"
        for name, kind, value in (("Text", "REG_SZ", "ERROR"), ("Enable", "REG_DWORD", 1),
                                  ("SendEmail", "REG_DWORD", 1),
                                  ("Emails", "REG_SZ", "ops@example.org")):
            self.add_value(highlight, name, kind, value)
        log = self.write("remote.log", "old ERROR before the start\n")
        name = "ssh://tarvik-key" + log
        follower = tail.Follower(["--actions", "--interval", str(tail.INTERVAL_MS),
                                  "--duration", "60", name], self.env)
        self.followers.append(follower)
        self.expect(follower, "old ERROR before the start\n")

        # Written on the far side, through a session of the same server.
        written = self.ssh("tarvik-key", f"echo 'quiet line' >> {log}; "
                           f"echo '12:00 ERROR disk full' >> {log}")
        self.assertEqual(written.returncode, 0, written.stderr)
        self.expect(follower, "old ERROR before the start\nquiet line\n12:00 ERROR disk full\n")
        envelope = os.path.join(inbox, "message1.env")
        deadline = time.monotonic() + WAIT_SECONDS
        while not os.path.exists(envelope) and time.monotonic() < deadline:
            time.sleep(0.05)
        self.assertTrue(os.path.exists(envelope), follower.errors())
        with open(os.path.join(inbox, "message1.eml"), "rb") as message:
            content = message.read()
        self.assertIn(f'Highlight phrase "ERROR" occurred in file {name}'.encode(), content)
        self.assertIn(b"12:00 ERROR disk full", content)
        self.assertNotIn(b"before the start", content)
        told = b'tarvik-tail: e-mail sent to ops@example.org ("ERROR")'
        deadline = time.monotonic() + WAIT_SECONDS
        while told not in follower.errors() and time.monotonic() < deadline:
            time.sleep(0.05)
        self.assertIn(told, follower.errors())
        self.assertEqual(follower.stop(), 0, follower.errors())
        self.assertEqual(sorted(os.listdir(inbox)), ["message1.eml", "message1.env"])


if __name__ == "__main__":
    tail.TOOL = sys.argv.pop(1)
    tail.REG = sys.argv.pop(1)
    unittest.main(verbosity=1)
