#include "framework/menu.h"

#include "framework/handles.h"

namespace lumitrax {
namespace {

UINT NextCommand() {
  // Command numbers stay below 0xF000, where the system commands begin.
  static UINT next = 100;
  const UINT command = next;
  next = next >= 0xEFFF ? 100 : next + 1;
  return command;
}

}  // namespace

TMenuItem::TMenuItem(std::wstring caption, intptr_t tag) : Caption(std::move(caption)), command_(NextCommand()) {
  Tag = tag;
}

TMenuItem::~TMenuItem() = default;

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
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    if (item->IsSeparator()) {
      info.fMask = MIIM_FTYPE;
      info.fType = MFT_SEPARATOR;
    } else {
      info.fMask = MIIM_FTYPE | MIIM_STRING | MIIM_ID | MIIM_STATE;
      info.fType = item->RadioItem ? MFT_RADIOCHECK : 0;
      info.dwTypeData = const_cast<wchar_t*>(item->Caption.c_str());
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
  struct Reset {
    bool& flag;
    ~Reset() { flag = false; }
  } reset{FPopupShowing};
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
