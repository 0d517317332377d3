#include "core/texts.h"

#include <algorithm>
#include <cctype>

namespace lumitrax::core {
namespace {

struct Current {
  std::string code = "en";
  std::vector<std::string> texts;  // empty: English
  std::vector<std::string> pseudo;
};

Current& State() {
  static Current state;
  return state;
}

bool IsUtf8(std::string_view text) {
  size_t i = 0;
  while (i < text.size()) {
    const auto byte = static_cast<unsigned char>(text[i]);
    size_t length = byte < 0x80 ? 1 : (byte >> 5) == 0x6 ? 2 : (byte >> 4) == 0xE ? 3 : (byte >> 3) == 0x1E ? 4 : 0;
    if (length == 0 || i + length > text.size()) return false;
    for (size_t k = 1; k < length; ++k)
      if ((static_cast<unsigned char>(text[i + k]) >> 6) != 0x2) return false;
    i += length;
  }
  return true;
}

std::string Lower(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

// Accented forms of the ASCII letters: one mark above for vowels, one below
// for consonants, as combining characters after the letter.
constexpr std::string_view kAbove = "\xCC\x81";  // U+0301 combining acute accent
constexpr std::string_view kBelow = "\xCC\xA3";  // U+0323 combining dot below

}  // namespace

std::optional<LanguageTable> ParseLanguageTable(std::string_view blob) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (start < blob.size()) {
    const size_t end = blob.find('\0', start);
    if (end == std::string_view::npos) return std::nullopt;
    const std::string_view part = blob.substr(start, end - start);
    if (!IsUtf8(part)) return std::nullopt;
    parts.emplace_back(part);
    start = end + 1;
  }
  if (parts.size() != static_cast<size_t>(TextCount) + 1 || parts[0].empty()) return std::nullopt;
  LanguageTable table;
  table.code = parts[0];
  table.texts.assign(parts.begin() + 1, parts.end());
  return table;
}

void UseLanguage(LanguageTable table) {
  Current& state = State();
  state.code = std::move(table.code);
  state.texts = std::move(table.texts);
  state.texts.resize(TextCount);
  state.pseudo.clear();
}

void UseEnglish() {
  Current& state = State();
  state.code = "en";
  state.texts.clear();
  state.pseudo.clear();
}

void UsePseudoLanguage() {
  Current& state = State();
  state.code = std::string(PseudoLanguageCode);
  state.texts.clear();
  state.pseudo.clear();
  for (const char* english : EnglishTexts) state.pseudo.push_back(PseudoText(english));
}

const std::string& CurrentLanguage() { return State().code; }

std::string_view Text(T id) {
  const auto index = static_cast<size_t>(id);
  if (index >= TextCount) return {};
  const Current& state = State();
  if (!state.pseudo.empty()) return state.pseudo[index];
  if (index < state.texts.size() && !state.texts[index].empty()) return state.texts[index];
  return EnglishTexts[index];
}

std::string FillPlaceholders(std::string_view pattern, std::initializer_list<std::string_view> args) {
  return FillPlaceholders(pattern, std::vector<std::string_view>(args));
}

std::string FillPlaceholders(std::string_view pattern, const std::vector<std::string_view>& args) {
  std::string out;
  for (size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] == '%' && i + 1 < pattern.size() && pattern[i + 1] >= '1' && pattern[i + 1] <= '9') {
      const auto n = static_cast<size_t>(pattern[i + 1] - '1');
      if (n < args.size()) {
        out += args[n];
        ++i;
        continue;
      }
    }
    out += pattern[i];
  }
  return out;
}

std::string FormatText(T id, std::initializer_list<std::string_view> args) { return FillPlaceholders(Text(id), args); }

std::string PseudoText(std::string_view english) {
  if (english.empty()) return {};
  std::string body;
  for (size_t i = 0; i < english.size(); ++i) {
    const char c = english[i];
    body += c;
    // A mnemonic's letter and a placeholder's digit stay plain.
    if ((c == '&' || c == '%') && i + 1 < english.size()) {
      body += english[++i];
      continue;
    }
    if (std::isalpha(static_cast<unsigned char>(c)))
      body += std::string_view("aeiouyAEIOUY").find(c) != std::string_view::npos ? kAbove : kBelow;
  }
  // About 40 % more room: one padding character for every 2.5 characters.
  const size_t padding = std::max<size_t>(1, (english.size() * 2 + 4) / 5);
  std::string pad;
  // Words of four, so that a wrapping text still wraps.
  for (size_t i = 0; i < padding; ++i) pad += (i % 5 == 4) ? " " : (i % 2 == 0) ? "\xC2\xB7" : "~";  // U+00B7 middle dot
  return "[" + body + " " + pad + "]";
}

bool IsPseudoText(std::string_view text) {
  return text.size() >= 2 && text.front() == '[' && text.back() == ']' &&
         (text.find(kAbove) != std::string_view::npos || text.find(kBelow) != std::string_view::npos ||
          text.find("\xC2\xB7") != std::string_view::npos);
}

std::string MatchLanguage(const std::vector<std::string>& preferred, const std::vector<std::string>& available) {
  auto has = [&](std::string_view code) {
    return std::find_if(available.begin(), available.end(), [&](const std::string& a) { return Lower(a) == code; }) !=
           available.end();
  };
  auto original = [&](std::string_view code) {
    for (const std::string& a : available)
      if (Lower(a) == code) return a;
    return std::string("en");
  };
  for (const std::string& tag : preferred) {
    const std::string lower = Lower(tag);
    if (lower.empty()) continue;
    if (lower == PseudoLanguageCode) return std::string(PseudoLanguageCode);
    const std::string primary = lower.substr(0, lower.find('-'));
    if (primary == "en") return "en";
    if (primary == "zh") {
      // Traditional for Taiwan, Hong Kong and Macao and for an explicit script;
      // Simplified otherwise.
      const bool traditional = lower.find("hant") != std::string::npos || lower.find("-tw") != std::string::npos ||
                               lower.find("-hk") != std::string::npos || lower.find("-mo") != std::string::npos;
      const bool simplified = lower.find("hans") != std::string::npos;
      const std::string code = traditional && !simplified ? "zh-tw" : "zh-cn";
      if (has(code)) return original(code);
      continue;
    }
    if (has(lower)) return original(lower);
    // A regional variant we lack is served by the language's table: Portuguese
    // of Portugal reads the Brazilian one rather than English.
    for (const std::string& a : available) {
      const std::string code = Lower(a);
      if (code.substr(0, code.find('-')) == primary) return a;
    }
  }
  return "en";
}

}  // namespace lumitrax::core
