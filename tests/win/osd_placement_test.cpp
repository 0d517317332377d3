// The display placed for the user: at a corner of a monitor while the stored
// place stays the user's, a drag choosing the place anew, copies that never
// write it, and the main window's modes through the controller.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>

#include "app/form_main.h"
#include "core/memory_registry.h"
#include "framework/work_area.h"
#include "osd/form_osd.h"
#include "test_support.h"

namespace lumitrax {
namespace {

using testing::Pump;
using testing::RunUntil;
using testing::SetLock;

const char* const kOsdPath = "\\Software\\MOVRANIK\\Lumitrax\\OSD";

RECT Bounds(HWND window) {
  RECT rect{};
  ::GetWindowRect(window, &rect);
  return rect;
}

std::string Stored(core::MemoryRegistry& store) {
  const auto value = store.Get(core::HkeyCurrentUser, kOsdPath, "Bounds");
  return value ? value->Data : "<none>";
}

// A monitor inside the bench's screen: 400 x 400 at (400, 200), a 20-pixel
// bar at its bottom.
const core::MonitorArea kMonitor{{400, 200, 800, 600}, {400, 200, 800, 580}, 96};

class OsdPlacement : public ::testing::Test {
 protected:
  void SetUp() override {
    form_ = std::make_unique<TfrmMain>();
    Pump(50);
    form_->Hide();
  }
  void TearDown() override {
    form_.reset();
    SetLock(VK_CAPITAL, 2, false);
  }
  std::unique_ptr<TfrmOsd> Create(const std::string& bounds, bool copy = false) {
    auto registry = std::make_unique<core::MemoryRegistry>();
    if (!bounds.empty())
      registry->Set(core::HkeyCurrentUser, kOsdPath, "Bounds", core::RegistryValue::Text(bounds));
    store = registry.get();
    return std::make_unique<TfrmOsd>(*form_, std::move(registry), copy);
  }
  std::unique_ptr<TfrmMain> form_;
  core::MemoryRegistry* store = nullptr;
};

TEST_F(OsdPlacement, APlaceOnAMonitorTakesItsCornerWhileTheStoredPlaceStaysTheUsers) {
  auto osd = Create("100,120,0,0");
  osd->Display(true, 80, 3, core::clRed, core::clWhite, "Caps Lock ON");
  osd->SetPlace(TOsdPlace{{true, true, 10, 20, 96}, kMonitor});
  RECT at = Bounds(osd->Handle());
  EXPECT_EQ(at.right, 790);
  EXPECT_EQ(at.bottom, 560);

  // Three lines are taller: the corner holds, the window grows up and left.
  osd->Display(true, 80, 3, core::clRed, core::clWhite, "Num Lock ON\nCaps Lock ON\nScroll Lock OFF");
  const RECT taller = Bounds(osd->Handle());
  EXPECT_EQ(taller.right, 790);
  EXPECT_EQ(taller.bottom, 560);
  EXPECT_GT(taller.bottom - taller.top, at.bottom - at.top);

  // Hidden, it stores the user's place, not the one it was shown at.
  osd->Hide();
  EXPECT_EQ(Stored(*store).substr(0, 8), "100,120,");
  // Back to the stored place when the mode goes.
  osd->SetPlace(std::nullopt);
  at = Bounds(osd->Handle());
  EXPECT_EQ(at.left, 100);
  EXPECT_EQ(at.top, 120);
}

TEST_F(OsdPlacement, ADragChoosesTheStoredPlaceAnewAndACopyNeverWritesIt) {
  auto osd = Create("100,120,0,0");
  osd->Display(true, 80, 3, core::clRed, core::clWhite, "Caps Lock ON");
  osd->SetPlace(TOsdPlace{{false, false, 0, 0, 96}, kMonitor});
  ASSERT_EQ(Bounds(osd->Handle()).left, 400);
  // Where the system's move loop drops it.
  ::SetWindowPos(osd->Handle(), nullptr, 300, 310, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  ::SendMessageW(osd->Handle(), WM_EXITSIZEMOVE, 0, 0);
  osd->Hide();
  EXPECT_EQ(Stored(*store).substr(0, 8), "300,310,");
  EXPECT_EQ(osd->StoredPlace().left, 300);

  auto copy = Create("", true);
  copy->Display(true, 80, 3, core::clRed, core::clWhite, "Caps Lock ON");
  copy->SetPlace(TOsdPlace{{true, true, 0, 0, 96}, kMonitor});
  // Dropped by the user: it tells where, and still writes nothing.
  core::Point told{-1, -1};
  copy->OnCopyDropped = [&](core::Point dropped) { told = dropped; };
  ::SetWindowPos(copy->Handle(), nullptr, 222, 233, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  ::SendMessageW(copy->Handle(), WM_EXITSIZEMOVE, 0, 0);
  EXPECT_EQ(told, (core::Point{222, 233}));
  copy->Hide();
  EXPECT_EQ(Stored(*store), "<none>");
}

TEST_F(OsdPlacement, TheModesPlaceTheMainWindowsDisplayAndEveryMonitorGetsOne) {
  TfrmMoreSettings& more = form_->frmMoreSettings;
  TfrmOsd& osd = *form_->OsdController.frmOsd;
  // Stored at a place of the user's, off the corner.
  ::SetWindowPos(osd.Handle(), nullptr, 150, 160, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  ::SendMessageW(osd.Handle(), WM_EXITSIZEMOVE, 0, 0);
  more.cmbOsdPlacement.SetItemIndex(static_cast<int>(core::OsdPlacementMode::MouseMonitor));
  SetLock(VK_CAPITAL, 2, true);
  ASSERT_TRUE(RunUntil([&] { return form_->LockMonitor.LockStates()[1] && osd.Visible(); }, 2500));
  // The pointer's monitor holds the stored place here: it shows where it was put.
  RECT at = Bounds(osd.Handle());
  const auto monitors = Monitors();
  if (monitors.size() == 1) {
    EXPECT_EQ(at.left, 150);
    EXPECT_EQ(at.top, 160);
  }

  more.cmbOsdPlacement.SetItemIndex(static_cast<int>(core::OsdPlacementMode::EveryMonitor));
  form_->UpdateOsd();
  ASSERT_EQ(form_->OsdController.Copies().size(), monitors.size() - 1);
  for (const auto& copy : form_->OsdController.Copies()) {
    EXPECT_TRUE(copy->Visible());
    EXPECT_EQ(copy->Text(), osd.Text());
    EXPECT_TRUE(copy->IsCopy());
  }
  // A copy dropped somewhere: that is the user's place now.
  if (!form_->OsdController.Copies().empty()) {
    TfrmOsd& copy = *form_->OsdController.Copies().front();
    ::SetWindowPos(copy.Handle(), nullptr, 170, 180, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::SendMessageW(copy.Handle(), WM_EXITSIZEMOVE, 0, 0);
    EXPECT_EQ(osd.StoredPlace().left, 170);
    ::SetWindowPos(osd.Handle(), nullptr, 150, 160, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::SendMessageW(osd.Handle(), WM_EXITSIZEMOVE, 0, 0);
  }

  // Back to the stored place: no copies.
  more.cmbOsdPlacement.SetItemIndex(0);
  form_->UpdateOsd();
  EXPECT_TRUE(form_->OsdController.Copies().empty());
  at = Bounds(osd.Handle());
  EXPECT_EQ(at.left, 150);
  EXPECT_EQ(at.top, 160);
}

}  // namespace
}  // namespace lumitrax
