#pragma once
// Menu items as components and the popup menu that shows them. The Windows
// menu is built anew for every showing and destroyed right after it.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "framework/window.h"

namespace lumitrax {

// A keyboard shortcut: a virtual key in the low byte, plus modifier bits.
using TShortCut = WORD;
constexpr TShortCut scShift = 0x2000;
constexpr TShortCut scCtrl = 0x4000;
constexpr TShortCut scAlt = 0x8000;

// The display text of a shortcut ("Shift+Ctrl+F5"); empty for none.
std::wstring ShortCutToText(TShortCut shortcut);

// Where an item starts a new column of its menu.
enum class TMenuBreak { mbNone, mbBreak, mbBarBreak };
// The menu item type flag of a break (MFT_MENUBREAK, MFT_MENUBARBREAK or 0).
UINT MenuBreakType(TMenuBreak value) noexcept;

class TMenuItem : public TComponent {
 public:
  explicit TMenuItem(std::wstring caption = {}, intptr_t tag = 0);
  ~TMenuItem() override;

  std::wstring Caption;  // "-" is a separator
  bool Enabled = true;
  bool Checked = false;
  bool Default = false;  // shown in bold; the action of a double click
  bool RadioItem = false;
  bool Visible = true;
  TMenuBreak Break = TMenuBreak::mbNone;
  TShortCut ShortCut = 0;  // shown after a tab; items with children show none
  TNotifyEvent OnClick;

  // The text of the item in a Windows menu: the caption, and for an item
  // without children that has a shortcut, a tab and the shortcut's text.
  std::wstring DisplayText() const;

  // Observers told when the item is being destroyed, while it is still whole.
  // An observer may remove itself (or others) while it is told.
  using TFreeNotifyEvent = std::function<void(TMenuItem& item)>;
  // Returns a token for RemoveFreeNotification.
  size_t FreeNotification(TFreeNotifyEvent observer);
  void RemoveFreeNotification(size_t token) noexcept;

  // Adds a child; the item owns it.
  TMenuItem& Add(std::unique_ptr<TMenuItem> item);
  TMenuItem& Add(std::wstring caption, intptr_t tag = 0);
  size_t Count() const noexcept { return items_.size(); }
  TMenuItem& operator[](size_t index) const { return *items_[index]; }
  TMenuItem* Parent() const noexcept { return parent_; }
  bool IsSeparator() const noexcept { return Caption == L"-"; }

  // The command number this item carries in a Windows menu (unique per process).
  UINT Command() const noexcept { return command_; }
  TMenuItem* FindByCommand(UINT command);

  // Runs OnClick when the item is enabled.
  virtual void Click();

  // Builds the Windows menu of this item's children.
  HMENU BuildMenu(bool popup) const;

 private:
  std::vector<std::unique_ptr<TMenuItem>> items_;
  TMenuItem* parent_ = nullptr;
  UINT command_;
  std::vector<std::pair<size_t, TFreeNotifyEvent>> free_observers_;
  size_t next_free_token_ = 1;
  bool destroying_ = false;
};

class TPopupMenu : public TComponent {
 public:
  TPopupMenu();
  TMenuItem Items;
  // Runs each time the menu is about to open.
  TNotifyEvent OnPopup;
  // Runs after the menu has closed.
  TNotifyEvent OnClose;
  // True while the menu is open (its own message loop runs).
  bool PopupShowing() const noexcept { return FPopupShowing; }

  // Shows the menu at screen coordinates for the given window (which is made
  // the foreground window, so the menu closes when the user clicks elsewhere),
  // then runs the chosen item's click.
  void Popup(HWND owner, int x, int y);

 private:
  void Track(HWND owner, int x, int y);
  bool FPopupShowing = false;
};

}  // namespace lumitrax
