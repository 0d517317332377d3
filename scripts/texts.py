#!/usr/bin/env python3
"""Builds the program's text tables from lang/*.lang.

  texts.py LANG_DIR OUT_DIR        writes OUT_DIR/texts_table.h (the names and
                                   the English texts, for the code) and, for
                                   every other language, OUT_DIR/texts_<code>.bin
                                   and OUT_DIR/texts.rc (one RCDATA "TEXTS" per
                                   language, tagged with its LANGID)
  texts.py --check LANG_DIR        only checks the tables, prints what is wrong

English (en.lang) names every entry and is the fallback of every other
language. A translation is checked against it: no unknown names, the same
placeholders (%1, %2), exactly one mnemonic where English has one, no mnemonic
letter twice in one window.
"""
import os
import re
import sys

# The languages the program knows: file code -> (LANGID, Windows' language tag).
LANGUAGES = {
    "en": (0x0409, "en-US"),
    "de": (0x0407, "de-DE"),
    "fr": (0x040C, "fr-FR"),
    "es": (0x0C0A, "es-ES"),
    "it": (0x0410, "it-IT"),
    "pt-BR": (0x0416, "pt-BR"),
    "nl": (0x0413, "nl-NL"),
    "pl": (0x0415, "pl-PL"),
    "cs": (0x0405, "cs-CZ"),
    "ru": (0x0419, "ru-RU"),
    "uk": (0x0422, "uk-UA"),
    "tr": (0x041F, "tr-TR"),
    "ja": (0x0411, "ja-JP"),
    "ko": (0x0412, "ko-KR"),
    "zh-CN": (0x0804, "zh-CN"),
    "zh-TW": (0x0404, "zh-TW"),
}

# Entries shown together in one window: their mnemonics must differ.
WINDOWS = {
    "the settings window": ["AutoRun", "BeepOnSwitch", "MoreSettingsButton", "Led1Label", "Led2Label", "Led3Label",
                            "IconMarks", "GridLabel", "OsdNumLock", "OsdCapsLock", "OsdScrollLock", "OsdAutoHide",
                            "OsdHideAfter", "OsdSizeLabel", "OsdBodyLabel", "OsdTextLabel", "OsdOpacityLabel"],
    "the More settings window": ["PlacementLabel", "OutOfTheWay", "BeepTones", "UsageReports", "LanguageLabel"],
    "the close question": ["Yes", "No"],
}

ESCAPES = {"n": "\n", "r": "\r", "t": "\t", "\\": "\\", "s": " "}


def unescape(text, where):
    out, i = [], 0
    while i < len(text):
        c = text[i]
        if c == "\\":
            if i + 1 >= len(text) or text[i + 1] not in ESCAPES:
                raise ValueError(f"{where}: unknown escape in {text!r}")
            out.append(ESCAPES[text[i + 1]])
            i += 2
        else:
            out.append(c)
            i += 1
    return "".join(out)


def read_table(path):
    """The entries of one file, in their order: [(name, text)]."""
    entries, seen = [], set()
    with open(path, encoding="utf-8") as f:
        for number, line in enumerate(f, 1):
            line = line.rstrip("\n").strip()
            if not line or line.startswith("#"):
                continue
            where = f"{os.path.basename(path)}:{number}"
            match = re.fullmatch(r"([A-Za-z][A-Za-z0-9]*)\s*=\s*(.*)", line)
            if not match:
                raise ValueError(f"{where}: not an entry: {line!r}")
            name, text = match.group(1), unescape(match.group(2), where)
            if name in seen:
                raise ValueError(f"{where}: {name} twice")
            seen.add(name)
            entries.append((name, text))
    return entries


def mnemonic(text):
    """The mnemonic letter of a text (lower case), or None; '&&' is a plain '&'."""
    plain = text.replace("&&", "")
    count = plain.count("&")
    if count == 0:
        return None, 0
    index = plain.index("&")
    letter = plain[index + 1:index + 2].lower()
    return letter, count


def check(english, code, table):
    problems = []
    known = dict(english)
    for name, text in table:
        if name not in known:
            problems.append(f"{code}: {name} is no entry of the English table")
            continue
        if sorted(re.findall(r"%\d", text)) != sorted(re.findall(r"%\d", known[name])):
            problems.append(f"{code}: {name} must keep the placeholders of {known[name]!r}")
        _, en_count = mnemonic(known[name])
        letter, count = mnemonic(text)
        if en_count != count:
            problems.append(f"{code}: {name} has {count} mnemonics where English has {en_count}")
        elif count and (not letter or letter.isspace()):
            problems.append(f"{code}: {name}'s mnemonic marks no letter")
    texts = dict(table)
    for window, names in WINDOWS.items():
        letters = {}
        for name in names:
            letter, _ = mnemonic(texts.get(name, known.get(name, "")))
            if letter and letter in letters:
                problems.append(f"{code}: {name} and {letters[letter]} share the mnemonic '{letter}' in {window}")
            elif letter:
                letters[letter] = name
    return problems


def load(lang_dir):
    english = read_table(os.path.join(lang_dir, "en.lang"))
    others = {}
    for file in sorted(os.listdir(lang_dir)):
        if not file.endswith(".lang") or file == "en.lang":
            continue
        code = file[:-len(".lang")]
        if code not in LANGUAGES:
            raise ValueError(f"{file}: no language the program knows (add it to LANGUAGES in {sys.argv[0]})")
        others[code] = read_table(os.path.join(lang_dir, file))
    problems = check(english, "en", english)
    for code, table in others.items():
        problems += check(english, code, table)
    return english, others, problems


def c_string(text):
    out = []
    for byte in text.encode("utf-8"):
        ch = chr(byte)
        if ch == "\\" or ch == '"':
            out.append("\\" + ch)
        elif 32 <= byte < 127:
            out.append(ch)
        else:
            out.append(f"\\{byte:03o}")
    return '"' + "".join(out) + '"'


def write_if_changed(path, data):
    if isinstance(data, str):
        data = data.encode("utf-8")
    if os.path.exists(path):
        with open(path, "rb") as f:
            if f.read() == data:
                return
    with open(path, "wb") as f:
        f.write(data)


def blob(code, english, table):
    """code NUL, then every entry of the English table in its order, NUL after
    each; an empty entry stands for English."""
    texts = dict(table)
    parts = [code] + [texts.get(name, "") for name, _ in english]
    return b"".join(part.encode("utf-8") + b"\0" for part in parts)


def main(argv):
    if len(argv) == 3 and argv[1] == "--check":
        _, _, problems = load(argv[2])
        for problem in problems:
            print(problem)
        return 1 if problems else 0
    if len(argv) != 3:
        print(__doc__)
        return 2
    lang_dir, out_dir = argv[1], argv[2]
    english, others, problems = load(lang_dir)
    if problems:
        for problem in problems:
            print(problem, file=sys.stderr)
        return 1
    os.makedirs(out_dir, exist_ok=True)
    header = ["// Made by scripts/texts.py from lang/en.lang: do not edit.", "#pragma once", "",
              "namespace lumitrax::core {", "", "enum class T : unsigned short {"]
    header += [f"  {name}," for name, _ in english]
    header += ["};", "", f"inline constexpr unsigned short TextCount = {len(english)};", "",
               "inline constexpr const char* EnglishTexts[TextCount] = {"]
    header += [f"    {c_string(text)}," for _, text in english]
    header += ["};", "", "}  // namespace lumitrax::core", ""]
    write_if_changed(os.path.join(out_dir, "texts_table.h"), "\n".join(header))
    rc = ["// Made by scripts/texts.py from lang/*.lang: do not edit.", ""]
    for code in sorted(others):
        langid = LANGUAGES[code][0]
        name = f"texts_{code}.bin"
        write_if_changed(os.path.join(out_dir, name), blob(code, english, others[code]))
        rc.append(f"LANGUAGE 0x{langid & 0x3FF:02X}, 0x{langid >> 10:X}")
        rc.append(f'TEXTS RCDATA "{name}"')
    rc.append("LANGUAGE 0x09, 0x1")
    write_if_changed(os.path.join(out_dir, "texts.rc"), "\n".join(rc) + "\n")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
