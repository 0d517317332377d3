// The text tables: a language's blob read or refused, English standing in
// entry by entry, placeholders in a language's own order, the pseudo-language
// and the choice of language from the user's preferred UI languages.
#include "core/texts.h"

#include <gtest/gtest.h>

#include <string>

namespace lumitrax::core {
namespace {

std::string Blob(const std::string& code, const std::vector<std::pair<T, std::string>>& texts) {
  std::vector<std::string> entries(TextCount);
  for (const auto& [id, text] : texts) entries[static_cast<size_t>(id)] = text;
  std::string blob = code + '\0';
  for (const std::string& entry : entries) blob += entry + '\0';
  return blob;
}

class Texts : public ::testing::Test {
 protected:
  void TearDown() override { UseEnglish(); }
};

TEST_F(Texts, EnglishIsTheTableAsWritten) {
  EXPECT_EQ(Text(T::MenuSettings), "Settings");
  EXPECT_EQ(Text(T::AutoRun), "Automatically &run program on startup");
  EXPECT_EQ(Text(T::HandOverRefused).find("\r\n\r\nUse its icon"), std::string_view("Lumitrax is already running, but "
                                                                                     "with other rights (for example as "
                                                                                     "administrator), and could not be "
                                                                                     "asked to show its window.")
                                                                        .size());
  EXPECT_EQ(FormatText(T::ErrorSetData, {"Bounds"}), "Failed to set data for 'Bounds'");
  EXPECT_EQ(CurrentLanguage(), "en");
}

TEST_F(Texts, ALanguageTakesItsOwnTextsAndEnglishWhereItHasNone) {
  const auto table = ParseLanguageTable(Blob("de", {{T::MenuSettings, "Einstellungen"}, {T::OsdLine, "%2: %1"}}));
  ASSERT_TRUE(table);
  EXPECT_EQ(table->code, "de");
  UseLanguage(*table);
  EXPECT_EQ(CurrentLanguage(), "de");
  EXPECT_EQ(Text(T::MenuSettings), "Einstellungen");
  EXPECT_EQ(Text(T::MenuAbout), "About") << "no German text: the English one";
  EXPECT_EQ(FormatText(T::OsdLine, {"Num", "AN"}), "AN: Num") << "the language's own word order";
  UseEnglish();
  EXPECT_EQ(Text(T::MenuSettings), "Settings");
}

TEST_F(Texts, ABlobThatIsNoTableIsRefused) {
  const std::string good = Blob("fr", {{T::MenuClose, "Fermer"}});
  EXPECT_TRUE(ParseLanguageTable(good));
  EXPECT_FALSE(ParseLanguageTable(""));
  EXPECT_FALSE(ParseLanguageTable(good.substr(0, good.size() - 1))) << "the last entry has no end";
  EXPECT_FALSE(ParseLanguageTable(good.substr(0, good.size() - 2))) << "an entry missing";
  EXPECT_FALSE(ParseLanguageTable(good + "extra" + '\0')) << "an entry too many: made for another program";
  EXPECT_FALSE(ParseLanguageTable(Blob("", {}))) << "no code";
  EXPECT_FALSE(ParseLanguageTable(Blob("ru", {{T::MenuClose, "\xD0\x97\xD0"}}))) << "a cut UTF-8 sequence";
  EXPECT_FALSE(ParseLanguageTable(Blob("ru", {{T::MenuClose, "\xFF\xFE"}})));
}

TEST_F(Texts, PlaceholdersAreFilledOnceInAnyOrderAndOthersLeftAlone) {
  EXPECT_EQ(FillPlaceholders("%2 %1 %2", {"a", "b"}), "b a b");
  EXPECT_EQ(FillPlaceholders("100% %1 %3", {"x"}), "100% x %3") << "an argument not given stays as written";
  EXPECT_EQ(FillPlaceholders("%1", {"%2"}), "%2") << "an argument is not filled in again";
}

TEST_F(Texts, ThePseudoLanguageIsLongerAccentedAndKeepsWhatTheProgramNeeds) {
  for (const char* english : EnglishTexts) {
    const std::string pseudo = PseudoText(english);
    SCOPED_TRACE(english);
    if (std::string_view(english).empty()) continue;
    EXPECT_TRUE(IsPseudoText(pseudo));
    EXPECT_FALSE(IsPseudoText(english));
  }
  const std::string pseudo = PseudoText("H&ide after %1 sec");
  EXPECT_NE(pseudo.find("&i"), std::string::npos) << "the mnemonic still marks its letter";
  EXPECT_NE(pseudo.find("%1"), std::string::npos);
  EXPECT_NE(pseudo.find("\xCC\x81"), std::string::npos) << "an accent above";
  EXPECT_NE(pseudo.find("\xCC\xA3"), std::string::npos) << "an accent below";
  // On screen a combining mark takes no room: count the characters that do.
  auto spacing = [](const std::string& text) {
    size_t count = 0;
    for (size_t i = 0; i < text.size(); ++i) {
      const auto byte = static_cast<unsigned char>(text[i]);
      if ((byte >> 6) == 0x2) continue;                                // continuation byte
      if (byte == 0xCC && i + 1 < text.size()) continue;               // U+0300..U+033F marks
      ++count;
    }
    return count;
  };
  const std::string english = "Automatically &run program on startup";
  EXPECT_GE(spacing(PseudoText(english)) * 10, english.size() * 14);

  UsePseudoLanguage();
  EXPECT_EQ(CurrentLanguage(), PseudoLanguageCode);
  EXPECT_TRUE(IsPseudoText(Text(T::MenuClose)));
  EXPECT_TRUE(IsPseudoText(FormatText(T::CloseQuestion, {"Lumitrax"})));
}

TEST_F(Texts, TheLanguageFollowsThePreferredOnesInWindowsFallbackOrder) {
  const std::vector<std::string> available{"de", "fr", "pt-BR", "zh-CN", "zh-TW", "ja"};
  EXPECT_EQ(MatchLanguage({"de-DE"}, available), "de");
  EXPECT_EQ(MatchLanguage({"de-AT", "en-US"}, available), "de") << "a region we have no table for";
  EXPECT_EQ(MatchLanguage({"pt-PT"}, available), "pt-BR");
  EXPECT_EQ(MatchLanguage({"PT-br"}, available), "pt-BR");
  EXPECT_EQ(MatchLanguage({"zh-Hant-TW"}, available), "zh-TW");
  EXPECT_EQ(MatchLanguage({"zh-HK"}, available), "zh-TW");
  EXPECT_EQ(MatchLanguage({"zh-SG"}, available), "zh-CN");
  EXPECT_EQ(MatchLanguage({"zh-Hans-HK"}, available), "zh-CN");
  EXPECT_EQ(MatchLanguage({"sv-SE", "fr-CA"}, available), "fr") << "the first one we serve, in the user's order";
  EXPECT_EQ(MatchLanguage({"en-GB", "de-DE"}, available), "en") << "English first is English";
  EXPECT_EQ(MatchLanguage({"sv-SE"}, available), "en");
  EXPECT_EQ(MatchLanguage({}, available), "en");
  EXPECT_EQ(MatchLanguage({"de-DE"}, {}), "en");
}

}  // namespace
}  // namespace lumitrax::core
