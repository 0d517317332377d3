#include "framework/menu.h"

#include "framework/handles.h"
#include "framework/scope_exit.h"

namespace lumitrax {
namespace {

UINT NextCommand() {
  // Command numbers stay below 0xF000, where the system commands begin.
  static UINT next = 100;
  const UINT command = next;
  next = next >= 0xEFFF ? 100 : next + 1;
  return command;
}

// Names of the keys whose display text is not a character of their own.
const wchar_t* KeyName(WORD key) {
  switch (key) {
    case VK_BACK: return L"BkSp";
    case VK_TAB: return L"Tab";
    case VK_RETURN: return L"Enter";
    case VK_ESCAPE: return L"Esc";
    case VK_SPACE: return L"Space";
    case VK_PRIOR: return L"PgUp";
    case VK_NEXT: return L"PgDn";
    case VK_END: return L"End";
    case VK_HOME: return L"Home";
    case VK_LEFT: return L"Left";
    case VK_UP: return L"Up";
    case VK_RIGHT: return L"Right";
    case VK_DOWN: return L"Down";
    case VK_INSERT: return L"Ins";
    case VK_DELETE: return L"Del";
    default: return nullptr;
  }
}

}  // namespace

UINT MenuBreakType(TMenuBreak value) noexcept {
  switch (value) {
    case TMenuBreak::mbBreak: return MFT_MENUBREAK;
    case TMenuBreak::mbBarBreak: return MFT_MENUBARBREAK;
    case TMenuBreak::mbNone: break;
  }
  return 0;
}

std::wstring ShortCutToText(TShortCut shortcut) {
  const auto key = static_cast<WORD>(shortcut & 0xFF);
  std::wstring name;
  if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) {
    name = static_cast<wchar_t>(key);
  } else if (key >= VK_F1 && key <= VK_F24) {
    const std::string number = std::to_string(key - VK_F1 + 1);
    name = L"F" + std::wstring(number.begin(), number.end());
  } else if (const wchar_t* known = KeyName(key)) {
    name = known;
  } else if (key != 0) {
    // Anything else by the name the keyboard layout gives the key.
    wchar_t text[64] = {};
    const UINT scan = ::MapVirtualKeyW(key, MAPVK_VK_TO_VSC);
    if (scan && ::GetKeyNameTextW(static_cast<LONG>(scan << 16), text, 64) > 0) name = text;
  }
  if (name.empty()) return {};
  std::wstring text;
  if (shortcut & scShift) text += L"Shift+";
  if (shortcut & scCtrl) text += L"Ctrl+";
  if (shortcut & scAlt) text += L"Alt+";
  return text + name;
}

TMenuItem::TMenuItem(std::wstring caption, intptr_t tag) : Caption(std::move(caption)), command_(NextCommand()) {
  Tag = tag;
}

TMenuItem::~TMenuItem() {
  // By index, and nothing is erased meanwhile: an observer may add or remove
  // observers (itself included) while it is told.
  destroying_ = true;
  for (size_t i = 0; i < free_observers_.size(); ++i) {
    TFreeNotifyEvent observer = std::move(free_observers_[i].second);
    free_observers_[i].second = nullptr;
    if (observer) observer(*this);
  }
}

size_t TMenuItem::FreeNotification(TFreeNotifyEvent observer) {
  if (!destroying_) std::erase_if(free_observers_, [](const auto& entry) { return !entry.second; });
  const size_t token = next_free_token_++;
  free_observers_.emplace_back(token, std::move(observer));
  return token;
}

void TMenuItem::RemoveFreeNotification(size_t token) noexcept {
  for (auto& [id, observer] : free_observers_)
    if (id == token) observer = nullptr;
}

std::wstring TMenuItem::DisplayText() const {
  if (!items_.empty() || ShortCut == 0) return Caption;
  const std::wstring shortcut = ShortCutToText(ShortCut);
  return shortcut.empty() ? Caption : Caption + L"\t" + shortcut;
}

TMenuItem& TMenuItem::Add(std::unique_ptr<TMenuItem> item) {
  item->parent_ = this;
  items_.push_back(std::move(item));
  return *items_.back();
}

TMenuItem& TMenuItem::Add(std::wstring caption, intptr_t tag) {
  return Add(std::make_unique<TMenuItem>(std::move(caption), tag));
}

TMenuItem* TMenuItem::FindByCommand(UINT command) {
  if (command_ == command) return this;
  for (auto& item : items_)
    if (TMenuItem* found = item->FindByCommand(command)) return found;
  return nullptr;
}

void TMenuItem::Click() {
  if (Enabled && OnClick) OnClick(*this);
}

HMENU TMenuItem::BuildMenu(bool popup) const {
  UniqueMenu menu(popup ? ::CreatePopupMenu() : ::CreateMenu());
  UINT position = 0;
  for (const auto& item : items_) {
    if (!item->Visible) continue;
    std::wstring text = item->DisplayText();
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    if (item->IsSeparator()) {
      info.fMask = MIIM_FTYPE;
      info.fType = MFT_SEPARATOR;
    } else {
      info.fMask = MIIM_FTYPE | MIIM_STRING | MIIM_ID | MIIM_STATE;
      info.fType = (item->RadioItem ? MFT_RADIOCHECK : 0) | MenuBreakType(item->Break);
      info.dwTypeData = text.data();
      info.wID = item->command_;
      info.fState = (item->Enabled ? MFS_ENABLED : MFS_DISABLED) | (item->Checked ? MFS_CHECKED : 0) |
                    (item->Default ? MFS_DEFAULT : 0);
      if (item->Count() > 0) {
        info.fMask |= MIIM_SUBMENU;
        info.hSubMenu = item->BuildMenu(true);
      }
    }
    ::InsertMenuItemW(menu.get(), position++, TRUE, &info);
  }
  return menu.release();
}

TPopupMenu::TPopupMenu() = default;

void TPopupMenu::Popup(HWND owner, int x, int y) {
  FPopupShowing = true;
  const ScopeExit reset([this] { FPopupShowing = false; });
  Track(owner, x, y);
  if (OnClose) OnClose(*this);
}

void TPopupMenu::Track(HWND owner, int x, int y) {
  if (OnPopup) OnPopup(*this);
  UniqueMenu menu(Items.BuildMenu(true));
  // The owner must be the foreground window, or the menu stays open when the
  // user clicks elsewhere; the posted null message lets the next click through.
  ::SetForegroundWindow(owner);
  const UINT flags = TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON |
                     (::GetSystemMetrics(SM_MENUDROPALIGNMENT) ? TPM_RIGHTALIGN : TPM_LEFTALIGN);
  const auto command = static_cast<UINT>(::TrackPopupMenuEx(menu.get(), flags, x, y, owner, nullptr));
  ::PostMessageW(owner, WM_NULL, 0, 0);
  menu.reset();
  if (command == 0) return;
  if (TMenuItem* item = Items.FindByCommand(command)) item->Click();
}

}  // namespace lumitrax
