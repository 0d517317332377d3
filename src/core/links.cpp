#include "core/links.h"

#include "core/texts.h"

namespace lumitrax::core {

namespace {

constexpr std::string_view BookmarkTitle = "Lumitrax%20indicator%20software%20for%20Windows";

bool IsUnreserved(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
         c == '.' || c == '_' || c == '~';
}

}  // namespace

std::string ProductSiteAddress(std::string_view productSite, std::string_view version) {
  std::string address(productSite);
  address += "?version=";
  address += version;
  return address;
}

std::string LinkAddress(int tag, const LinkRoots& roots, std::string_view version) {
  switch (tag) {
    case LinkFacebook:
      return roots.FacebookPage;
    case LinkTwitter:
      return roots.TwitterProfile;
    case LinkFeed:
      return roots.ProductSite + "/feed/";
    case LinkBookmark:
      return roots.BookmarkService + "/save?url=" + PercentEncode(roots.ProductSite) + "&title=" +
             std::string(BookmarkTitle);
    case LinkSubmit:
      return roots.SubmitService + "/submit?url=" + roots.ProductSite;
    case LinkGooglePlus:
      return roots.GooglePlusPage;
    case LinkMakerSite:
      return roots.MakerSite;
    case LinkMakerSoftware:
      return roots.MakerSite + "/software/";
    default:
      return ProductSiteAddress(roots.ProductSite, version);
  }
}

std::string_view LinkHint(int tag) {
  switch (tag) {
    case LinkWebsite:
      return Text(T::LinkWebsite);
    case LinkFacebook:
      return Text(T::LinkFacebook);
    case LinkTwitter:
      return Text(T::LinkTwitter);
    case LinkFeed:
      return Text(T::LinkRss);
    case LinkBookmark:
      return Text(T::LinkDelicious);
    case LinkSubmit:
      return Text(T::LinkStumbleUpon);
    case LinkGooglePlus:
      return Text(T::LinkGplus);
    default:
      return {};
  }
}

std::string LinkPingExtra(int tag) { return "id=" + std::to_string(tag); }

std::string OpenUrlAddress(std::string_view address) {
  if (address.find("://") != std::string_view::npos) return std::string(address);
  return "http://" + std::string(address);
}

std::string PercentEncode(std::string_view text) {
  static constexpr char Hex[] = "0123456789ABCDEF";
  std::string encoded;
  for (const char c : text) {
    if (IsUnreserved(c)) {
      encoded += c;
    } else {
      const auto byte = static_cast<unsigned char>(c);
      encoded += '%';
      encoded += Hex[byte >> 4];
      encoded += Hex[byte & 0x0F];
    }
  }
  return encoded;
}

std::string SiteHostCaption(std::string_view address) {
  const size_t scheme = address.find("://");
  std::string_view host = scheme == std::string_view::npos ? address : address.substr(scheme + 3);
  host = host.substr(0, host.find_first_of(":/?#"));
  std::string caption(host);
  for (char& c : caption) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return caption;
}

}  // namespace lumitrax::core
