#pragma once
// The on-screen display's life: created while its group is checked, freed
// when it is unchecked, and told what to show from the settings and the
// current lock states.
#include <array>
#include <memory>
#include <string>

#include "core/settings_schema.h"
#include "osd/form_osd.h"

namespace lumitrax {

class TOsdController {
 public:
  explicit TOsdController(TOsdHost& host) : FHost(host) {}
  ~TOsdController() { DestroyOsd(); }

  std::unique_ptr<TfrmOsd> frmOsd;
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

 private:
  TOsdHost& FHost;
};

}  // namespace lumitrax
