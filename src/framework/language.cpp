#include "framework/language.h"

#include <algorithm>

#include "framework/text.h"

namespace lumitrax {
namespace {

constexpr wchar_t kTextsName[] = L"TEXTS";

std::vector<LANGID> TableLanguages() {
  std::vector<LANGID> ids;
  ::EnumResourceLanguagesW(
      nullptr, RT_RCDATA, kTextsName,
      [](HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR list) -> BOOL {
        // Called by Windows: nothing may unwind into it.
        try {
          reinterpret_cast<std::vector<LANGID>*>(list)->push_back(language);
          return TRUE;
        } catch (...) {
          return FALSE;
        }
      },
      reinterpret_cast<LONG_PTR>(&ids));
  return ids;
}

std::optional<core::LanguageTable> LoadTable(LANGID language) {
  const HRSRC found = ::FindResourceExW(nullptr, RT_RCDATA, kTextsName, language);
  if (!found) return std::nullopt;
  const HGLOBAL loaded = ::LoadResource(nullptr, found);  // a module's resource: never freed
  const void* bytes = loaded ? ::LockResource(loaded) : nullptr;
  if (!bytes) return std::nullopt;
  return core::ParseLanguageTable(
      std::string_view(static_cast<const char*>(bytes), ::SizeofResource(nullptr, found)));
}

std::vector<core::LanguageTable> AllTables() {
  std::vector<core::LanguageTable> tables;
  for (LANGID language : TableLanguages())
    if (auto table = LoadTable(language)) tables.push_back(std::move(*table));
  return tables;
}

}  // namespace

std::function<std::vector<std::string>()> PreferredUILanguagesForTesting;

std::vector<TLanguageInfo> AvailableLanguages() {
  std::vector<TLanguageInfo> languages;
  for (const core::LanguageTable& table : AllTables()) {
    const std::string& name = table.texts[static_cast<size_t>(core::T::LanguageName)];
    languages.push_back({table.code, Widen(name.empty() ? table.code : name)});
  }
  std::sort(languages.begin(), languages.end(),
            [](const TLanguageInfo& a, const TLanguageInfo& b) { return a.name < b.name; });
  languages.insert(languages.begin(), {"en", Widen(core::EnglishTexts[static_cast<size_t>(core::T::LanguageName)])});
  return languages;
}

std::vector<std::string> PreferredUILanguages() {
  if (PreferredUILanguagesForTesting) return PreferredUILanguagesForTesting();
  // A double-NUL-ended list of tags, the user's choices first, then the
  // fallbacks Windows itself would use.
  ULONG count = 0, size = 0;
  const DWORD flags = MUI_LANGUAGE_NAME | MUI_MERGE_USER_FALLBACK | MUI_MERGE_SYSTEM_FALLBACK;
  if (!::GetThreadPreferredUILanguages(flags, &count, nullptr, &size) || size == 0) return {};
  std::wstring buffer(size, L'\0');
  if (!::GetThreadPreferredUILanguages(flags, &count, buffer.data(), &size)) return {};
  std::vector<std::string> tags;
  for (size_t start = 0; start < buffer.size() && buffer[start];) {
    const size_t end = buffer.find(L'\0', start);
    tags.push_back(Narrow(buffer.substr(start, end - start)));
    if (end == std::wstring::npos) break;
    start = end + 1;
  }
  return tags;
}

std::string UseLanguageSetting(const std::string& setting) {
  if (setting == core::PseudoLanguageCode) {
    core::UsePseudoLanguage();
    return core::CurrentLanguage();
  }
  auto tables = AllTables();
  std::vector<std::string> codes;
  for (const core::LanguageTable& table : tables) codes.push_back(table.code);
  std::string code = setting;
  if (code != "en" && std::find(codes.begin(), codes.end(), code) == codes.end())
    code = core::MatchLanguage(PreferredUILanguages(), codes);
  for (core::LanguageTable& table : tables) {
    if (table.code != code) continue;
    core::UseLanguage(std::move(table));
    return code;
  }
  core::UseEnglish();
  return "en";
}

std::wstring Tr(core::T id) { return Widen(core::Text(id)); }

std::wstring TrFormat(core::T id, std::initializer_list<std::wstring_view> args) {
  std::vector<std::string> narrow;
  for (std::wstring_view arg : args) narrow.push_back(Narrow(std::wstring(arg)));
  const std::vector<std::string_view> views(narrow.begin(), narrow.end());
  return Widen(core::FillPlaceholders(core::Text(id), views));
}

const std::wstring& UiFontFace() {
  static const std::wstring face = [] {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    if (::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0) &&
        metrics.lfMessageFont.lfFaceName[0])
      return std::wstring(metrics.lfMessageFont.lfFaceName);
    return std::wstring(L"Segoe UI");
  }();
  return face;
}

}  // namespace lumitrax
