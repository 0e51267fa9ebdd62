#!/usr/bin/env python3
"""Runs a Windows test under Wine with the radio simulator of the Linux desk
behind the Wine prefix's COM9.

    desk_radio.py --radiosim PATH -- wine test.exe [arguments]

The test asks on its standard output, a line each, and gets its answer on
its standard input:
    @radio start [simulator arguments]  ->  @radio ready <log file as a Windows path>
    @radio stop                          ->  @radio stopped
The simulator is reached through a link of its own (--link), which COM9 of
the prefix points at: started again, it is behind the same COM9. Every other
line of the test is passed through. The exit status is the test's.
"""
import argparse
import os
import subprocess
import sys
import tempfile


def windows_path(path):
    return "Z:" + path.replace("/", "\\")


class Radio:
    def __init__(self, radiosim, folder):
        self.radiosim = radiosim
        self.link = os.path.join(folder, "radio")
        self.log = os.path.join(folder, "radio-commands.log")
        self.process = None

    def start(self, arguments):
        self.stop()
        if os.path.exists(self.log):
            os.remove(self.log)
        self.process = subprocess.Popen(
            [self.radiosim, "--link", self.link, "--log", self.log, *arguments],
            stdout=subprocess.PIPE, stdin=subprocess.DEVNULL, text=True)
        # The first line is the terminal's path: the link is there from then on.
        return bool(self.process.stdout.readline().strip())

    def stop(self):
        if self.process and self.process.poll() is None:
            self.process.terminate()
            self.process.wait(10)
        self.process = None


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--radiosim", required=True)
    parser.add_argument("command", nargs=argparse.REMAINDER)
    options = parser.parse_args()
    command = options.command[1:] if options.command[:1] == ["--"] else options.command
    prefix = os.environ.get("WINEPREFIX", os.path.expanduser("~/.wine"))
    with tempfile.TemporaryDirectory(prefix="vmc-desk-radio-") as folder:
        radio = Radio(options.radiosim, folder)
        com = os.path.join(prefix, "dosdevices", "com9")
        if os.path.lexists(com):
            os.remove(com)
        os.symlink(radio.link, com)
        test = subprocess.Popen(command, stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)
        try:
            for line in test.stdout:
                if not line.startswith("@radio "):
                    sys.stdout.write(line)
                    sys.stdout.flush()
                    continue
                words = line.split()
                if words[1] == "start":
                    answer = "ready " + windows_path(radio.log) if radio.start(words[2:]) else "failed"
                else:
                    radio.stop()
                    answer = "stopped"
                test.stdin.write("@radio " + answer + "\n")
                test.stdin.flush()
            return test.wait()
        finally:
            radio.stop()
            if test.poll() is None:
                test.kill()
            os.remove(com)


if __name__ == "__main__":
    sys.exit(main())
