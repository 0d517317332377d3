// Window hooks on real windows: chain order, leaving from the middle, taking
// over messages, moving between windows, windows that die first, and the drag.
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "framework/application.h"
#include "framework/wnd_proc_hook.h"
#include "test_support.h"

namespace lumitrax {
namespace {

constexpr UINT kProbe = WM_APP + 31;
constexpr LRESULT kWindowAnswer = 42;

using Log = std::vector<std::string>;

// A window of our framework that logs the messages of interest reaching its
// own procedure.
class ProbeWindow : public TWindow {
 public:
  explicit ProbeWindow(Log& log) : log_(log) {}
  int destroyed = 0;

 protected:
  void CreateParams(TCreateParams& params) override {
    TWindow::CreateParams(params);
    params.class_name = L"THookProbeWindow";
    params.style = WS_POPUP;
    params.x = params.y = 100;
    params.width = params.height = 120;
  }
  LRESULT WndProc(UINT message, WPARAM wparam, LPARAM lparam) override {
    switch (message) {
      case kProbe:
        log_.push_back("window");
        return kWindowAnswer;
      case WM_LBUTTONDOWN:
        log_.push_back("window:down");
        return 0;
      case WM_LBUTTONDBLCLK:
        log_.push_back("window:dblclk");
        return 0;
      default:
        return TWindow::WndProc(message, wparam, lparam);
    }
  }
  void HandleDestroyed() override { ++destroyed; }

 private:
  Log& log_;
};

// Logs "<name" before and ">name" after the chain for the probe message.
void Record(TCustomWndProcHook& hook, Log& log, const std::string& name) {
  hook.OnMessageBefore = [&log, name](TCustomWndProcHook&, THookMessage& msg, bool&) {
    if (msg.Msg == kProbe) log.push_back("<" + name);
  };
  hook.OnMessageAfter = [&log, name](TCustomWndProcHook&, THookMessage& msg, bool&) {
    if (msg.Msg == kProbe) log.push_back(">" + name);
  };
}

WNDPROC ProcOf(HWND window) { return reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(window, GWLP_WNDPROC)); }

Log Probe(HWND window, Log& log, LRESULT* result = nullptr) {
  log.clear();
  const LRESULT answer = ::SendMessageW(window, kProbe, 0, 0);
  if (result) *result = answer;
  return log;
}

TEST(WndProcHookChain, OrderFollowsConstructionAndHooksLeaveFromAnywhere) {
  Log log;
  ProbeWindow window(log);
  const HWND h = window.Handle();
  const WNDPROC own = ProcOf(h);
  // Three ways to name the target: the owner, WinControl, an explicit handle.
  TWndProcHook a(&window), b, c;
  b.SetWinControl(&window);
  c.SetHandle(h);
  Record(a, log, "A");
  Record(b, log, "B");
  Record(c, log, "C");
  a.SetActive(true);
  b.SetActive(true);
  c.SetActive(true);
  EXPECT_EQ(a.Handle(), h);
  EXPECT_EQ(b.Handle(), h);

  LRESULT result = 0;
  EXPECT_EQ(Probe(h, log, &result), (Log{"<C", "<B", "<A", "window", ">A", ">B", ">C"}));
  EXPECT_EQ(result, kWindowAnswer);
  // The window's object is still bound to its window underneath the chain.
  EXPECT_EQ(TWindow::FromHandle(h), &window);
  EXPECT_EQ(window.Perform(kProbe), kWindowAnswer);

  b.SetActive(false);  // from the middle
  EXPECT_EQ(Probe(h, log), (Log{"<C", "<A", "window", ">A", ">C"}));
  a.SetActive(false);  // from the bottom: C now sits right on the window
  EXPECT_EQ(Probe(h, log), (Log{"<C", "window", ">C"}));

  // Order is the order of construction, not of activation.
  a.SetActive(true);
  b.SetActive(true);
  EXPECT_EQ(Probe(h, log), (Log{"<C", "<B", "<A", "window", ">A", ">B", ">C"}));

  c.SetActive(false);  // from the top
  b.SetActive(false);
  a.SetActive(false);
  EXPECT_EQ(ProcOf(h), own);
  EXPECT_EQ(Probe(h, log), (Log{"window"}));
}

TEST(WndProcHookChain, HandledTakesTheMessageOver) {
  Log log;
  ProbeWindow window(log);
  const HWND h = window.Handle();
  TWndProcHook below(&window), taker(&window);
  Record(below, log, "below");
  bool handled_after = false;
  taker.OnMessageBefore = [](TCustomWndProcHook&, THookMessage& msg, bool& handled) {
    if (msg.Msg != kProbe) return;
    handled = true;
    msg.Result = 7;
  };
  taker.OnMessageAfter = [&](TCustomWndProcHook&, THookMessage& msg, bool& handled) {
    if (msg.Msg == kProbe) handled_after = handled;
  };
  below.SetActive(true);
  taker.SetActive(true);

  LRESULT result = 0;
  EXPECT_EQ(Probe(h, log, &result), Log{});  // neither the hook below nor the window
  EXPECT_EQ(result, 7);
  EXPECT_TRUE(handled_after);
}

TEST(WndProcHookChain, FailingHandlerIsReportedAndTheMessageGoesOn) {
  Log log;
  ProbeWindow window(log);
  TWndProcHook hook(&window);
  hook.OnMessageBefore = [](TCustomWndProcHook&, THookMessage& msg, bool&) {
    if (msg.Msg == kProbe) throw std::runtime_error("hook handler failed");
  };
  hook.SetActive(true);
  std::vector<std::string> errors;
  Application().OnException = [&](const std::exception& error) { errors.push_back(error.what()); };
  LRESULT result = 0;
  const Log seen = Probe(window.Handle(), log, &result);
  Application().OnException = nullptr;
  EXPECT_EQ(errors, std::vector<std::string>{"hook handler failed"});
  EXPECT_EQ(seen, Log{"window"});
  EXPECT_EQ(result, kWindowAnswer);
}

TEST(WndProcHookChain, HookFreedByItsOwnHandlerLetsTheMessageThrough) {
  Log log;
  ProbeWindow window(log);
  const HWND h = window.Handle();
  const WNDPROC own = ProcOf(h);
  auto hook = std::make_unique<TWndProcHook>(&window);
  bool after_ran = false;
  hook->OnMessageBefore = [&](TCustomWndProcHook&, THookMessage& msg, bool&) {
    if (msg.Msg == kProbe) hook.reset();
  };
  hook->OnMessageAfter = [&](TCustomWndProcHook&, THookMessage&, bool&) { after_ran = true; };
  hook->SetActive(true);
  LRESULT result = 0;
  EXPECT_EQ(Probe(h, log, &result), Log{"window"});
  EXPECT_EQ(result, kWindowAnswer);
  EXPECT_FALSE(after_ran);
  EXPECT_EQ(ProcOf(h), own);
}

TEST(WndProcHookTarget, ChangingHandleOrWinControlMovesTheHook) {
  Log log1, log2;
  ProbeWindow first(log1);
  auto second_owner = std::make_unique<ProbeWindow>(log2);
  ProbeWindow& second = *second_owner;
  const HWND h1 = first.Handle(), h2 = second.Handle();
  const WNDPROC own1 = ProcOf(h1), own2 = ProcOf(h2);
  TWndProcHook hook(&first);
  Log events;
  Record(hook, events, "hook");
  int handle_changes = 0, control_changes = 0;
  hook.OnChangeHandle = [&](TComponent& sender) {
    EXPECT_EQ(&sender, &hook);
    ++handle_changes;
  };
  hook.OnChangeWinControl = [&](TComponent&) { ++control_changes; };
  hook.SetActive(true);

  hook.SetHandle(h2);
  EXPECT_EQ(handle_changes, 1);
  EXPECT_TRUE(hook.Active());
  EXPECT_EQ(ProcOf(h1), own1);
  Probe(h2, events);
  EXPECT_EQ(events, (Log{"<hook", ">hook"}));

  hook.SetHandle(nullptr);  // back to the owner
  EXPECT_EQ(ProcOf(h2), own2);
  EXPECT_NE(ProcOf(h1), own1);

  hook.SetWinControl(&second);
  EXPECT_EQ(control_changes, 1);
  EXPECT_EQ(ProcOf(h1), own1);
  EXPECT_NE(ProcOf(h2), own2);

  // The control going away tells the hook, which follows its owner again;
  // the control's window got its own procedure back before it went.
  WNDPROC proc_of_second_at_its_end = nullptr;
  hook.OnChangeWinControl = [&](TComponent&) {
    ++control_changes;
    if (::IsWindow(h2)) proc_of_second_at_its_end = ProcOf(h2);
  };
  second_owner.reset();
  EXPECT_EQ(hook.WinControl(), &first);
  EXPECT_EQ(control_changes, 2);
  EXPECT_EQ(proc_of_second_at_its_end, own2);
  EXPECT_NE(ProcOf(h1), own1);
  EXPECT_EQ(Probe(h1, events), (Log{"<hook", ">hook"}));

  // Moving an inactive hook does not activate it.
  hook.SetActive(false);
  ProbeWindow third(log2);
  const HWND h3 = third.Handle();
  const WNDPROC own3 = ProcOf(h3);
  hook.SetHandle(h3);
  EXPECT_FALSE(hook.Active());
  EXPECT_EQ(ProcOf(h3), own3);
}

TEST(WndProcHookTarget, AHookFreedBeforeItsControlIsNotToldAnything) {
  Log log;
  auto control = std::make_unique<ProbeWindow>(log);
  const HWND window = control->Handle();
  const WNDPROC own = ProcOf(window);
  {
    TWndProcHook hook;
    hook.SetWinControl(control.get());
    hook.SetActive(true);
    EXPECT_NE(ProcOf(window), own);
  }
  EXPECT_EQ(ProcOf(window), own);
  control.reset();  // would tell a freed hook if it had not withdrawn
  EXPECT_FALSE(::IsWindow(window));
}

TEST(WndProcHookTarget, WindowDestroyedBeforeTheHooks) {
  Log log;
  ProbeWindow window(log);
  auto lower = std::make_unique<TWndProcHook>(&window);
  auto upper = std::make_unique<TWndProcHook>(&window);
  lower->SetActive(true);
  upper->SetActive(true);

  window.DestroyHandle();
  // The window's own procedure saw the end of its window through the chain.
  EXPECT_EQ(window.destroyed, 1);
  EXPECT_TRUE(lower->Active());
  upper.reset();
  lower->SetActive(false);
  lower.reset();
  // Leaving a dead window must not create a new one.
  EXPECT_FALSE(window.HandleAllocated());

  // A new window of the same object is not affected by the old chain.
  const HWND fresh = window.Handle();
  EXPECT_EQ(Probe(fresh, log), Log{"window"});

  // The hooked control freed entirely before the hook: the hook forgets it
  // and has nothing to follow (no owner).
  auto gone = std::make_unique<ProbeWindow>(log);
  TWndProcHook orphan;
  orphan.SetWinControl(gone.get());
  orphan.SetActive(true);
  gone.reset();
  EXPECT_EQ(orphan.WinControl(), nullptr);
  EXPECT_EQ(orphan.Handle(), nullptr);
  orphan.Notification(orphan);
  EXPECT_FALSE(orphan.Active());
}

TEST(WndProcHookTarget, LoadingDefersTheWindowUntilLoaded) {
  Log log;
  ProbeWindow window(log);
  TWndProcHook hook(&window);
  Record(hook, log, "hook");
  hook.BeginLoading();
  hook.SetActive(true);
  EXPECT_TRUE(hook.Active());
  EXPECT_FALSE(window.HandleAllocated());
  hook.Loaded();
  ASSERT_TRUE(window.HandleAllocated());
  EXPECT_EQ(Probe(window.Handle(), log), (Log{"<hook", "window", ">hook"}));
}

TEST(WndProcHookList, HoldsHooksInConstructionOrderWhileAnyExists) {
  const bool none_before = HookList() == nullptr;
  const size_t before = none_before ? 0 : HookList()->Items.size();
  {
    TWndProcHook first, second;
    ASSERT_NE(HookList(), nullptr);
    const auto& items = HookList()->Items;
    ASSERT_EQ(items.size(), before + 2);
    EXPECT_EQ(items[before], &first);
    EXPECT_EQ(items[before + 1], &second);
  }
  if (none_before)
    EXPECT_EQ(HookList(), nullptr);
  else
    EXPECT_EQ(HookList()->Items.size(), before);
}

// The drag itself is the system's move loop; a hook above the dragging one
// catches the command so the test sees it without entering that loop.
class WndProcHookAutoDrag : public ::testing::Test {
 protected:
  WndProcHookAutoDrag() : window(log), drag(&window), catcher(&window) {
    catcher.OnMessageBefore = [this](TCustomWndProcHook&, THookMessage& msg, bool& handled) {
      if (msg.Msg != WM_SYSCOMMAND) return;
      commands.push_back({msg.WParam, msg.LParam});
      handled = true;
    };
    drag.SetAutoDrag(true);
    drag.SetActive(true);
    catcher.SetActive(true);
  }
  void Press(UINT message) {
    log.clear();
    ::SendMessageW(window.Handle(), message, MK_LBUTTON, MAKELPARAM(10, 10));
  }

  Log log;
  ProbeWindow window;
  TWndProcHook drag, catcher;
  std::vector<std::pair<WPARAM, LPARAM>> commands;
};

TEST_F(WndProcHookAutoDrag, PressStartsTheMoveInsteadOfReachingTheWindow) {
  ::SetCapture(window.Handle());
  Press(WM_LBUTTONDOWN);
  EXPECT_EQ(commands, (std::vector<std::pair<WPARAM, LPARAM>>{{0xF012, 0}}));
  EXPECT_EQ(log, Log{});
  EXPECT_EQ(::GetCapture(), nullptr);
}

TEST_F(WndProcHookAutoDrag, DoubleClickIsNotAPress) {
  Press(WM_LBUTTONDBLCLK);
  EXPECT_TRUE(commands.empty());
  EXPECT_EQ(log, Log{"window:dblclk"});
}

TEST_F(WndProcHookAutoDrag, OffOrHandledPressesReachTheWindowOrNobody) {
  drag.SetAutoDrag(false);
  Press(WM_LBUTTONDOWN);
  EXPECT_TRUE(commands.empty());
  EXPECT_EQ(log, Log{"window:down"});

  drag.SetAutoDrag(true);
  drag.OnMessageBefore = [](TCustomWndProcHook&, THookMessage& msg, bool& handled) {
    handled = msg.Msg == WM_LBUTTONDOWN;
  };
  Press(WM_LBUTTONDOWN);
  EXPECT_TRUE(commands.empty());
  EXPECT_EQ(log, Log{});
}


// A real press, move and release: the system's move loop carries the window.
TEST(WndProcHookAutoDragLive, PressAndMoveDragsABorderlessWindow) {
  Log log;
  ProbeWindow window(log);
  TWndProcHook hook(&window);
  hook.SetAutoDrag(true);
  hook.SetActive(true);
  ::ShowWindow(window.Handle(), SW_SHOWNORMAL);
  ::SetForegroundWindow(window.Handle());
  testing::Pump(100);
  RECT start{};
  ::GetWindowRect(window.Handle(), &start);

  const int screen_w = ::GetSystemMetrics(SM_CXSCREEN), screen_h = ::GetSystemMetrics(SM_CYSCREEN);
  const auto at = [&](int x, int y, DWORD flags) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = ::MulDiv(x, 65535, screen_w - 1);
    input.mi.dy = ::MulDiv(y, 65535, screen_h - 1);
    input.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    return input;
  };
  // The press goes in first; the moves and the release follow from a timer,
  // which keeps ticking inside the move loop.
  static std::vector<INPUT> steps;
  steps = {at(start.left + 60, start.top + 40, 0), at(start.left + 120, start.top + 70, 0),
           at(start.left + 120, start.top + 70, MOUSEEVENTF_LEFTUP)};
  INPUT press[] = {at(start.left + 20, start.top + 20, 0), at(start.left + 20, start.top + 20, MOUSEEVENTF_LEFTDOWN)};
  ASSERT_EQ(::SendInput(2, press, sizeof(INPUT)), 2u);
  const UINT_PTR feeder = ::SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR, DWORD) {
    if (steps.empty()) return;
    ::SendInput(1, &steps.front(), sizeof(INPUT));
    steps.erase(steps.begin());
  });
  RECT now{};
  EXPECT_TRUE(testing::RunUntil(
      [&] {
        ::GetWindowRect(window.Handle(), &now);
        return now.left == start.left + 100 && now.top == start.top + 50;
      },
      3000))
      << now.left << "," << now.top;
  ::KillTimer(nullptr, feeder);
  EXPECT_EQ(log, Log{});
}

}  // namespace
}  // namespace lumitrax
