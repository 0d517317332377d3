#pragma once
// The "More settings" window: the options that have no room in the settings
// window. Its controls hold their settings at run time, as the settings
// window's do; the main window reads them with the others in one place.
// A new option is a new row of FormDescription (and a control below).
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "framework/control_description.h"
#include "framework/form.h"
#include "framework/std_controls.h"

namespace lumitrax {

class TfrmMoreSettings : public TForm {
 public:
  TfrmMoreSettings();

  // Controls, in their creation and tab order; their layout is FormDescription.
  TLabel lbOsdPlacement{*this};
  TComboBox cmbOsdPlacement{*this};
  TCheckBox chbOsdOutOfTheWay{*this};
  TCheckBox chbBeepTones{*this};
  TCheckBox chbUsageReports{*this};
  TLabel lbLanguage{*this};
  TComboBox cmbLanguage{*this};
  TButton btnClose{*this};

  // The one table of the window: each row a control, in 96-dpi pixels.
  std::vector<TControlDescription> FormDescription();
  // The client area as designed, in 96-dpi pixels: the rows' extent plus the margin.
  SIZE DesignClientSize();

  // Any of its settings changed by the user.
  TNotifyEvent OnSettingChange;

  // Every text in the language in use; the language list shows `language`
  // (a "Language" setting: empty for the Windows default).
  void ApplyTexts(const std::string& language);
  // The "Language" setting the list's entry stands for.
  std::string ChosenLanguage();
  // How much wider than designed the window is for its texts, in pixels.
  int WidthGrowth() const noexcept { return FWidthGrowth; }

  // Shown beside `beside` (the settings window, when it shows) or in the middle
  // of the work area under the mouse pointer, and brought to the front.
  void Open(HWND beside = nullptr);

 protected:
  void CreateParams(TCreateParams& params) override;
  void DpiChanged(UINT dpi, const RECT& suggested) override;

 private:
  void CreateControls();
  std::vector<std::wstring> PlacementItems();
  // The window's frame around the client area as designed at its DPI.
  void FitToDescription();
  std::vector<std::string> FLanguageCodes;  // the list's entries after "Windows default"
  std::string FLanguage;
  int FWidthGrowth = 0;
};

}  // namespace lumitrax
