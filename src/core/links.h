#pragma once
// The web links of the settings window and the About dialog: which address each
// link tag opens, its hint, and how an address is handed to the shell.
#include <string>
#include <string_view>

namespace lumitrax::core {

// Tags of the link controls.
enum LinkTag : int {
  LinkWebsite = 0,
  LinkFacebook = 1,
  LinkTwitter = 2,
  LinkFeed = 3,
  LinkBookmark = 4,
  LinkSubmit = 5,
  LinkGooglePlus = 6,
  LinkMakerSite = 1977,
  LinkMakerSoftware = 1992,
};

// Root addresses of the sites the links lead to, without a final "/".
struct LinkRoots {
  std::string ProductSite;      // the product web site
  std::string MakerSite;        // the maker's web site
  std::string FacebookPage;     // the product's page there
  std::string TwitterProfile;   // the product's profile there
  std::string GooglePlusPage;   // the product's numeric profile page, over https
  std::string BookmarkService;  // the bookmark service; its page is "/save"
  std::string SubmitService;    // the recommendation service; its page is "/submit"
};

// The roots this build was configured with.
LinkRoots DefaultLinkRoots();

// The product site with the running version: root + "?version=" + version.
std::string ProductSiteAddress(std::string_view productSite, std::string_view version);

// The address a link opens; tag 0 and every tag not in the table open the product site.
std::string LinkAddress(int tag, const LinkRoots& roots, std::string_view version);

// The hint of the settings window's link controls; empty for tags without one.
std::string_view LinkHint(int tag);

// The extra pair of the "openlink" ping: "id=" and the tag in decimal.
std::string LinkPingExtra(int tag);

// What the shell is asked to open: the address, with "http://" in front when it has no "://".
std::string OpenUrlAddress(std::string_view address);

// Every byte except letters, digits and "-._~" as "%XX" (upper-case hex).
std::string PercentEncode(std::string_view text);

// The caption of the web-site label: the host name of the address in capitals.
std::string SiteHostCaption(std::string_view address);

}  // namespace lumitrax::core
