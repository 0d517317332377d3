#include "settings/system_menu.h"

#include <string>

#include "framework/application.h"

namespace lumitrax {
namespace {

// The command base of the next system menu item: 16 for the first one
// constructed in the process, then 32, 48, ... (wrapping at 65536).
uint16_t TakeNextCommandBase() noexcept {
  static uint16_t next_command_base = 0;
  next_command_base = static_cast<uint16_t>(next_command_base + 16);
  return next_command_base;
}

bool IsNoHandle(HWND window) noexcept { return !window || window == reinterpret_cast<HWND>(-1); }

// Depth first, in order, among the children of `item` (not the item itself).
TMenuItem* FindSubItem(const TMenuItem& item, UINT command) {
  for (size_t i = 0; i < item.Count(); ++i) {
    TMenuItem& child = item[i];
    if (child.Command() == command) return &child;
    if (TMenuItem* found = FindSubItem(child, command)) return found;
  }
  return nullptr;
}

bool SameTextForUser(const std::wstring& a, const std::wstring& b) {
  return ::CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.c_str(), static_cast<int>(a.size()), b.c_str(),
                          static_cast<int>(b.size())) == CSTR_EQUAL;
}

}  // namespace

bool InsertMenuEntry(HMENU menu, const TMenuItem& item, UINT index, UINT id, bool right_to_left, HMENU sub_menu) {
  if (!item.Visible) {
    if (sub_menu) ::DestroyMenu(sub_menu);
    return false;
  }
  std::wstring text = item.DisplayText();
  MENUITEMINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_STATE | MIIM_ID | MIIM_CHECKMARKS | MIIM_TYPE | (sub_menu ? MIIM_SUBMENU : 0);
  info.fType = (item.Caption == L"-" ? MFT_SEPARATOR : MFT_STRING) | (item.RadioItem ? MFT_RADIOCHECK : 0) |
               MenuBreakType(item.Break) | (right_to_left ? MFT_RIGHTORDER | MFT_RIGHTJUSTIFY : 0);
  info.fState = (item.Checked ? MFS_CHECKED : 0) | (item.Enabled ? 0 : MFS_GRAYED) | (item.Default ? MFS_DEFAULT : 0);
  info.wID = id;
  info.hSubMenu = sub_menu;
  info.dwTypeData = text.data();
  info.cch = static_cast<UINT>(text.size());
  const bool inserted = menu && ::InsertMenuItemW(menu, index, TRUE, &info);
  if (!inserted && sub_menu) ::DestroyMenu(sub_menu);
  return inserted;
}

// --- TCustomSystemMenuHook ---

TCustomSystemMenuHook::TCustomSystemMenuHook(TComponent* owner) : TCustomWndProcHook(owner) {
  OnMessageBefore = [this](TCustomWndProcHook&, THookMessage& msg, bool& handled) { HandleMessage(msg, handled); };
}

TCustomSystemMenuHook::~TCustomSystemMenuHook() {
  FDestroying = true;
  TCustomSystemMenuHook::RemoveItem();
}

void TCustomSystemMenuHook::SetInserted(bool value) {
  if (value == FInserted) return;
  if (Loading() || FDestroying) {
    FInserted = value;
    return;
  }
  if (value)
    InsertItem();
  else
    RemoveItem();
}

void TCustomSystemMenuHook::SetInsertToAppMenu(bool value) {
  if (value == FInsertToAppMenu) return;
  FInsertToAppMenu = value;
  SetHandle(value ? Application().Handle() : nullptr);
}

void TCustomSystemMenuHook::SetPosition(int32_t value) {
  if (value == FPosition) return;
  const bool inserted = FInserted;
  SetInserted(false);
  FPosition = value;
  SetInserted(inserted);
}

HMENU TCustomSystemMenuHook::GetMenuHandle() {
  const HWND window = GetHandle();
  return IsNoHandle(window) ? nullptr : ::GetSystemMenu(window, FALSE);
}

void TCustomSystemMenuHook::Loaded() {
  TCustomWndProcHook::Loaded();
  if (FInserted) {
    FInserted = false;
    SetInserted(true);
  }
}

void TCustomSystemMenuHook::SetHandle(HWND value) {
  if (value == FExplicitHandle) return;
  const bool inserted = FInserted;
  SetInserted(false);
  FExplicitHandle = value;
  TCustomWndProcHook::SetHandle(value);
  SetInserted(inserted);
}

void TCustomSystemMenuHook::HandleMessage(THookMessage&, bool& handled) { handled = false; }

void TCustomSystemMenuHook::InsertItem() {
  FInserted = true;
  SetActive(true);
}

void TCustomSystemMenuHook::RemoveItem() {
  FInserted = false;
  SetActive(false);
}

HWND TCustomSystemMenuHook::GetHandle() {
  // While going away, a window that is already gone is not created anew
  // just to clean its menu.
  if (FDestroying && IsNoHandle(FExplicitHandle)) {
    TWindow* const control = WinControl();
    if (!control || !control->HandleAllocated()) return nullptr;
  }
  return TCustomWndProcHook::GetHandle();
}

// --- TSystemMenuItem ---

TSystemMenuItem::TSystemMenuItem(TComponent* owner)
    : TCustomSystemMenuHook(owner), FCommandBase(TakeNextCommandBase()) {}

TSystemMenuItem::~TSystemMenuItem() {
  FDestroying = true;
  TSystemMenuItem::RemoveItem();
  if (FMenuItem) FMenuItem->RemoveFreeNotification(FFreeToken);
}

UINT TSystemMenuItem::GetCommand() const { return FCommandBase + (FMenuItem ? FMenuItem->Command() : 0u); }

HMENU TSystemMenuItem::GetItemSubMenu() const {
  return FMenuItem && FMenuItem->Count() > 0 ? FMenuItem->BuildMenu(true) : nullptr;
}

void TSystemMenuItem::SetMenuItem(TMenuItem* value) {
  if (value == FMenuItem) return;
  const bool inserted = FInserted;
  SetInserted(false);
  if (FMenuItem) FMenuItem->RemoveFreeNotification(FFreeToken);
  FMenuItem = value;
  FFreeToken = value ? value->FreeNotification([this](TMenuItem& item) { Notification(item); }) : 0;
  SetInserted(inserted);
}

void TSystemMenuItem::Notification(TComponent& component) {
  TCustomSystemMenuHook::Notification(component);
  if (&component == FMenuItem)
    SetMenuItem(nullptr);
  else if (&component == this && FInserted)
    RemoveItem();
}

void TSystemMenuItem::HandleMessage(THookMessage& msg, bool& handled) {
  // Never handled here: the window still gets every message, this one too.
  handled = false;
  if (!FMenuItem || !FInserted || msg.Msg != WM_SYSCOMMAND) return;
  if (msg.WParam == GetCommand()) {
    FMenuItem->Click();
    return;
  }
  // Entries of a mirrored sub-menu report their own command numbers.
  if (TMenuItem* const item = FindSubItem(*FMenuItem, LOWORD(msg.WParam))) item->Click();
}

void TSystemMenuItem::InsertItem() {
  if (!FMenuItem) return;
  // The program's menus always read left to right.
  InsertMenuEntry(GetMenuHandle(), *FMenuItem, static_cast<UINT>(FPosition), GetCommand(), false, GetItemSubMenu());
  TCustomSystemMenuHook::InsertItem();
}

void TSystemMenuItem::RemoveItem() {
  TCustomSystemMenuHook::RemoveItem();
  if (!FMenuItem) return;
  const HMENU menu = GetMenuHandle();
  if (!menu) return;
  const UINT command = GetCommand();
  wchar_t buffer[256] = {};
  ::GetMenuStringW(menu, command, buffer, 256, MF_BYCOMMAND);
  std::wstring text = buffer;
  text = text.substr(0, text.find(L'\t'));
  // An entry whose text changed is no longer ours.
  if (FMenuItem->Caption == L"-" || SameTextForUser(text, FMenuItem->Caption))
    ::DeleteMenu(menu, command, MF_BYCOMMAND);
}

}  // namespace lumitrax
