// The web addresses the program was built with. They are build settings, so
// this file is compiled on its own, once per set of addresses.
#include <string_view>

#include "core/links.h"

#ifndef LUMITRAX_SITE_URL
#define LUMITRAX_SITE_URL "http://www.lumitrax.example"
#endif
#ifndef LUMITRAX_MAKER_URL
#define LUMITRAX_MAKER_URL "http://www.movranik.example"
#endif
#ifndef LUMITRAX_FACEBOOK_URL
#define LUMITRAX_FACEBOOK_URL "http://www.facebook.example/lumitrax"
#endif
#ifndef LUMITRAX_TWITTER_URL
#define LUMITRAX_TWITTER_URL "http://twitter.example/lumitrax"
#endif
#ifndef LUMITRAX_GPLUS_URL
#define LUMITRAX_GPLUS_URL "https://plus.google.example/100000000000000000000"
#endif
#ifndef LUMITRAX_BOOKMARK_URL
#define LUMITRAX_BOOKMARK_URL "http://delicious.example"
#endif
#ifndef LUMITRAX_SUBMIT_URL
#define LUMITRAX_SUBMIT_URL "http://www.stumbleupon.example"
#endif

namespace lumitrax::core {
namespace {

constexpr bool HasNoFinalSlash(std::string_view root) { return root.empty() || root.back() != '/'; }

static_assert(HasNoFinalSlash(LUMITRAX_SITE_URL) && HasNoFinalSlash(LUMITRAX_MAKER_URL) &&
                  HasNoFinalSlash(LUMITRAX_BOOKMARK_URL) && HasNoFinalSlash(LUMITRAX_SUBMIT_URL),
              "site roots are configured without a final '/'; the links add their paths");

}  // namespace

LinkRoots DefaultLinkRoots() {
  return {LUMITRAX_SITE_URL,  LUMITRAX_MAKER_URL,    LUMITRAX_FACEBOOK_URL, LUMITRAX_TWITTER_URL,
          LUMITRAX_GPLUS_URL, LUMITRAX_BOOKMARK_URL, LUMITRAX_SUBMIT_URL};
}

}  // namespace lumitrax::core
