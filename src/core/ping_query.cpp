#include "core/ping_query.h"

#include "core/number_text.h"

#include "core/lock_names.h"

namespace lumitrax::core {

namespace {

class QueryBuilder {
 public:
  void Add(std::string_view name, std::string_view value) {
    if (!text_.empty()) text_ += '&';
    text_ += name;
    text_ += '=';
    text_ += value;
  }
  void Add(std::string_view name, bool value) { Add(name, StateName(value)); }
  void Add(std::string_view name, int value) { Add(name, std::string_view(std::to_string(value))); }
  void AddColor(std::string_view name, Color color) { Add(name, std::string_view(FormatColorHex(color))); }
  void AddRaw(std::string_view pair) {
    text_ += '&';
    text_ += pair;
  }
  std::string Take() { return std::move(text_); }

 private:
  std::string text_;
};

void AppendWithSlash(std::string& address, std::string_view part) {
  address += part;
  if (address.empty() || address.back() != '/') address += '/';
}

}  // namespace

std::string FormatColorHex(Color color) {
  return PaddedNumber(static_cast<unsigned>(color), 8, 16, true);
}

std::string BuildPingQuery(const PingSettings& settings, std::string_view extra) {
  QueryBuilder query;
  query.Add("version", std::string_view(settings.Version));
  query.Add("auto", settings.AutoRun);
  query.Add("beep", settings.BeepOnSwitch);
  static constexpr std::array<std::string_view, 3> LedNames{"l1", "l2", "l3"};
  static constexpr std::array<std::string_view, 3> ColorNames{"c1", "c2", "c3"};
  for (size_t i = 0; i < 3; ++i) {
    query.Add(LedNames[i], settings.LedLocks[i]);
    query.AddColor(ColorNames[i], settings.LedColors[i]);
  }
  query.Add("mark", settings.IconMarks);
  query.AddColor("grid", settings.GridColor);
  if (settings.OsdEnabled) {
    query.Add("osd1", settings.OsdLocks[0]);
    query.Add("osd2", settings.OsdLocks[1]);
    query.Add("osd3", settings.OsdLocks[2]);
    query.Add("osdHide1", settings.OsdAutoHide);
    if (settings.OsdHideAfter) query.Add("osdHide2", settings.OsdHideInterval);
    query.Add("osdSize", settings.OsdSize);
    query.AddColor("osdBody", settings.OsdBodyColor);
    query.AddColor("osdText", settings.OsdTextColor);
    query.Add("osdOpct", settings.OsdOpacity);
  }
  if (!extra.empty()) query.AddRaw(extra);
  return query.Take();
}

std::string PingBaseUrl(std::string_view siteRoot) {
  std::string url(siteRoot);
  url += "/ping/";
  return url;
}

std::string PingAddress(std::string_view url, std::string_view path, std::string_view query) {
  std::string address;
  AppendWithSlash(address, url);
  if (!path.empty()) AppendWithSlash(address, path);
  if (!query.empty()) {
    address += '?';
    address += query;
  }
  return address;
}

}  // namespace lumitrax::core
