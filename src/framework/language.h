#pragma once
// The program's languages: the tables among its resources (RCDATA "TEXTS",
// one per language, tagged with its LANGID), the user's preferred UI
// languages, and the texts of the language in use as wide strings.
#include <windows.h>

#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "core/texts.h"

namespace lumitrax {

using core::T;

struct TLanguageInfo {
  std::string code;   // "en", "de", "pt-BR"
  std::wstring name;  // the language's own name: "Deutsch"
};

// English first, then every table among the resources, in the order of
// their own names.
std::vector<TLanguageInfo> AvailableLanguages();

// The user's UI languages in Windows' fallback order (the thread's preferred
// UI languages, as tags: "de-DE"). A test may put its own list in place.
std::vector<std::string> PreferredUILanguages();
extern std::function<std::vector<std::string>()> PreferredUILanguagesForTesting;

// Puts the "Language" setting to use: empty for the Windows default, a
// language's code, or the pseudo-language. A code without a table (or a
// damaged one) means the Windows default. Returns the code now in use.
std::string UseLanguageSetting(const std::string& setting);

// A text of the language in use.
std::wstring Tr(core::T id);
std::wstring TrFormat(core::T id, std::initializer_list<std::wstring_view> args);

// The face of the message font of the non-client metrics: the system's UI
// font, which Windows links to fonts for the scripts it lacks.
const std::wstring& UiFontFace();

}  // namespace lumitrax
