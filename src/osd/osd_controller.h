#pragma once
// The on-screen display's life: created while its group is checked, freed
// when it is unchecked, and told what to show from the settings and the
// current lock states.
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "core/settings_schema.h"
#include "osd/form_osd.h"
#include "osd/full_screen_watch.h"

namespace lumitrax {

class TOsdController {
 public:
  explicit TOsdController(TOsdHost& host) : FHost(host) {}
  ~TOsdController() { DestroyOsd(); }

  std::unique_ptr<TfrmOsd> frmOsd;
  // "Out of the way": watched while the display exists and the setting is on.
  TFullScreenWatch FullScreenWatch;
  bool OsdExists() const noexcept { return frmOsd != nullptr; }
  void CreateOsd();
  void DestroyOsd();
  // Shows, hides or refreshes the display for these settings.
  // Refreshes the display with the locks as they are now, or as the lock
  // monitor has just read them.
  void UpdateOsd(const core::Settings& settings);
  void UpdateOsd(const core::Settings& settings, const std::array<bool, 3>& lock_states);
  std::string GetOsdText(const core::Settings& settings);
  bool IsOsdNeeded(const core::Settings& settings);
  // The displays on the further monitors ("On every monitor"), one each.
  const std::vector<std::unique_ptr<TfrmOsd>>& Copies() const noexcept { return FCopies; }

 private:
  // The places of the displays for the placement mode: none for the stored
  // place, else one per monitor the mode names, the main display's first.
  std::vector<TOsdPlace> Places(core::OsdPlacementMode mode);
  static void Release(std::unique_ptr<TfrmOsd> osd);
  void ShowOn(TfrmOsd& osd, const core::Settings& settings, bool show, const std::string& text);

  TOsdHost& FHost;
  std::vector<std::unique_ptr<TfrmOsd>> FCopies;
};

}  // namespace lumitrax
