#!/usr/bin/env python3
"""Checks the installer's languages: installer/lumitrax.nsi inserts the sixteen
languages (English first), every text of our own that the user reads is a
LangString, and every LangString has a text in every language that keeps the
English text's placeholders and is no copy of it.

Usage: check_languages.py [INSTALLER_DIR]   (default: the checkout's installer/)
Ends with 1 and a line for each fault found."""
import pathlib
import re
import sys

LANGUAGES = ["English", "German", "French", "Spanish", "Italian", "PortugueseBR", "Dutch", "Polish",
             "Czech", "Russian", "Ukrainian", "Turkish", "Japanese", "Korean", "SimpChinese", "TradChinese"]
PRODUCT = "Lumitrax"

# Commands whose text the user reads, and the argument that holds it.
TEXT_COMMANDS = {
    "MessageBox": 2,            # MessageBox flags text ...
    "Abort": 1,
    "DetailPrint": 1,
    "MUI_DESCRIPTION_TEXT": 3,  # !insertmacro MUI_DESCRIPTION_TEXT section text
}
TEXT_DEFINE = re.compile(r"^MUI_\w*(TEXT|TITLE)\w*$")
STRING = re.compile(r'"((?:[^"$]|\$\\"|\$\\.|\$[^\\])*)"|\'([^\']*)\'|`([^`]*)`|(\S+)')
LANGSTRING = re.compile(r'^\s*LangString\s+(\S+)\s+\$\{LANG_(\w+)\}\s+"(.*)"\s*$')
REFERENCE = re.compile(r"\$\((\^?[\w.]+)\)")
DEFINE = re.compile(r"\$\{(\w+)\}")


def words(line):
    """The arguments of a script line, quotes removed."""
    return [next(g for g in m.groups() if g is not None) for m in STRING.finditer(line)]


def literal_words(text):
    """The words a text shows that come from no LangString, define or variable."""
    text = REFERENCE.sub(" ", text)
    text = DEFINE.sub(" ", text)
    text = re.sub(r"\$\\.", " ", text)          # $\r $\n $\" $\t
    text = re.sub(r"\$\w+", " ", text)          # variables
    return [w for w in re.findall(r"[^\W\d_]{2,}", text) if w != PRODUCT]


def script_lines(path):
    """The lines of a script with continuations joined and comments removed."""
    joined, pending = [], ""
    for raw in path.read_text(encoding="utf-8").splitlines():
        line = raw.strip()
        if not pending and (line.startswith(";") or line.startswith("#")):
            continue
        if line.endswith("\\"):
            pending += line[:-1] + " "
            continue
        joined.append(pending + line)
        pending = ""
    return joined


def check(installer):
    faults = []
    script = installer / "lumitrax.nsi"
    lines = script_lines(script)
    if not any(re.fullmatch(r"Unicode\s+true", line, re.I) for line in lines):
        faults.append("lumitrax.nsi: no \"Unicode true\"")
    if not any(re.fullmatch(r"!pragma\s+warning\s+error\s+6040", line) for line in lines):
        faults.append("lumitrax.nsi: a LangString missing in a language is not an error (!pragma warning error 6040)")

    inserted = [words(line)[2] for line in lines
                if re.match(r"!insertmacro\s+LUMITRAX_LANGUAGE\s", line)]
    if inserted != LANGUAGES:
        faults.append(f"lumitrax.nsi inserts {inserted}, not {LANGUAGES} in this order")
    if not any(re.match(r'!insertmacro\s+MUI_LANGUAGE\s+"\$\{NAME\}"', line) for line in lines):
        faults.append("lumitrax.nsi: LUMITRAX_LANGUAGE does not insert the Modern UI's language")
    if any(re.match(r"!insertmacro\s+MUI_LANGDLL_DISPLAY", line) for line in lines):
        faults.append("lumitrax.nsi shows the language dialog")

    # Our texts the user reads: each only LangStrings, defines and variables.
    used = set()
    for number, line in enumerate(lines, 1):
        args = words(line)
        if not args:
            continue
        texts = []
        command = args[1] if args[0] == "!insertmacro" and len(args) > 1 else args[0]
        if command in TEXT_COMMANDS and len(args) > TEXT_COMMANDS[command]:
            texts.append(args[TEXT_COMMANDS[command]])
        elif args[0] == "!define" and len(args) > 2 and TEXT_DEFINE.match(args[1]):
            texts.append(args[2])
        elif args[0] == "Section" and len(args) > 1:
            name = [a for a in args[1:] if not a.startswith("/")][0]
            texts.append(name[3:] if name.startswith("un.") else name)
        elif args[0] == "StrCpy" and len(args) > 2 and args[1] == "$WelcomeText":
            texts.append(args[2])
        for text in texts:
            literal = literal_words(text)
            if literal:
                faults.append(f"lumitrax.nsi: {command} shows words of its own, not a $(LangString): {text!r}")
        used.update(REFERENCE.findall(line))

    # The LangStrings of each language, from that language's own file.
    table = {}
    for language in LANGUAGES:
        path = installer / "languages" / f"{language}.nsh"
        if not path.is_file():
            faults.append(f"no {path}")
            continue
        try:
            text = path.read_text(encoding="utf-8")
        except UnicodeDecodeError:
            faults.append(f"{path.name} is not UTF-8")
            continue
        strings = {}
        for line in text.splitlines():
            if not line.strip() or line.lstrip().startswith(";"):
                continue
            m = LANGSTRING.match(line)
            if not m:
                faults.append(f"{path.name}: not a LangString line: {line[:60]!r}")
                continue
            name, constant, value = m.groups()
            if constant != language.upper():
                faults.append(f"{path.name}: {name} is given for LANG_{constant}")
            if name in strings:
                faults.append(f"{path.name}: {name} is given twice")
            strings[name] = value
        table[language] = strings

    english = table.get("English", {})
    for name in english.values():
        used.update(REFERENCE.findall(name))
    ours = {name for name in used if not name.startswith("^") and not name.startswith("MUI_")}
    for name in sorted(ours - set(english)):
        faults.append(f"$({name}) is used but has no English text")
    for name in sorted(set(english) - ours):
        faults.append(f"LangString {name} is never used")

    def placeholders(value):
        return (sorted(DEFINE.findall(value)), sorted(REFERENCE.findall(value)), value.count("$\\r$\\n"))

    for language, strings in table.items():
        for name in sorted(set(english) - set(strings)):
            faults.append(f"{language}: no text for {name}")
        for name in sorted(set(strings) - set(english)):
            faults.append(f"{language}: {name} is no English LangString")
        if language == "English":
            continue
        for name in sorted(set(strings) & set(english)):
            value = strings[name]
            if value == english[name]:
                faults.append(f"{language}: {name} is the English text")
            elif placeholders(value) != placeholders(english[name]):
                faults.append(f"{language}: {name} does not keep the English text's "
                              f"defines, LangStrings and line breaks {placeholders(english[name])}")
    return faults


def main():
    installer = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else pathlib.Path(__file__).parents[2] / "installer")
    faults = check(installer)
    for fault in faults:
        print(f"check_languages: {fault}")
    if not faults:
        count = len(LANGUAGES)
        print(f"check_languages: {count} languages, every text of the installer in each")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
