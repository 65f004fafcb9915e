#!/usr/bin/env python3
"""Writes the manual page of the command line from the program's own help.

    make-manpage.py TEMPOLATCH VERSION OUT

Runs `TEMPOLATCH --help` and `TEMPOLATCH COMMAND --help` for every command
that help lists, so that the page says exactly what the program says.
"""
import os
import re
import subprocess
import sys
import tempfile


def run_help(exe, words, profile):
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen", LC_ALL="C.UTF-8")
    env["TEMPOLATCH_PROFILE"] = profile
    result = subprocess.run([exe, *words, "--help"], env=env, capture_output=True,
                            text=True, check=False)
    if result.returncode != 0:
        sys.exit(f"make-manpage: '{' '.join(words)} --help' exited {result.returncode}: "
                 f"{result.stderr.strip()}")
    return result.stdout


def roff_text(text):
    """Preformatted lines, escaped for roff."""
    lines = []
    for line in text.rstrip("\n").split("\n"):
        line = line.replace("\\", "\\e")
        if line.startswith((".", "'")):
            line = "\\&" + line
        lines.append(line)
    return ".nf\n" + "\n".join(lines) + "\n.fi\n"


def command_words(synopsis):
    """The command's own words: those before its first argument or option."""
    words = []
    for word in synopsis.split():
        if not re.fullmatch(r"[a-z][a-z0-9-]*", word):
            break
        words.append(word)
    return words


def split_program_help(text):
    """(usage line, the text before the commands, [(synopsis, description)])."""
    head, _, commands = text.partition("\nCommands:\n")
    usage, _, intro = head.partition("\n")
    entries = re.findall(r"^  (\S.*)\n      (.*)$", commands, re.MULTILINE)
    if not entries:
        sys.exit("make-manpage: the program's --help lists no commands")
    return usage, intro, entries


def main():
    exe, version, out = sys.argv[1:4]
    with tempfile.TemporaryDirectory() as profile:
        usage, intro, entries = split_program_help(run_help(exe, [], profile))
        page = [
            f'.TH TEMPOLATCH 1 "" "tempolatch {version}" "User Commands"',
            ".SH NAME",
            "tempolatch \\- record time and expenses and bill clients",
            ".SH SYNOPSIS",
            roff_text(usage.replace("usage: ", "", 1)).rstrip("\n"),
            ".SH DESCRIPTION",
            "Without a command, tempolatch starts its window; given the name of a backup",
            "(.tld), archive (.tla) or client structure file (.tlc), the window offers to",
            "restore, load or import it. A command runs without a window.",
            roff_text(intro).rstrip("\n"),
            ".SH COMMANDS",
        ]
        for synopsis, _ in entries:
            text = run_help(exe, command_words(synopsis), profile)
            # The command's usage line becomes its heading.
            body = text.split("\n", 1)[1] if text.startswith("usage:") else text
            page.append(".SS " + synopsis.replace("\\", "\\e"))
            page.append(roff_text(body).rstrip("\n"))
        page += [
            ".SH ENVIRONMENT",
            ".TP",
            ".B TEMPOLATCH_PROFILE",
            "The profile folder, as --profile gives it.",
            ".SH FILES",
            ".TP",
            ".I ~/.local/share/Tempolatch",
            "The default profile: the store (store.db) and the settings (registry.db).",
        ]
    with open(out, "w", encoding="utf-8") as f:
        f.write("\n".join(page) + "\n")


if __name__ == "__main__":
    main()
