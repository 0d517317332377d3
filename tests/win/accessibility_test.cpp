// What a screen reader hears of the program's own controls, read in this
// process through Active Accessibility: the lock buttons' names follow the
// locks and readers are told; an object a reader still holds after its
// control is gone answers without it.
#include <gtest/gtest.h>
#include <oleacc.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "app/form_main.h"
#include "framework/accessible.h"
#include "indicator/lock_state.h"
#include "test_support.h"

namespace lumitrax {
namespace {

using testing::RunUntil;

struct AccessibleRead {
  HRESULT result = E_FAIL;
  std::wstring name;
};

AccessibleRead NameOf(IAccessible* object) {
  VARIANT self{};
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  BSTR text = nullptr;
  AccessibleRead read;
  read.result = object->get_accName(self, &text);
  if (text) read.name.assign(text, ::SysStringLen(text));
  ::SysFreeString(text);
  return read;
}

IAccessible* ObjectOf(HWND window) {
  IAccessible* object = nullptr;
  ::AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), kIidAccessible,
                               reinterpret_cast<void**>(&object));
  return object;
}

// The windows whose name changed, as a reader's event hook hears them.
std::vector<HWND>* g_renamed = nullptr;
void CALLBACK HearNameChange(HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG child, DWORD, DWORD) {
  if (g_renamed && object == OBJID_CLIENT && child == CHILDID_SELF) g_renamed->push_back(window);
}

TEST(Accessibility, TheLockButtonsNameTheirLockAndItsStateAndReadersHearTheChange) {
  auto form = std::make_unique<TfrmMain>();
  ASSERT_TRUE(RunUntil([&] { return !form->StartupPending(); }, 3000));
  std::vector<HWND> renamed;
  g_renamed = &renamed;
  const HWINEVENTHOOK hook = ::SetWinEventHook(EVENT_OBJECT_NAMECHANGE, EVENT_OBJECT_NAMECHANGE, nullptr,
                                               HearNameChange, ::GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
  ASSERT_NE(hook, nullptr);

  const HWND caps = form->btnCapsLock.Handle();
  IAccessible* object = ObjectOf(caps);
  ASSERT_NE(object, nullptr);
  const bool was_on = GetLockState(2);
  EXPECT_EQ(NameOf(object).name, was_on ? L"Caps Lock, on" : L"Caps Lock, off");
  testing::SetLock(VK_CAPITAL, 2, !was_on);
  ASSERT_TRUE(RunUntil([&] { return form->LockMonitor.LockStates()[1] == !was_on; }, 3000));
  EXPECT_TRUE(RunUntil([&] { return std::count(renamed.begin(), renamed.end(), caps) > 0; }, 3000))
      << "readers are told of the new name";
  EXPECT_EQ(NameOf(object).name, !was_on ? L"Caps Lock, on" : L"Caps Lock, off");
  testing::SetLock(VK_CAPITAL, 2, was_on);
  RunUntil([&] { return form->LockMonitor.LockStates()[1] == was_on; }, 3000);

  ::UnhookWinEvent(hook);
  g_renamed = nullptr;
  object->Release();
}

TEST(Accessibility, AnObjectHeldAfterItsControlIsGoneAnswersWithoutIt) {
  auto form = std::make_unique<TfrmMain>();
  IAccessible* object = ObjectOf(form->btnNumLock.Handle());
  ASSERT_NE(object, nullptr);
  EXPECT_EQ(NameOf(object).name.rfind(L"Num Lock, ", 0), 0u);
  form.reset();
  // The control and its window are gone: no answer of ours, no crash.
  const AccessibleRead after = NameOf(object);
  EXPECT_EQ(after.name.find(L"Num Lock, "), std::wstring::npos);
  object->Release();
}

}  // namespace
}  // namespace lumitrax
