// The settings window's controls: the form description, their defaults, the
// program's system menu entries and the bindings that tie the controls to the
// parts of the program.
#include <windows.h>

#include <oleacc.h>

#include <algorithm>

#include "app/form_main.h"
#include "core/links.h"
#include "core/lock_names.h"
#include "indicator/lock_state.h"
#include "core/osd_logic.h"
#include "core/settings_views.h"
#include "framework/language.h"
#include "framework/scope_exit.h"
#include "framework/text.h"
#include "settings/fit_layout.h"

namespace lumitrax {

std::vector<TControlDescription> TfrmMain::FormDescription() {
  return {
      {lbInfo, L"lbInfo", 10, 10, 316, 60,
       Tr(T::MainInfo),
       0, {}},
      {chbAutoRun, L"chbAutoRun", 16, 64, 250, 17, Tr(T::AutoRun), 0, {}},
      {chbBeepOnSwitch, L"chbBeepOnSwitch", 16, 88, 200, 17, Tr(T::BeepOnSwitch), 0, {}},
      {btnMoreSettings, L"btnMoreSettings", 218, 84, 106, 23, Tr(T::MoreSettingsButton), 0, {}},
      {grpTrayIcon, L"grpTrayIcon", 8, 112, 316, 152, Tr(T::TrayIconGroup), 0, {}},
      {pnTrayIcon, L"pnTrayIcon", 12, 24, 32, 32, L"", 0, {}},
      {imgTrayIcon, L"imgTrayIcon", 8, 8, 16, 16, L"", 0, {}},
      {cmbLed1, L"cmbLed1", 96, 20, 100, 23, L"", 0, {}},
      {lbLed1, L"lbLed1", 56, 24, 34, 15, Tr(T::Led1Label), 0, {}},
      {cmbColor1, L"cmbColor1", 204, 20, 100, 23, L"", 0, {}},
      {cmbLed2, L"cmbLed2", 96, 52, 100, 23, L"", 0, {}},
      {lbLed2, L"lbLed2", 56, 56, 34, 15, Tr(T::Led2Label), 0, {}},
      {cmbColor2, L"cmbColor2", 204, 52, 100, 23, L"", 0, {}},
      {cmbLed3, L"cmbLed3", 96, 84, 100, 23, L"", 0, {}},
      {lbLed3, L"lbLed3", 56, 88, 34, 15, Tr(T::Led3Label), 0, {}},
      {cmbColor3, L"cmbColor3", 204, 84, 100, 23, L"", 0, {}},
      {chbIconMarks, L"chbIconMarks", 96, 120, 96, 17, Tr(T::IconMarks), 0, {}},
      {lbGrid, L"lbGrid", 56, 120, 26, 15, Tr(T::GridLabel), 0, {}},
      {cmbColorGrid, L"cmbColorGrid", 204, 116, 100, 23, L"", 0, {}},
      {grpOsd, L"grpOsd", 8, 272, 316, 151, Tr(T::OsdGroup), 0, {}},
      {pnOsd, L"pnOsd", 12, 24, 32, 32, Tr(T::OsdOn), 0, {}},
      {chbOsdLed1, L"chbOsdLed1", 56, 24, 92, 17, Tr(T::OsdNumLock), 0, {}},
      {chbOsdLed2, L"chbOsdLed2", 56, 48, 92, 17, Tr(T::OsdCapsLock), 0, {}},
      {chbOsdLed3, L"chbOsdLed3", 56, 72, 92, 17, Tr(T::OsdScrollLock), 0, {}},
      {chbOsdAutoHide, L"chbOsdAutoHide", 16, 96, 132, 17, Tr(T::OsdAutoHide), 0, {}},
      {chbOsdHideAfter, L"chbOsdHideAfter", 16, 120, 112, 17, Tr(T::OsdHideAfter), 0, {}},
      {edOsdHideAfter, L"edOsdHideAfter", 124, 116, 52, 23, L"", 0, {}},
      {lbOsdSize, L"lbOsdSize", 162, 24, 23, 15, Tr(T::OsdSizeLabel), 0, {}},
      {cmbOsdSize, L"cmbOsdSize", 204, 20, 100, 23, L"", 0, {}},
      {lbOsdBody, L"lbOsdBody", 162, 56, 27, 15, Tr(T::OsdBodyLabel), 0, {}},
      {cmbOsdBody, L"cmbOsdBody", 204, 52, 100, 23, L"", 0, {}},
      {lbOsdText, L"lbOsdText", 162, 88, 21, 15, Tr(T::OsdTextLabel), 0, {}},
      {cmbOsdText, L"cmbOsdText", 204, 84, 100, 23, L"", 0, {}},
      {lbOsdOpacity, L"lbOsdOpacity", 185, 120, 40, 15, Tr(T::OsdOpacityLabel), 0, {}},
      {edOsdOpacity, L"edOsdOpacity", 232, 116, 72, 23, L"", 0, {}},
      {btnNumLock, L"btnNumLock", 16, 436, 95, 25, Tr(T::NumLock), 1, {}},
      {btnCapsLock, L"btnCapsLock", 120, 436, 95, 25, Tr(T::CapsLock), 2, {}},
      {btnScrollLock, L"btnScrollLock", 224, 436, 95, 25, Tr(T::ScrollLock), 3, {}},
      {imgFaceBook, L"imgFaceBook", 12, 474, 16, 16, L"", 1, Tr(T::LinkFacebook)},
      {imgGplus, L"imgGplus", 32, 474, 16, 16, L"", 6, Tr(T::LinkGplus)},
      {imgTwitter, L"imgTwitter", 52, 474, 16, 16, L"", 2, Tr(T::LinkTwitter)},
      {imgRSS, L"imgRSS", 72, 474, 16, 16, L"", 3, Tr(T::LinkRss)},
      {imgDelicious, L"imgDelicious", 92, 474, 16, 16, L"", 4, Tr(T::LinkDelicious)},
      {imgStumbleUpon, L"imgStumbleUpon", 112, 474, 16, 16, L"", 5, Tr(T::LinkStumbleUpon)},
      {pnWebBrowser, L"pnWebBrowser", 144, 472, 32, 24, L"", 0, {}},
      {lbLink, L"lbLink", 188, 476, 131, 15, L"", 0, Tr(T::LinkWebsite)},
      {imgLedOn, L"imgLedOn", 308, 66, 16, 16, L"", 0, {}},
      {imgLedOff, L"imgLedOff", 308, 82, 16, 16, L"", 0, {}},
  };
}

std::array<TColorComboBox*, 6> TfrmMain::ColorCombos() {
  return {&cmbColor1, &cmbColor2, &cmbColor3, &cmbColorGrid, &cmbOsdBody, &cmbOsdText};
}

void TfrmMain::CreateControls() {
  const std::vector<TControlDescription> description = FormDescription();
  TakeDescription(description);

  // Defaults, as the window is designed; no change handler is bound yet, so
  // none of this counts as a change.
  chbAutoRun.SetChecked(true);
  chbBeepOnSwitch.SetChecked(true);
  for (TLabel* label : {&lbLed1, &lbLed2, &lbLed3}) {
    label->Alignment = TAlignment::Right;
    label->RightToLeftReading = true;
  }
  lbGrid.Alignment = TAlignment::Center;
  // Labels widen to their text where a scale or a font makes it wider than
  // designed; the right-aligned ones keep their right edge by the lists.
  for (TLabel* label : {&lbLed1, &lbLed2, &lbLed3, &lbGrid, &lbOsdSize, &lbOsdBody, &lbOsdText, &lbOsdOpacity, &lbLink})
    label->AutoSize = true;
  int slot = 1;
  for (TComboBox* combo : {&cmbLed1, &cmbLed2, &cmbLed3}) {
    combo->SetItems(LockListItems());
    combo->SetItemIndex(slot++);
  }
  for (TColorComboBox* combo : ColorCombos()) {
    combo->SetUseColorCustom(true);
    combo->SetColorNameStyle(core::ColorNameStyle::cnsFromList);
  }
  for (TColorComboBox* combo : {&cmbColor1, &cmbColor2, &cmbColor3}) {
    combo->SetCustomColor(0x4080FF);
    combo->SetSelectedColor(core::clRed);
  }
  cmbColorGrid.SetCustomColor(0xD0D0D0);
  cmbColorGrid.SetSelectedColor(0xD0D0D0);
  chbIconMarks.SetChecked(true);
  imgTrayIcon.SetImageList(&TrayIndicator.imgsIcons);
  imgTrayIcon.SetImageIndex(core::IconAllLit);

  grpOsd.SetCheckBoxChecked(true);
  pnOsd.SetCaptionFont(UiFontFace(), 12, true, core::clWhite);
  pnOsd.SetColor(core::clRed);
  chbOsdLed2.SetChecked(true);
  chbOsdAutoHide.SetChecked(true);
  edOsdHideAfter.SetMin(1);
  edOsdHideAfter.SetMax(60);
  edOsdHideAfter.SetPosition(3);
  cmbOsdSize.SetItems(SizeListItems());
  cmbOsdSize.SetItemIndex(3);
  cmbOsdBody.SetCustomColor(0x404040);
  cmbOsdBody.SetSelectedColor(core::clRed);
  cmbOsdText.SetCustomColor(0x404040);
  cmbOsdText.SetSelectedColor(core::clWhite);
  edOsdOpacity.SetMin(1);
  edOsdOpacity.SetMax(100);
  edOsdOpacity.SetPosition(80);

  const std::pair<TImage*, const wchar_t*> services[] = {
      {&imgFaceBook, L"SVC_FACEBOOK"}, {&imgGplus, L"SVC_GPLUS"}, {&imgTwitter, L"SVC_TWITTER"},
      {&imgRSS, L"SVC_RSS"},           {&imgDelicious, L"SVC_DELICIOUS"}, {&imgStumbleUpon, L"SVC_STUMBLEUPON"}};
  for (const auto& [image, resource] : services) {
    image->SetPicture(LoadBitmapResource(resource));
    image->Transparent = true;
    image->HandCursor = true;
  }
  pnWebBrowser.SetVisible(false);
  lbLink.SetCaption(Widen(core::SiteHostCaption(core::DefaultLinkRoots().ProductSite)));
  lbLink.SetOwnFont(UiFontFace(), 12, RGB(0, 0, 255));
  lbLink.HandCursor = true;
  lbLink.WordWrap = false;
  imgLedOn.SetVisible(false);
  imgLedOn.SetPicture(LoadBitmapResource(L"LEDON"));
  imgLedOff.SetVisible(false);
  imgLedOff.SetPicture(LoadBitmapResource(L"LEDOFF"));

  DescribeControls();

  // The windows, in the order of the description: it is the tab order.
  for (const TControlDescription& row : description) {
    row.control.Handle();
    if (!row.control.Hint.empty()) AddHint(row.control.Handle(), row.control.Hint);
  }
  // The information text is taller than the space above the first check box;
  // it stays below the other controls so that it never paints over them.
  ::SetWindowPos(lbInfo.Handle(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  ApplyTexts();

  BindControls();
}

std::vector<std::wstring> TfrmMain::LockListItems() {
  return {Tr(T::LockNone), Tr(T::NumLock), Tr(T::CapsLock), Tr(T::ScrollLock)};
}

std::vector<std::wstring> TfrmMain::SizeListItems() {
  std::vector<std::wstring> sizes;
  for (int size = 0; size < core::OsdSizeCount; ++size) sizes.push_back(Widen(core::OsdSizeName(size)));
  return sizes;
}

void TfrmMain::ApplyTexts() {
  // The captions and hints of the description, the lists' entries (keeping
  // what is chosen), the names screen readers hear; then the places again
  // from the description at this scale, grown as the texts need.
  for (const TControlDescription& row : FormDescription()) {
    if (&row.control == &lbLink) continue;  // the site's name, in no language
    row.control.SetCaption(row.caption);
    if (!row.hint.empty() && row.hint != row.control.Hint) {
      row.control.Hint = row.hint;
      if (row.control.HandleAllocated()) AddHint(row.control.Handle(), row.hint);
    }
  }
  const bool outer = FSettingControls;
  FSettingControls = true;
  const ScopeExit restore([&] { FSettingControls = outer; });
  for (TComboBox* combo : {&cmbLed1, &cmbLed2, &cmbLed3}) {
    const int index = combo->ItemIndex();
    combo->SetItems(LockListItems());
    combo->SetItemIndex(index);
  }
  {
    const int index = cmbOsdSize.ItemIndex();
    cmbOsdSize.SetItems(SizeListItems());
    cmbOsdSize.SetItemIndex(index);
  }
  std::vector<std::string> colours;
  for (core::T id = core::T::ColorBlack; id <= core::T::ColorWhite; id = static_cast<core::T>(static_cast<int>(id) + 1))
    colours.emplace_back(core::Text(id));
  for (TColorComboBox* combo : ColorCombos()) {
    combo->SetColorNames(colours);
    combo->SetCustomColorCaption(std::string(core::Text(T::ColorCustom)));
  }
  // The arrows of a spin edit are read by their window text.
  ::SetWindowTextW(edOsdHideAfter.UpDownHandle(), Tr(T::ReaderHideAfter).c_str());
  ::SetWindowTextW(edOsdOpacity.UpDownHandle(), Tr(T::ReaderOpacity).c_str());
  FitPlacesToTexts();
}

void TfrmMain::DescribeControls() {
  // Screen readers name a list or an edit after the label directly before it
  // (the description's order: "Led 1:" stands before its colour, which its
  // "&1" focuses); the rest say here what they are.
  // Asked each time a reader asks, so in the language in use.
  const std::pair<TComboBox*, const wchar_t*> led_locks[] = {{&cmbLed1, L"1"}, {&cmbLed2, L"2"}, {&cmbLed3, L"3"}};
  for (const auto& [combo, number] : led_locks)
    combo->OnAccessible = [number](TAccessibleAnswer& answer) { answer.name = TrFormat(T::ReaderLedLock, {number}); };
  edOsdHideAfter.OnAccessible = [](TAccessibleAnswer& answer) { answer.name = Tr(T::ReaderHideAfter); };
  auto state_word = [](int lock) { return Tr(GetLockState(lock) ? T::StateOnWord : T::StateOffWord); };
  for (TBitBtn* button : {&btnNumLock, &btnCapsLock, &btnScrollLock}) {
    button->OnAccessible = [button, state_word](TAccessibleAnswer& answer) {
      answer.name = TrFormat(T::ReaderLockButton, {button->Caption(), state_word(static_cast<int>(button->Tag))});
    };
  }
  auto lock_states = [state_word] {
    std::wstring text;
    for (int lock = 1; lock <= 3; ++lock) {
      if (!text.empty()) text += L", ";
      text += TrFormat(T::ReaderLockState,
                       {Widen(core::LockDisplayName(static_cast<core::LockKind>(lock))), state_word(lock)});
    }
    return text;
  };
  for (TControl* preview : std::initializer_list<TControl*>{&pnTrayIcon, &imgTrayIcon}) {
    preview->OnAccessible = [lock_states](TAccessibleAnswer& answer) {
      answer.name = Tr(T::ReaderTrayPreview);
      answer.role = ROLE_SYSTEM_GRAPHIC;
      answer.value = lock_states();
    };
  }
  pnOsd.OnAccessible = [this](TAccessibleAnswer& answer) {
    answer.name = Tr(T::ReaderOsdPreview);
    answer.role = ROLE_SYSTEM_GRAPHIC;
    const int text = cmbOsdText.ItemIndex(), body = cmbOsdBody.ItemIndex();
    answer.value = text >= 0 ? TrFormat(T::ReaderOsdPreviewValue,
                                        {Widen(cmbOsdText.ItemCaption(text)),
                                         body >= 0 ? Widen(cmbOsdBody.ItemCaption(body)) : std::wstring()})
                             : std::wstring();
  };
  // The links: where each leads.
  for (TControl* link : std::initializer_list<TControl*>{&lbLink, &imgFaceBook, &imgGplus, &imgTwitter, &imgRSS,
                                                          &imgDelicious, &imgStumbleUpon}) {
    link->IsLink = true;
    link->OnAccessible = [link](TAccessibleAnswer& answer) {
      answer.value = Widen(core::LinkAddress(static_cast<int>(link->Tag), core::DefaultLinkRoots(),
                                             TUsagePing::ProgramVersion()));
    };
  }
  // The link label is named by its text, the site it leads to.
  lbLink.OnAccessible = [this](TAccessibleAnswer& answer) {
    answer.name = lbLink.Caption();
    answer.value = Widen(core::LinkAddress(core::LinkWebsite, core::DefaultLinkRoots(), TUsagePing::ProgramVersion()));
  };
}

void TfrmMain::FitPlacesToTexts() {
  // The controls stand where the description puts them at this scale, moved
  // right and widened where a text needs more room; the information text's
  // lines can need more height than designed.
  FWidthGrowth = FitDescriptionToTexts(*this, FormDescription());
  const HWND info = lbInfo.Handle();
  RECT place{};
  ::GetWindowRect(info, &place);
  ::MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&place), 2);
  RECT needed{0, 0, place.right - place.left, 0};
  {
    WindowDc dc(info);
    SelectObjectScope font(dc.get(), lbInfo.Font());
    std::wstring text = lbInfo.Caption();
    ::DrawTextW(dc.get(), text.data(), static_cast<int>(text.size()), &needed, DT_CALCRECT | DT_WORDBREAK);
  }
  // The first control under the text, with a little air between.
  const int first_below = lbInfo.Scale(chbAutoRun.Bounds().top);
  FInfoTextGrowth = std::max(0, static_cast<int>(place.top + needed.bottom + lbInfo.Scale(2)) - first_below);
  if (FInfoTextGrowth > 0) {
    for (const TControlDescription& row : FormDescription()) {
      if (&row.control.Parent() != this || row.top < chbAutoRun.Bounds().top) continue;
      RECT rect{};
      const HWND window = row.control.Handle();
      ::GetWindowRect(window, &rect);
      ::MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&rect), 2);
      ::SetWindowPos(window, nullptr, rect.left, rect.top + FInfoTextGrowth, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
  }
  ::SetWindowPos(info, nullptr, 0, 0, place.right - place.left,
                 std::max(static_cast<int>(place.bottom - place.top), static_cast<int>(needed.bottom)),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  // The client area as designed at this scale, plus the growth; the frame
  // around it as the window has it now.
  const HWND window = Handle();
  const UINT dpi = Dpi();
  RECT frame{}, client{};
  ::GetWindowRect(window, &frame);
  ::GetClientRect(window, &client);
  const int width = ScaleForDpi(332, dpi) + FWidthGrowth + (frame.right - frame.left) - client.right;
  const int height = ScaleForDpi(503, dpi) + FInfoTextGrowth + (frame.bottom - frame.top) - client.bottom;
  ::SetWindowPos(window, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  TrayIndicator.PlacePreview();
}

void TfrmMain::BindControls() {
  // The tray icon follows its controls once start-up is over.
  auto tray_change = [this](TComponent&) {
    if (FStartupPending) return;
    TrayIndicator.UpdateTransparentColor(TrayIconSettingsNow());
    ComposeTrayIcons();
  };
  for (TComboBox* combo : {&cmbLed1, &cmbLed2, &cmbLed3}) combo->OnChange = tray_change;
  for (TColorComboBox* combo : {&cmbColor1, &cmbColor2, &cmbColor3}) combo->OnChange = tray_change;
  cmbColorGrid.OnChange = [this, tray_change](TComponent& sender) {
    if (!FSettingControls) FGridColorChosen = true;
    tray_change(sender);
  };
  chbIconMarks.OnClick = tray_change;
  // Not held back during start-up: the display follows its check box at once.
  grpOsd.OnCheckBoxClick = [this](TComponent&) {
    if (CurrentSettings().OsdShow)
      OsdController.CreateOsd();
    else
      OsdController.DestroyOsd();
    UpdateOsd();
  };
  auto osd_change = [this](TComponent&) {
    if (!FStartupPending) UpdateOsd();
  };
  for (TCheckBox* box : {&chbOsdLed1, &chbOsdLed2, &chbOsdLed3}) box->OnClick = osd_change;
  cmbOsdSize.OnChange = osd_change;
  cmbOsdBody.OnChange = osd_change;
  cmbOsdText.OnChange = osd_change;
  for (TUpDownEdit* edit : {&edOsdHideAfter, &edOsdOpacity}) {
    edit->OnChange = osd_change;
    edit->OnUpDownClick = [osd_change](TComponent& sender, TUDBtnType) { osd_change(sender); };
  }
  btnMoreSettings.OnClick = [this](TComponent&) { actMoreSettingsExecute(); };
  frmMoreSettings.OnSettingChange = [this](TComponent& sender) {
    if (FSettingControls) return;
    if (&sender == &frmMoreSettings.chbUsageReports)
      UsagePing.UsageReports = frmMoreSettings.chbUsageReports.Checked();
    else if (&sender == &frmMoreSettings.cmbLanguage)
      ApplyLanguage(frmMoreSettings.ChosenLanguage());
    else
      UpdateOsd();
  };
  // Closing it keeps what was chosen, as closing the settings window does.
  frmMoreSettings.OnHide = [this](TComponent&) { SaveSettings(); };
  auto link = [this](TComponent& sender) { OnLinkClick(sender); };
  for (TControl* control : std::initializer_list<TControl*>{&lbLink, &imgFaceBook, &imgGplus, &imgTwitter, &imgRSS,
                                                             &imgDelicious, &imgStumbleUpon})
    control->OnClick = link;
  lbLink.OnMouseEnter = [this](TComponent&) { lbLink.SetUnderline(true); };
  lbLink.OnMouseLeave = [this](TComponent&) { lbLink.SetUnderline(false); };
}

void TfrmMain::CreateSystemMenuItems() {
  // Set up like components read from a form description: the entries go in
  // when loading ends, "About" first.
  for (TSystemMenuItem* item : {&smiAbout, &smiSplit}) item->BeginLoading();
  smiAbout.Name = L"smiAbout";
  smiAbout.SetMenuItem(miPopupAbout);
  smiAbout.SetPosition(0);
  smiSplit.Name = L"smiSplit";
  smiSplit.SetMenuItem(miPopup1);
  smiSplit.SetPosition(1);
  for (TSystemMenuItem* item : {&smiAbout, &smiSplit}) item->Loaded();
}

void TfrmMain::AdoptCustomColors() {
  // A stored colour that no list entry holds shows as the custom entry.
  for (TColorComboBox* combo : ColorCombos()) {
    if (combo->ItemIndex() >= 0) continue;
    combo->SetCustomColor(combo->SelectedColor());
    combo->SetItemIndex(0);
  }
}

}  // namespace lumitrax
