#pragma once
// The texts a user reads, in the language chosen: looked up by name (T::...),
// English where the language has no text of its own. The tables come from
// lang/*.lang (scripts/texts.py); English is built in, the others are handed
// over by the program as the blobs it finds among its resources.
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "texts_table.h"

namespace lumitrax::core {

// One language's table: its code ("de", "pt-BR") and a text per entry, empty
// where English stands in.
struct LanguageTable {
  std::string code;
  std::vector<std::string> texts;
};

// A table built by scripts/texts.py: the code and then every entry, each
// ended by a NUL. Nothing for a blob that is not one (too few entries, no
// end, text that is not UTF-8).
std::optional<LanguageTable> ParseLanguageTable(std::string_view blob);

// The language the texts come from from now on. The pseudo-language makes
// every English text about 40 % longer with accents above and below, marked
// at both ends, so that a text that is cut or does not come from the table
// shows at once.
void UseLanguage(LanguageTable table);
void UseEnglish();
void UsePseudoLanguage();
// "en", a table's code, or PseudoLanguageCode.
const std::string& CurrentLanguage();
inline constexpr std::string_view PseudoLanguageCode = "qps-ploc";

// The text of an entry in the current language (UTF-8).
std::string_view Text(T id);
// The text with %1, %2, ... replaced by the arguments, in whatever order the
// language puts them.
std::string FormatText(T id, std::initializer_list<std::string_view> args);
std::string FillPlaceholders(std::string_view pattern, std::initializer_list<std::string_view> args);
std::string FillPlaceholders(std::string_view pattern, const std::vector<std::string_view>& args);

// The pseudo-language's form of a text: "[" + the text with accents, padded
// to about 140 % + "]"; mnemonics (&), placeholders (%1) and line breaks stay
// as they are.
std::string PseudoText(std::string_view english);
// Whether a text shown on screen has the pseudo-language's form.
bool IsPseudoText(std::string_view text);

// The language to use for a user's preferred UI languages in their order
// (Windows tags such as "de-DE", "zh-Hant-TW", "pt-PT"), among the available
// codes: the first preferred language that one of them serves, else "en".
std::string MatchLanguage(const std::vector<std::string>& preferred, const std::vector<std::string>& available);

}  // namespace lumitrax::core
