// The settings window as a screen reader reads it: from another process,
// through Active Accessibility, every visible control's name, role, value and
// state.
#include <gtest/gtest.h>
#include <oleacc.h>

#include <initializer_list>
#include <iterator>
#include <string>
#include <vector>

#include "e2e_support.h"

namespace lumitrax::e2e {
namespace {

// IID_IAccessible; MinGW's import library gives a thunk for the data symbol.
constexpr IID kIidAccessible = {0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};

struct Read {
  HWND window = nullptr;
  std::wstring class_name, name, value;
  long role = 0, state = 0;
  bool answered = false;
};

std::wstring ClassOf(HWND window) {
  wchar_t name[128]{};
  ::GetClassNameW(window, name, 128);
  return name;
}

std::wstring Take(BSTR text) {
  std::wstring result = text ? std::wstring(text, ::SysStringLen(text)) : std::wstring();
  ::SysFreeString(text);
  return result;
}

Read ReadControl(HWND window) {
  Read read;
  read.window = window;
  read.class_name = ClassOf(window);
  IAccessible* object = nullptr;
  if (FAILED(::AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), kIidAccessible,
                                          reinterpret_cast<void**>(&object))) ||
      !object)
    return read;
  read.answered = true;
  VARIANT self{};
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  BSTR text = nullptr;
  if (object->get_accName(self, &text) == S_OK) read.name = Take(text);
  text = nullptr;
  if (object->get_accValue(self, &text) == S_OK) read.value = Take(text);
  VARIANT role{}, state{};
  if (SUCCEEDED(object->get_accRole(self, &role)) && role.vt == VT_I4) read.role = role.lVal;
  if (SUCCEEDED(object->get_accState(self, &state)) && state.vt == VT_I4) read.state = state.lVal;
  object->Release();
  return read;
}

std::vector<Read> ReadAllControls(HWND form) {
  std::vector<HWND> children;
  ::EnumChildWindows(
      form,
      [](HWND child, LPARAM list) -> BOOL {
        if (::IsWindowVisible(child)) reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&children));
  std::vector<Read> reads;
  for (HWND child : children) reads.push_back(ReadControl(child));
  return reads;
}

const Read* FindByName(const std::vector<Read>& reads, const std::wstring& name, long role = 0) {
  for (const Read& read : reads)
    if (read.name == name && (role == 0 || read.role == role)) return &read;
  return nullptr;
}

// Presses the keys together and lets them go in reverse order.
void Press(std::initializer_list<WORD> keys) {
  std::vector<INPUT> inputs;
  for (WORD key : keys) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    inputs.push_back(input);
  }
  for (auto key = std::rbegin(keys); key != std::rend(keys); ++key) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = *key;
    input.ki.dwFlags = KEYEVENTF_KEYUP;
    inputs.push_back(input);
  }
  ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

class Com {
 public:
  Com() { ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
  ~Com() { ::CoUninitialize(); }
};

void OpenSettings(Program& program, HWND& main) {
  main = program.FindWindow(L"TfrmMain", L"Lumitrax", 15000);
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(WaitFor([&] { return ::IsWindowVisible(main) != FALSE; }, 5000));
}

TEST(AccessibilityEndToEnd, EveryControlOfTheSettingsWindowHasANameRoleAndState) {
  const Com com;
  Program program;
  HWND main = nullptr;
  OpenSettings(program, main);
  const std::vector<Read> reads = ReadAllControls(main);
  ASSERT_GT(reads.size(), 30u);
  for (const Read& read : reads) {
    SCOPED_TRACE(read.class_name);
    EXPECT_TRUE(read.answered);
    EXPECT_FALSE(read.name.empty()) << "a control without a name";
    EXPECT_NE(read.role, 0);
  }

  // The drawn and label-less controls say what they are.
  const Read* caps = nullptr;
  for (const Read& read : reads)
    if (read.name.rfind(L"Caps Lock, ", 0) == 0 && read.role == ROLE_SYSTEM_PUSHBUTTON) caps = &read;
  ASSERT_NE(caps, nullptr);
  EXPECT_TRUE(caps->name == L"Caps Lock, on" || caps->name == L"Caps Lock, off");

  // Lists named by the label before them, their choice as the value.
  const Read* led1 = FindByName(reads, L"Led 1 lock", ROLE_SYSTEM_COMBOBOX);
  ASSERT_NE(led1, nullptr);
  EXPECT_EQ(led1->value, L"Num Lock");
  const Read* body = FindByName(reads, L"Body", ROLE_SYSTEM_COMBOBOX);
  ASSERT_NE(body, nullptr);
  EXPECT_EQ(body->value, L"Red");

  const Read* color = FindByName(reads, L"Led 1", ROLE_SYSTEM_COMBOBOX);
  ASSERT_NE(color, nullptr);
  EXPECT_EQ(color->role, ROLE_SYSTEM_COMBOBOX);
  EXPECT_EQ(color->value, L"Red");

  const Read* grid = nullptr;
  for (const Read& read : reads)
    if (read.role == ROLE_SYSTEM_COMBOBOX && read.value.rfind(L"Custom... #", 0) == 0) grid = &read;
  ASSERT_NE(grid, nullptr) << "the grid's colour is the custom entry, with its hex value";
  EXPECT_EQ(grid->value, L"Custom... #D0D0D0");

  // The spin edits: their label and their number.
  std::vector<std::pair<std::wstring, std::wstring>> spins;
  for (const Read& read : reads)
    if (read.class_name == L"TUpDownEdit") spins.emplace_back(read.name, read.value);
  EXPECT_EQ(spins, (std::vector<std::pair<std::wstring, std::wstring>>{{L"Hide after (sec)", L"3"}, {L"Opacity", L"80"}}));

  // The display group: the frame and the check box in its caption.
  int display_group = 0;
  for (const Read& read : reads) {
    if (read.name != L"On Screen Display") continue;
    ++display_group;
    if (read.class_name == L"TCheckBox") {
      EXPECT_TRUE(read.state & STATE_SYSTEM_CHECKED);
    }
  }
  EXPECT_EQ(display_group, 2);

  const Read* preview = FindByName(reads, L"Tray icon preview");
  ASSERT_NE(preview, nullptr);
  EXPECT_EQ(preview->role, ROLE_SYSTEM_GRAPHIC);
  EXPECT_NE(preview->value.find(L"Caps Lock"), std::wstring::npos);
  const Read* display = FindByName(reads, L"On screen display preview");
  ASSERT_NE(display, nullptr);
  EXPECT_EQ(display->value, L"Text White on Red");

  int links = 0;
  for (const Read& read : reads) {
    if (read.role != ROLE_SYSTEM_LINK) continue;
    ++links;
    SCOPED_TRACE(read.name);
    EXPECT_TRUE(read.state & STATE_SYSTEM_LINKED);
    EXPECT_TRUE(read.state & STATE_SYSTEM_FOCUSABLE);
    EXPECT_NE(read.value.find(L"://"), std::wstring::npos) << "a link's value is its address";
  }
  EXPECT_EQ(links, 7);
  EXPECT_NE(FindByName(reads, L"Page on Facebook"), nullptr);

  // Lists and edits that their label names stand directly after it.
  for (const Read& read : reads) {
    if (read.class_name != L"TComboBox" && read.class_name != L"TColorComboBox" && read.class_name != L"TUpDownEdit")
      continue;
    const HWND before = ::GetWindow(read.window, GW_HWNDPREV);
    const bool labelled = before && ClassOf(before) == L"TLabel";
    const bool named_here = read.name.find(L" lock") != std::wstring::npos || read.name == L"Hide after (sec)";
    EXPECT_TRUE(labelled || named_here) << "no label before " << read.class_name;
  }
  ::PostMessageW(main, WM_CLOSE, 0, 0);
}

TEST(AccessibilityEndToEnd, EveryControlOfTheAboutDialogHasANameAndItsLinksTheLinkRole) {
  const Com com;
  Program program;
  HWND main = nullptr;
  OpenSettings(program, main);
  // "About" is the first entry of the window menu: Alt+Space opens it on
  // that entry, Enter chooses it, as a keyboard user does.
  ::SetForegroundWindow(main);
  ASSERT_TRUE(WaitFor([&] { return ::GetForegroundWindow() == main; }, 3000));
  Press({VK_MENU, VK_SPACE});
  ASSERT_TRUE(WaitFor(
      [&] {
        GUITHREADINFO info{};
        info.cbSize = sizeof(info);
        return ::GetGUIThreadInfo(::GetWindowThreadProcessId(main, nullptr), &info) &&
               (info.flags & GUI_INMENUMODE);
      },
      3000));
  Press({VK_RETURN});
  const HWND about = program.FindWindow(L"TfrmAbout", nullptr, 5000);
  ASSERT_NE(about, nullptr);
  ASSERT_TRUE(WaitFor([&] { return ::IsWindowVisible(about) != FALSE; }, 5000));

  const std::vector<Read> reads = ReadAllControls(about);
  ASSERT_EQ(reads.size(), 7u);
  int links = 0;
  for (const Read& read : reads) {
    SCOPED_TRACE(read.class_name);
    EXPECT_FALSE(read.name.empty()) << "a control without a name";
    EXPECT_NE(read.role, 0);
    if (read.role == ROLE_SYSTEM_LINK) {
      ++links;
      EXPECT_TRUE(read.state & STATE_SYSTEM_FOCUSABLE);
    }
  }
  EXPECT_EQ(links, 3);
  const Read* ok = FindByName(reads, L"OK", ROLE_SYSTEM_PUSHBUTTON);
  ASSERT_NE(ok, nullptr);
  EXPECT_NE(FindByName(reads, L"Open Website", ROLE_SYSTEM_LINK), nullptr) << "the icon says where it leads";
  EXPECT_NE(FindByName(reads, L"Lumitrax", ROLE_SYSTEM_STATICTEXT), nullptr);

  ::PostMessageW(about, WM_CLOSE, 0, 0);
  EXPECT_TRUE(WaitFor([&] { return !::IsWindowVisible(about); }, 5000));
  ::PostMessageW(main, WM_CLOSE, 0, 0);
}

TEST(AccessibilityEndToEnd, EveryControlOfTheMoreSettingsWindowHasANameAndTheListItsLabel) {
  const Com com;
  Program program;
  HWND main = nullptr;
  OpenSettings(program, main);
  // The settings window's button, by its mnemonic, as a keyboard user opens it.
  ::SetForegroundWindow(main);
  ASSERT_TRUE(WaitFor([&] { return ::GetForegroundWindow() == main; }, 3000));
  Press({VK_MENU, 'E'});
  const HWND more = program.FindWindow(L"TfrmMoreSettings", nullptr, 5000);
  ASSERT_NE(more, nullptr);
  ASSERT_TRUE(WaitFor([&] { return ::IsWindowVisible(more) != FALSE; }, 5000));

  const std::vector<Read> reads = ReadAllControls(more);
  ASSERT_EQ(reads.size(), 8u);
  for (const Read& read : reads) {
    SCOPED_TRACE(read.class_name);
    EXPECT_FALSE(read.name.empty()) << "a control without a name";
    EXPECT_NE(read.role, 0);
  }
  const Read* placement = FindByName(reads, L"Show the display:", ROLE_SYSTEM_COMBOBOX);
  if (!placement) placement = FindByName(reads, L"Show the display", ROLE_SYSTEM_COMBOBOX);
  ASSERT_NE(placement, nullptr) << "the list is named by the label before it";
  EXPECT_EQ(placement->value, L"Where I put it");
  const Read* reports = FindByName(reads, L"Send anonymous usage reports", ROLE_SYSTEM_CHECKBUTTON);
  ASSERT_NE(reports, nullptr);
  EXPECT_TRUE(reports->state & STATE_SYSTEM_CHECKED);
  const Read* language = FindByName(reads, L"Language:", ROLE_SYSTEM_COMBOBOX);
  if (!language) language = FindByName(reads, L"Language", ROLE_SYSTEM_COMBOBOX);
  ASSERT_NE(language, nullptr);
  EXPECT_EQ(language->value, L"Windows default");

  ::PostMessageW(more, WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_TRUE(WaitFor([&] { return !::IsWindowVisible(more); }, 5000));
  ::PostMessageW(main, WM_CLOSE, 0, 0);
}

}  // namespace
}  // namespace lumitrax::e2e
