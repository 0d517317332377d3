// Generated input for the parsers and typed readers: stored window positions,
// every typed registry read, the spin edit's text and the ping query. Each case
// runs a bounded number of inputs from a seeded generator, so a run is
// repeatable; LUMITRAX_GENERATED_INPUTS (inputs per case) and
// LUMITRAX_GENERATED_SEED widen or vary a local run. Under the sanitizer build
// these also catch memory errors and undefined behaviour.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <variant>

#include "core/memory_registry.h"
#include "core/ping_query.h"
#include "core/placement.h"
#include "core/registry_store.h"
#include "core/settings_recovery.h"
#include "core/settings_schema.h"
#include "core/settings_store.h"
#include "core/spin_text.h"

namespace lumitrax::core {
namespace {

uint64_t EnvNumber(const char* name, uint64_t fallback) {
  const char* text = std::getenv(name);
  if (!text || !*text) return fallback;
  return std::strtoull(text, nullptr, 10);
}

const uint64_t Inputs = EnvNumber("LUMITRAX_GENERATED_INPUTS", 5000);
const uint64_t Seed = EnvNumber("LUMITRAX_GENERATED_SEED", 20261208);

// Printable form of generated text for failure messages.
std::string Shown(std::string_view text) {
  std::string shown = "\"";
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x20 && byte < 0x7F && c != '"' && c != '\\') {
      shown += c;
    } else {
      static constexpr char Hex[] = "0123456789ABCDEF";
      shown += "\\x";
      shown += Hex[byte >> 4];
      shown += Hex[byte & 15];
    }
  }
  return shown + "\"";
}

class Generator {
 public:
  explicit Generator(uint64_t salt) : engine_(Seed * 1000003u + salt) {}

  uint64_t Below(uint64_t bound) { return std::uniform_int_distribution<uint64_t>(0, bound - 1)(engine_); }
  bool Chance(int percent) { return Below(100) < static_cast<uint64_t>(percent); }

  // Any 32-bit number, the edges and small numbers more often than chance would.
  int32_t Int() {
    switch (Below(6)) {
      case 0: {
        static constexpr int32_t Edges[] = {0, 1, -1, INT_MAX, INT_MIN, INT_MAX - 1, INT_MIN + 1, 255, 256, 65535};
        return Edges[Below(std::size(Edges))];
      }
      case 1:
      case 2:
        return static_cast<int32_t>(Below(4001)) - 2000;
      default:
        return static_cast<int32_t>(static_cast<uint32_t>(engine_()));
    }
  }
  uint32_t Uint() { return static_cast<uint32_t>(Int()); }

  // Text made of the pieces numbers are written with, separators, blanks and
  // control characters, long digit runs, and now and then any byte at all.
  std::string Text(size_t max_pieces = 12) {
    static constexpr std::string_view Pieces[] = {
        ",", ",", " ", "\t", "\r\n", "-", "+", "0", "7", "42", "1000000", "2147483647", "-2147483648",
        "2147483648", "-2147483649", "99999999999999999999", "0x1F", "$1F", "1e3", "3.5", "abc", "%", "\x7F",
        "\xC3\xA9", "\xFF", std::string_view("\0", 1)};
    std::string text;
    const size_t pieces = Below(max_pieces + 1);
    for (size_t i = 0; i < pieces; ++i) {
      if (Chance(10))
        text += static_cast<char>(Below(256));
      else if (Chance(15))
        text += std::to_string(Int());
      else
        text += Pieces[Below(std::size(Pieces))];
    }
    return text;
  }

  // Raw bytes of any length up to max.
  std::string Bytes(size_t max) {
    std::string bytes(Below(max + 1), '\0');
    for (char& c : bytes) c = static_cast<char>(Below(256));
    return bytes;
  }

 private:
  std::mt19937_64 engine_;
};

// A decimal number read independently of the parsers under test: one optional
// sign, at least one digit and nothing else, within 32 bits.
std::optional<int> ReferenceNumber(std::string_view text) {
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  if (text.empty()) return std::nullopt;
  int64_t value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
    if (value > int64_t{INT_MAX} + 1) return std::nullopt;
  }
  if (negative) value = -value;
  if (value < INT_MIN || value > INT_MAX) return std::nullopt;
  return static_cast<int>(value);
}

// A number of a position text: blanks (every byte up to the space) around it are
// ignored, anything that is not a number reads as 0.
int ReferenceInt(std::string_view text) {
  const auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return ReferenceNumber(text).value_or(0);
}

Point ReferencePoint(std::string_view text) {
  const size_t comma = text.find(',');
  if (comma == std::string_view::npos) return {};
  return {ReferenceInt(text.substr(0, comma)), ReferenceInt(text.substr(comma + 1))};
}

TEST(GeneratedInput, PositionTextReadsAsItsNumbersOrZero) {
  Generator random(1);
  for (uint64_t i = 0; i < Inputs && !HasFailure(); ++i) {
    const std::string text = random.Text();
    const Point point = StrToPoint(text);
    EXPECT_EQ(point, ReferencePoint(text)) << Shown(text);

    // The rectangle: split at the second comma; without one, all of it is the second half.
    const Rect rect = StrToRect(text);
    const size_t first = text.find(',');
    const size_t second = first == std::string::npos ? first : text.find(',', first + 1);
    const Point top_left = second == std::string::npos ? Point{} : ReferencePoint(text.substr(0, second));
    const Point bottom_right =
        ReferencePoint(second == std::string::npos ? std::string_view(text) : std::string_view(text).substr(second + 1));
    EXPECT_EQ(rect, (Rect{top_left.x, top_left.y, bottom_right.x, bottom_right.y})) << Shown(text);
  }
}

TEST(GeneratedInput, EveryStoredRectangleReadsBackUnchanged) {
  Generator random(2);
  for (uint64_t i = 0; i < Inputs && !HasFailure(); ++i) {
    const Rect rect{random.Int(), random.Int(), random.Int(), random.Int()};
    const std::string text = RectToStr(rect);
    EXPECT_EQ(StrToRect(text), rect) << text;
    // The display stores its normal placement as left, top, width and height.
    const Rect stored = BoundsToStore(rect, Rect{});
    EXPECT_EQ(stored.left, rect.left);
    EXPECT_EQ(stored.top, rect.top);
    const int64_t width = int64_t{rect.right} - rect.left;
    const int64_t height = int64_t{rect.bottom} - rect.top;
    EXPECT_EQ(stored.right, std::clamp<int64_t>(width, INT_MIN, INT_MAX)) << text;
    EXPECT_EQ(stored.bottom, std::clamp<int64_t>(height, INT_MIN, INT_MAX)) << text;
  }
}

TEST(GeneratedInput, AnyStoredBoundsPlacesTheWindowInsideTheWorkAreaWithItsSize) {
  Generator random(3);
  for (uint64_t i = 0; i < Inputs && !HasFailure(); ++i) {
    // Work areas and windows as screens have them; the stored text may hold anything.
    const Rect work = [&] {
      const int left = static_cast<int>(random.Below(20001)) - 10000;
      const int top = static_cast<int>(random.Below(20001)) - 10000;
      return Rect{left, top, left + 200 + static_cast<int>(random.Below(7000)),
                  top + 200 + static_cast<int>(random.Below(4000))};
    }();
    const int left = static_cast<int>(random.Below(40001)) - 20000;
    const int top = static_cast<int>(random.Below(40001)) - 20000;
    const Rect window{left, top, left + 1 + static_cast<int>(random.Below(3000)),
                      top + 1 + static_cast<int>(random.Below(3000))};
    const std::string bounds = random.Chance(50) ? random.Text() : RectToStr({random.Int(), random.Int(), 0, 0});
    int asked = 0;
    const Rect placed = PlaceFromBounds(bounds, window, [&](const Rect&) {
      ++asked;
      return work;
    });
    const std::string where = Shown(bounds) + " in " + RectToStr(work) + " from " + RectToStr(window);
    EXPECT_GE(asked, 1);
    EXPECT_EQ(placed.Width(), window.Width()) << where;
    EXPECT_EQ(placed.Height(), window.Height()) << where;
    EXPECT_GE(placed.left, work.left) << where;
    EXPECT_GE(placed.top, work.top) << where;
    if (window.Width() <= work.Width()) {
      EXPECT_LE(placed.right, work.right) << where;
    }
    if (window.Height() <= work.Height()) {
      EXPECT_LE(placed.bottom, work.bottom) << where;
    }
  }
}

TEST(GeneratedInput, AWindowAnywhereIsBroughtIntoTheWorkAreaAtItsOwnSize) {
  // The display moves itself with this wherever it was put; its corner may be
  // any number a damaged position held.
  Generator random(8);
  for (uint64_t i = 0; i < Inputs && !HasFailure(); ++i) {
    const int work_left = static_cast<int>(random.Below(20001)) - 10000;
    const int work_top = static_cast<int>(random.Below(20001)) - 10000;
    const Rect work{work_left, work_top, work_left + 1 + static_cast<int>(random.Below(8000)),
                    work_top + 1 + static_cast<int>(random.Below(8000))};
    const int64_t width = random.Below(4000);
    const int64_t height = random.Below(4000);
    const int64_t left = std::clamp<int64_t>(random.Int(), INT_MIN, INT_MAX - width);
    const int64_t top = std::clamp<int64_t>(random.Int(), INT_MIN, INT_MAX - height);
    const Rect window{static_cast<int>(left), static_cast<int>(top), static_cast<int>(left + width),
                      static_cast<int>(top + height)};
    const Rect kept = KeepInWorkArea(window, work);
    const std::string where = RectToStr(window) + " in " + RectToStr(work);
    EXPECT_EQ(kept.Width(), width) << where;
    EXPECT_EQ(kept.Height(), height) << where;
    EXPECT_GE(kept.left, work.left) << where;
    EXPECT_GE(kept.top, work.top) << where;
    if (width <= work.Width()) {
      EXPECT_LE(kept.right, work.right) << where;
    }
    if (height <= work.Height()) {
      EXPECT_LE(kept.bottom, work.bottom) << where;
    }
  }
}

constexpr RegistryRoot Root = SettingsRoot;
constexpr std::string_view Key = "\\Software\\Generated";

RegistryType AnyType(Generator& random) {
  static constexpr RegistryType Types[] = {
      RegistryType::None,          RegistryType::String, RegistryType::ExpandString,
      RegistryType::Binary,        RegistryType::Dword,  RegistryType::DwordBigEndian,
      RegistryType::Link,          RegistryType::MultiString, RegistryType::Qword};
  if (random.Chance(5)) return static_cast<RegistryType>(random.Below(64));  // a type nobody defined
  return Types[random.Below(std::size(Types))];
}

RegistryValue AnyValue(Generator& random) {
  RegistryValue value;
  value.Type = AnyType(random);
  value.Data = random.Chance(50) ? random.Bytes(12) : random.Text(6);
  return value;
}

// What the typed reads must make of a value: the number of a REG_DWORD of at
// most four bytes, zero-extended.
std::optional<uint32_t> DwordOf(const RegistryValue& value) {
  if (value.Type != RegistryType::Dword || value.Data.size() > 4) return std::nullopt;
  uint32_t number = 0;
  for (size_t i = 0; i < value.Data.size(); ++i) number |= uint32_t{static_cast<unsigned char>(value.Data[i])} << (8 * i);
  return number;
}

bool IsText(RegistryType type) { return type == RegistryType::String || type == RegistryType::ExpandString; }

TEST(GeneratedInput, TypedRegistryReadsGiveTheValueOrTheirOwnError) {
  Generator random(4);
  for (uint64_t i = 0; i < Inputs && !HasFailure(); ++i) {
    MemoryRegistry registry;
    const RegistryValue value = AnyValue(random);
    const bool unreadable = random.Chance(5);
    registry.Set(Root, Key, "V", value);
    if (unreadable) registry.FailReading(Root, Key, "V");
    const auto key = OpenKeyReadOnly(registry, Root, Key);
    ASSERT_NE(key, nullptr);
    const std::string what = "type " + std::to_string(static_cast<uint32_t>(value.Type)) + " data " + Shown(value.Data) +
                             (unreadable ? " unreadable" : "");

    try {
      const uint32_t number = ReadDword(*key, "V");
      EXPECT_FALSE(unreadable) << what;
      EXPECT_EQ(std::optional<uint32_t>(number), DwordOf(value)) << what;
    } catch (const RegistryError& error) {
      const std::string expected = !unreadable && value.Type != RegistryType::Dword ? "Invalid data type for 'V'"
                                                                                     : "Failed to get data for 'V'";
      EXPECT_TRUE(unreadable || !DwordOf(value)) << what << ": " << error.what();
      EXPECT_EQ(error.what(), expected) << what;
    }

    try {
      EXPECT_EQ(ReadString(*key, "V"), value.Data) << what;
      EXPECT_TRUE(!unreadable && IsText(value.Type)) << what;
    } catch (const RegistryError& error) {
      EXPECT_FALSE(!unreadable && IsText(value.Type)) << what << ": " << error.what();
      EXPECT_EQ(error.what(), std::string(unreadable ? "Failed to get data for 'V'" : "Invalid data type for 'V'"))
          << what;
    }

    // The display's position reader never raises: text, or bytes taken as characters, or the fallback.
    const bool readable_text = !unreadable && (IsText(value.Type) || value.Type == RegistryType::Binary);
    EXPECT_EQ(ReadRegistryString(registry, Root, Key, "V", "fallback"), readable_text ? value.Data : "fallback")
        << what;
  }
}

// Settings with every value drawn at random, as controls may hold them.
Settings AnySettings(Generator& random) {
  Settings settings;
  for (const SettingEntry& entry : SettingsRecord()) {
    std::visit(
        [&](const auto& field) {
          using Field = std::decay_t<decltype(field)>;
          if constexpr (std::is_same_v<Field, BooleanSetting>)
            settings.*field.Member = random.Chance(50);
          else if constexpr (std::is_same_v<Field, IntegerSetting>)
            settings.*field.Member = random.Int();
          else if constexpr (std::is_same_v<Field, ColorSetting>)
            settings.*field.Member = random.Uint();
          else
            settings.*field.Member = random.Text(6);
        },
        entry.Field);
  }
  return settings;
}

TEST(GeneratedInput, LoadingAnyStoredRecordTakesTheGoodValuesAndKeepsTheRestAtTheirDefaults) {
  Generator random(5);
  for (uint64_t i = 0; i < Inputs / 10 + 1 && !HasFailure(); ++i) {
    MemoryRegistry registry;
    struct Slot {
      std::optional<RegistryValue> stored;
      bool unreadable = false;
    };
    std::vector<Slot> slots;
    for (const SettingEntry& entry : SettingsRecord()) {
      Slot slot;
      const std::string path = entry.Subkey.empty() ? std::string(SettingsKey) : SubkeyPath(SettingsKey, entry.Subkey);
      if (random.Chance(20)) registry.AddKey(Root, path);
      if (random.Chance(70)) {
        // Mostly values of the right type, of any size and content.
        RegistryValue value = AnyValue(random);
        if (random.Chance(60)) value.Type = entry.Type() == SettingType::String ? RegistryType::String : RegistryType::Dword;
        if (value.Type == RegistryType::Dword && random.Chance(60)) value.Data = RegistryValue::Dword(random.Uint()).Data;
        registry.Set(Root, path, entry.Name, value);
        slot.stored = value;
        if (random.Chance(3)) {
          registry.FailReading(Root, path, entry.Name);
          slot.unreadable = true;
        }
      }
      slots.push_back(slot);
    }

    const Settings before = AnySettings(random);
    // Stopping at the first damaged value: a RegistryError and nothing else.
    Settings stopped = before;
    try {
      LoadSettings(registry, Root, SettingsKey, stopped);
    } catch (const RegistryError&) {
    }

    // Going on past damage: every good value is taken, a damaged one counts as
    // absent, and the values the window holds itself fall back to their defaults.
    Settings loaded = before;
    const std::optional<RegistryError> error = LoadSettingsPastDamage(registry, Root, SettingsKey, loaded);
    Settings expected = before;
    bool damaged = false;
    size_t index = 0;
    for (const SettingEntry& entry : SettingsRecord()) {
      const Slot& slot = slots[index++];
      std::visit(
          [&](const auto& field) {
            using Field = std::decay_t<decltype(field)>;
            bool good = false;
            if (slot.stored && !slot.unreadable) {
              if constexpr (std::is_same_v<Field, StringSetting>) {
                if (IsText(slot.stored->Type)) {
                  expected.*field.Member = slot.stored->Data;
                  good = true;
                }
              } else if (const auto number = DwordOf(*slot.stored)) {
                if constexpr (std::is_same_v<Field, BooleanSetting>)
                  expected.*field.Member = *number != 0;
                else if constexpr (std::is_same_v<Field, IntegerSetting>)
                  expected.*field.Member = static_cast<int32_t>(*number);
                else
                  expected.*field.Member = *number;
                good = true;
              }
            }
            if (slot.stored && !good) damaged = true;
            if (!good && entry.HeldByWindow) expected.*field.Member = field.Default;
          },
          entry.Field);
    }
    EXPECT_EQ(loaded, expected) << "input " << i << " of seed " << Seed;
    EXPECT_EQ(error.has_value(), damaged) << "input " << i << " of seed " << Seed;
    if (!damaged) {
      EXPECT_EQ(stopped, expected) << "input " << i << " of seed " << Seed;
    }
  }
}

TEST(GeneratedInput, SpinEditTextAlwaysEndsWithinItsLimits) {
  Generator random(6);
  for (uint64_t i = 0; i < Inputs && !HasFailure(); ++i) {
    const std::string text = random.Chance(30) ? std::to_string(random.Int()) : random.Text(4);
    EXPECT_EQ(ParseSpinNumber(text), ReferenceNumber(text)) << Shown(text);

    // The limits as the settings window has them, or any two numbers.
    int min = random.Int();
    int max = random.Int();
    if (random.Chance(50)) {
      min = 1;
      max = random.Chance(50) ? 60 : 100;
    }
    const int position = random.Int();
    const int low = min;
    const int high = std::max(min, max);
    const auto clamped = ClampSpinText(text, min, max, position);
    if (text.empty() || text == "-") {
      EXPECT_FALSE(clamped.has_value()) << Shown(text);
    } else {
      ASSERT_TRUE(clamped.has_value()) << Shown(text);
      const auto number = ReferenceNumber(*clamped);
      ASSERT_TRUE(number.has_value()) << Shown(text) << " became " << Shown(*clamped);
      EXPECT_GE(*number, low) << Shown(text);
      EXPECT_LE(*number, high) << Shown(text);
      const int64_t wanted = ReferenceNumber(text).value_or(position);
      EXPECT_EQ(*number, std::clamp<int64_t>(wanted, low, high)) << Shown(text);
    }

    const int delta = random.Chance(50) ? (random.Chance(50) ? 1 : -1) : random.Int();
    const int stepped = StepSpinPosition(position, delta, min, max);
    EXPECT_EQ(stepped, std::clamp<int64_t>(int64_t{position} + delta, low, high))
        << position << " + " << delta << " in " << min << ".." << max;

    // Typed characters: digits always, "-" only in decimal, letters a-f only in hexadecimal.
    const auto ch = static_cast<char32_t>(random.Chance(50) ? random.Below(128) : random.Uint());
    const bool control = ch < 0x20 || ch == 0x7F;
    const bool digit = ch >= U'0' && ch <= U'9';
    const bool hex_letter = (ch >= U'a' && ch <= U'f') || (ch >= U'A' && ch <= U'F');
    EXPECT_EQ(AcceptSpinChar(ch, false), control || digit || ch == U'-') << static_cast<uint32_t>(ch);
    EXPECT_EQ(AcceptSpinChar(ch, true), control || digit || hex_letter) << static_cast<uint32_t>(ch);
  }
}

TEST(GeneratedInput, PingQueryAndAddressHoldEverySettingInItsPlace) {
  Generator random(7);
  for (uint64_t i = 0; i < Inputs && !HasFailure(); ++i) {
    PingSettings settings;
    settings.Version = random.Chance(70) ? "2.5.0.51" : random.Text(4);
    settings.AutoRun = random.Chance(50);
    settings.BeepOnSwitch = random.Chance(50);
    for (int& lock : settings.LedLocks) lock = random.Int();
    for (Color& color : settings.LedColors) color = random.Uint();
    settings.IconMarks = random.Chance(50);
    settings.GridColor = random.Uint();
    settings.OsdEnabled = random.Chance(50);
    for (bool& lock : settings.OsdLocks) lock = random.Chance(50);
    settings.OsdAutoHide = random.Chance(50);
    settings.OsdHideAfter = random.Chance(50);
    settings.OsdHideInterval = random.Int();
    settings.OsdSize = random.Int();
    settings.OsdBodyColor = random.Uint();
    settings.OsdTextColor = random.Uint();
    settings.OsdOpacity = random.Int();
    const std::string extra = random.Chance(50) ? "" : "date=" + random.Text(3);

    const std::string query = BuildPingQuery(settings, extra);
    const std::string head = "version=" + settings.Version + "&auto=";
    EXPECT_EQ(query.substr(0, head.size()), head) << Shown(query);
    const auto has = [&](const std::string& pair) { return query.find(pair) != std::string::npos; };
    EXPECT_TRUE(has("&l1=" + std::to_string(settings.LedLocks[0]) + "&c1=" + FormatColorHex(settings.LedColors[0])));
    EXPECT_TRUE(has("&l3=" + std::to_string(settings.LedLocks[2]) + "&c3=" + FormatColorHex(settings.LedColors[2])));
    EXPECT_TRUE(has("&grid=" + FormatColorHex(settings.GridColor)));
    EXPECT_EQ(has("&osd1="), settings.OsdEnabled) << Shown(query);
    EXPECT_EQ(has("&osdHide2=" + std::to_string(settings.OsdHideInterval)),
              settings.OsdEnabled && settings.OsdHideAfter)
        << Shown(query);
    if (settings.OsdEnabled) {
      EXPECT_TRUE(has("&osdOpct=" + std::to_string(settings.OsdOpacity))) << Shown(query);
    }
    if (!extra.empty()) {
      EXPECT_EQ(query.substr(query.size() - extra.size() - 1), "&" + extra) << Shown(query);
    }

    // A colour is always eight upper-case hexadecimal digits naming it exactly.
    const Color color = random.Uint();
    const std::string hex = FormatColorHex(color);
    ASSERT_EQ(hex.size(), 8u) << hex;
    EXPECT_TRUE(std::all_of(hex.begin(), hex.end(), [](char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'); }))
        << hex;
    EXPECT_EQ(std::strtoul(hex.c_str(), nullptr, 16), color) << hex;

    // The address: the page, one "/" between the parts, the query after "?".
    const std::string url = random.Chance(50) ? "http://lumitrax.example/ping/" : random.Text(3);
    const std::string path = random.Chance(70) ? "start" : random.Text(2);
    const std::string address = PingAddress(url, path, query);
    EXPECT_EQ(address.substr(0, url.size()), url);
    EXPECT_EQ(address.substr(address.size() - query.size() - 1), "?" + query) << Shown(address);
    const std::string before_query = address.substr(0, address.size() - query.size() - 1);
    ASSERT_FALSE(before_query.empty());
    EXPECT_EQ(before_query.back(), '/') << Shown(address);
  }
}

}  // namespace
}  // namespace lumitrax::core
