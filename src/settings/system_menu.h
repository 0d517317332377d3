#pragma once
// Entries of the program's own in a window's system menu (the window menu of
// the title bar and of Alt+Space). A system menu item mirrors one item of a
// popup menu: its caption, state and children are copied into a new entry of
// the system menu, and when the user chooses that entry, the window's
// WM_SYSCOMMAND is turned back into a click of the mirrored item. The message
// is seen through a window hook on the window's chain, and it always goes on
// down the chain to the window afterwards.
#include <windows.h>

#include <cstdint>

#include "framework/menu.h"
#include "framework/wnd_proc_hook.h"

namespace lumitrax {

// Inserts the entry that shows `item` into `menu` at `index` with command id
// `id`. `sub_menu` is the entry's sub-menu (null for none); the menu takes it
// over on success, and it is destroyed on failure. Returns whether the system
// took the entry; an invisible item gets none.
bool InsertMenuEntry(HMENU menu, const TMenuItem& item, UINT index, UINT id, bool right_to_left, HMENU sub_menu);

// The system-menu side: where the entry goes and when it is in the menu.
// Inserted entries keep the hook on the window's chain; removed ones take it
// off. Derived classes say what the entry is.
class TCustomSystemMenuHook : public TCustomWndProcHook {
 public:
  explicit TCustomSystemMenuHook(TComponent* owner = nullptr);
  ~TCustomSystemMenuHook() override;

  // The entry is meant to be in the menu (default true).
  bool Inserted() const noexcept { return FInserted; }
  virtual void SetInserted(bool value);
  // Use the system menu of the application's hidden window (the menu of its
  // taskbar button) instead of the owner window's (default false).
  bool InsertToAppMenu() const noexcept { return FInsertToAppMenu; }
  virtual void SetInsertToAppMenu(bool value);
  // Zero-based index at which the entry is inserted (default 0).
  int32_t Position() const noexcept { return FPosition; }
  virtual void SetPosition(int32_t value);

  // The window menu of the hooked window; null when there is no window.
  virtual HMENU GetMenuHandle();

  // A component read step by step: the entry goes in when loading ends.
  void Loaded() override;
  // Another window: the entry leaves the old window's menu and enters the new one's.
  void SetHandle(HWND value) override;

 protected:
  // The hook's OnMessageBefore handler.
  virtual void HandleMessage(THookMessage& msg, bool& handled);
  virtual void InsertItem();
  virtual void RemoveItem();
  HWND GetHandle() override;

  // Set by the destructors: the owner's window is then never created anew.
  bool FDestroying = false;
  bool FInserted = true;
  bool FInsertToAppMenu = false;
  int32_t FPosition = 0;

 private:
  HWND FExplicitHandle = nullptr;
};

// One popup menu item mirrored into the system menu. Every item constructed
// takes the next command base (16, 32, 48, ...): its entry's id is the base
// plus the mirrored item's command number, so two components mirroring the
// same item still have entries of their own.
class TSystemMenuItem : public TCustomSystemMenuHook {
 public:
  explicit TSystemMenuItem(TComponent* owner = nullptr);
  ~TSystemMenuItem() override;

  uint16_t CommandBase() const noexcept { return FCommandBase; }
  // The entry's id: the base plus the mirrored item's command number.
  virtual UINT GetCommand() const;

  TMenuItem* MenuItem() const noexcept { return FMenuItem; }
  virtual void SetMenuItem(TMenuItem* value);

  // The mirrored item or this component is going away.
  void Notification(TComponent& component) override;

 protected:
  // A new menu of the mirrored item's children, owned by the caller; null
  // when the item has none.
  virtual HMENU GetItemSubMenu() const;
  void HandleMessage(THookMessage& msg, bool& handled) override;
  void InsertItem() override;
  void RemoveItem() override;

 private:
  uint16_t FCommandBase;
  TMenuItem* FMenuItem = nullptr;
  size_t FFreeToken = 0;
};

}  // namespace lumitrax
