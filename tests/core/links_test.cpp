#include "core/links.h"

#include <gtest/gtest.h>

namespace lumitrax::core {
namespace {

LinkRoots TestRoots() {
  return {"http://www.lumitrax.example", "http://www.movranik.example",
          "http://fb.example/lumitrax",  "http://tw.example/lumitrax",
          "https://gp.example/1234567",  "http://bookmarks.example",
          "http://submit.example"};
}

TEST(Links, EveryTagOpensItsAddress) {
  const LinkRoots roots = TestRoots();
  EXPECT_EQ(LinkAddress(0, roots, "2.5.0.51"), "http://www.lumitrax.example?version=2.5.0.51");
  EXPECT_EQ(LinkAddress(1, roots, "2.5.0.51"), "http://fb.example/lumitrax");
  EXPECT_EQ(LinkAddress(2, roots, "2.5.0.51"), "http://tw.example/lumitrax");
  EXPECT_EQ(LinkAddress(3, roots, "2.5.0.51"), "http://www.lumitrax.example/feed/");
  EXPECT_EQ(LinkAddress(4, roots, "2.5.0.51"),
            "http://bookmarks.example/save?url=http%3A%2F%2Fwww.lumitrax.example"
            "&title=Lumitrax%20indicator%20software%20for%20Windows");
  EXPECT_EQ(LinkAddress(5, roots, "2.5.0.51"),
            "http://submit.example/submit?url=http://www.lumitrax.example");
  EXPECT_EQ(LinkAddress(6, roots, "2.5.0.51"), "https://gp.example/1234567");
  EXPECT_EQ(LinkAddress(1977, roots, "2.5.0.51"), "http://www.movranik.example");
  EXPECT_EQ(LinkAddress(1992, roots, "2.5.0.51"), "http://www.movranik.example/software/");
}

TEST(Links, UnknownTagsOpenTheProductSiteWithTheVersion) {
  const LinkRoots roots = TestRoots();
  for (const int tag : {-1, 7, 1000, 1978, 1993}) {
    EXPECT_EQ(LinkAddress(tag, roots, "2.5.0.51"), "http://www.lumitrax.example?version=2.5.0.51")
        << tag;
  }
}

TEST(Links, HintsOfTheSettingsWindowLinks) {
  EXPECT_EQ(LinkHint(0), "Open Website");
  EXPECT_EQ(LinkHint(1), "Page on Facebook");
  EXPECT_EQ(LinkHint(2), "Follow on Twitter");
  EXPECT_EQ(LinkHint(3), "Subscribe to RSS Feed");
  EXPECT_EQ(LinkHint(4), "Save a Bookmark on Delicious");
  EXPECT_EQ(LinkHint(5), "Recommend it to StumbleUpon");
  EXPECT_EQ(LinkHint(6), "Page on Google+");
  EXPECT_EQ(LinkHint(1977), "");
  EXPECT_EQ(LinkHint(1992), "");
  EXPECT_EQ(LinkHint(9), "");
}


TEST(Links, OpenUrlAddsHttpOnlyWhenTheSchemeSeparatorIsMissing) {
  EXPECT_EQ(OpenUrlAddress("www.movranik.example"), "http://www.movranik.example");
  EXPECT_EQ(OpenUrlAddress("https://gp.example/1"), "https://gp.example/1");
  EXPECT_EQ(OpenUrlAddress("ftp://files.example"), "ftp://files.example");
  EXPECT_EQ(OpenUrlAddress("http:/half.example"), "http://http:/half.example");
  EXPECT_EQ(OpenUrlAddress(""), "http://");
}

TEST(Links, PercentEncodingKeepsOnlyUnreservedCharacters) {
  EXPECT_EQ(PercentEncode("http://www.lumitrax.example"), "http%3A%2F%2Fwww.lumitrax.example");
  EXPECT_EQ(PercentEncode("a b&c=d?e~f_g-h"), "a%20b%26c%3Dd%3Fe~f_g-h");
  EXPECT_EQ(PercentEncode("\xC3\xA9"), "%C3%A9");
  EXPECT_EQ(PercentEncode("http://host.example:8080/x"), "http%3A%2F%2Fhost.example%3A8080%2Fx");
}

TEST(Links, WebsiteLabelShowsTheHostInCapitals) {
  EXPECT_EQ(SiteHostCaption("http://www.lumitrax.example"), "WWW.LUMITRAX.EXAMPLE");
  EXPECT_EQ(SiteHostCaption("http://127.0.0.1:8080/site"), "127.0.0.1");
  EXPECT_EQ(SiteHostCaption("lumitrax.example/x"), "LUMITRAX.EXAMPLE");
}

TEST(Links, DefaultRootsAreConfiguredAddressesWithoutFinalSlash) {
  const LinkRoots roots = DefaultLinkRoots();
  EXPECT_EQ(roots.ProductSite, LUMITRAX_SITE_URL);
  for (const std::string* root : {&roots.ProductSite, &roots.MakerSite, &roots.FacebookPage,
                                  &roots.TwitterProfile, &roots.BookmarkService,
                                  &roots.SubmitService}) {
    EXPECT_TRUE(root->starts_with("http://")) << *root;
    EXPECT_FALSE(root->ends_with("/")) << *root;
  }
  EXPECT_TRUE(roots.GooglePlusPage.starts_with("https://")) << roots.GooglePlusPage;
}

}  // namespace
}  // namespace lumitrax::core
