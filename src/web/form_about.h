#pragma once
// The About dialog: the program's icon, title, version, the maker's slogan and
// copyright line, and a line that says where the usage reports are described.
// It exists only while it is shown.
#include <windows.h>

#include <functional>

#include "framework/control.h"
#include "framework/form.h"
#include "framework/image.h"
#include "framework/timer.h"

namespace lumitrax {

// What the dialog needs of the program: the window it stands over, what its
// links do, and the ping it sends once it has shown.
struct TAboutHost {
  TForm& Owner;
  TNotifyEvent OnLinkClick;
  std::function<void()> OnShown;
};

class TfrmAbout : public TForm {
 public:
  explicit TfrmAbout(const TAboutHost& host);

 private:
  // The picture of imgIcon: loaded for this dialog at its size, not shared,
  // and destroyed with the dialog (declared first, so it outlives the control).
  UniqueIcon FIcon;

 public:
  TImage imgIcon{*this};
  TLabel lbTitle{*this};
  TLabel lbVersion{*this};
  TLabel lbInfo{*this};
  TLabel lbCopyright{*this};
  TLabel lbReports{*this};  // points to "What Lumitrax sends" in the README
  TButton btnOK{*this};
  TTimer tmrRunOnce{500, true};

  void FormCreate();
  void tmrRunOnceTimer();

 protected:
  void CreateParams(TCreateParams& params) override;
  LRESULT WndProc(UINT message, WPARAM wparam, LPARAM lparam) override;
  // On a monitor of another scale the dialog is laid out whole again.
  void DpiChanged(UINT dpi, const RECT& suggested) override;

 private:
  // The monitor the dialog shows on: the main window's while that is visible,
  // else the one nearest to the dialog's design position.
  HMONITOR TargetMonitor();
  // The design's frame at the dialog's DPI, its picture at that size, and
  // the room its texts need.
  void LayOut(int left, int top);
  void LoadIconPicture();
  void PlaceOverMainWindow();
  // Grows the places of texts that do not fit at this DPI with these fonts.
  void FitTextsToTheirPlaces();
  TAboutHost host_;
};

// The open About dialog, or null.
TfrmAbout* OpenAboutDialog() noexcept;
// Shows the About dialog modally and returns its modal result; when one is
// already open, brings it to the front and returns 0.
int ShowAbout(const TAboutHost& host);

}  // namespace lumitrax
