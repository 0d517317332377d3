#pragma once
// The About dialog: the program's icon, title, version, the maker's slogan and
// copyright line. It exists only while it is shown.
#include <windows.h>

#include "framework/control.h"
#include "framework/form.h"
#include "framework/image.h"
#include "framework/timer.h"

namespace lumitrax {

class TfrmMain;

class TfrmAbout : public TForm {
 public:
  explicit TfrmAbout(TfrmMain& main);

  TImage imgIcon{*this};
  TLabel lbTitle{*this};
  TLabel lbVersion{*this};
  TLabel lbInfo{*this};
  TLabel lbCopyright{*this};
  TButton btnOK{*this};
  TTimer tmrRunOnce{500, true};

  void FormCreate();
  void tmrRunOnceTimer();

 protected:
  void CreateParams(TCreateParams& params) override;
  LRESULT WndProc(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  void PlaceOverMainWindow();
  // Grows the places of texts that do not fit at this DPI with these fonts.
  void FitTextsToTheirPlaces();
  TfrmMain& main_;
};

// The open About dialog, or null.
TfrmAbout* OpenAboutDialog() noexcept;
// Shows the About dialog modally and returns its modal result; when one is
// already open, brings it to the front and returns 0.
int ShowAbout(TfrmMain& main);

}  // namespace lumitrax
