// The settings controls as real Win32 controls in a real form: the colour
// picker's selection rules and custom colour dialog, the spin edit's text and
// arrows, the check group box's enabling, and the image that follows its list.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "framework/application.h"
#include "framework/control.h"
#include "framework/form.h"
#include "framework/handles.h"
#include "framework/image_list.h"
#include "framework/timer.h"
#include "settings/check_group_box.h"
#include "settings/color_combo_box.h"
#include "settings/indexed_image.h"
#include "settings/up_down_edit.h"
#include "test_support.h"

namespace lumitrax {
namespace {

using testing::Pump;
using testing::RunUntil;
using testing::WindowText;

class SettingsForm : public ::testing::Test {
 protected:
  void SetUp() override {
    form.SetFont(L"Arial", 12);
    ::SetWindowPos(form.Handle(), nullptr, 40, 40, 420, 420, SWP_NOZORDER);
    form.Show();
  }

  TForm form;
};

// Replaces the system colour dialog for one test; records what it was shown.
class DialogAnswer {
 public:
  DialogAnswer(bool confirm, TColor choice) {
    SharedColorDialog().OnExecute = [this, confirm, choice](TColorDialog& dialog) {
      ++runs;
      shown_color = dialog.Color;
      shown_palette = dialog.CustomColors;
      if (confirm) dialog.Color = choice;
      return confirm;
    };
  }
  ~DialogAnswer() {
    SharedColorDialog().OnExecute = nullptr;
    SharedColorDialog().CustomColors = core::EmptyPalette();
  }
  int runs = 0;
  TColor shown_color = 0;
  core::ColorPalette shown_palette{};
};

std::wstring SelectedText(HWND combo) {
  const auto index = ::SendMessageW(combo, CB_GETCURSEL, 0, 0);
  if (index < 0) return L"";
  wchar_t text[64] = {};
  ::SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
  return text;
}

class ColorComboBoxTest : public SettingsForm {
 protected:
  void SetUp() override {
    SettingsForm::SetUp();
    combo.SetBounds(20, 20, 100, 23);
    combo.SetUseColorCustom(true);
    combo.SetCustomColor(0x4080FF);
    combo.SetSelectedColor(core::clRed);
    combo.OnChange = [this](TComponent&) { ++changes; };
    combo.Handle();
  }

  // What the system reports when the user picks an item from the open list.
  void PickFromOpenList(int index) {
    const HWND window = combo.Handle();
    ::SetFocus(window);
    ::SendMessageW(window, CB_SHOWDROPDOWN, TRUE, 0);
    ASSERT_TRUE(combo.Dropped());
    ::SendMessageW(window, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    ::SendMessageW(form.Handle(), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(window), CBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(window));
  }

  void PostKey(WORD key) {
    ::PostMessageW(combo.Handle(), WM_KEYDOWN, key, 1);
    ::PostMessageW(combo.Handle(), WM_KEYUP, key, 0xC0000001);
    Pump(100);
  }

  TColorComboBox combo{form};
  int changes = 0;
};

TEST_F(ColorComboBoxTest, SelectionFollowsTheSelectedColourFromItemZero) {
  ASSERT_EQ(combo.ItemCount(), 17);
  EXPECT_EQ(::SendMessageW(combo.Handle(), CB_GETCOUNT, 0, 0), 17);
  EXPECT_EQ(combo.ItemCaption(0), "Custom...");
  EXPECT_EQ(combo.ItemColor(0), 0x4080FFu);
  EXPECT_EQ(combo.ItemIndex(), 10);
  EXPECT_EQ(SelectedText(combo.Handle()), L"Red");

  combo.SetSelectedColor(core::clYellow);
  EXPECT_EQ(SelectedText(combo.Handle()), L"Yellow");
  EXPECT_EQ(changes, 1);

  // The custom colour changes item 0 only: no selection change, no event.
  combo.SetCustomColor(core::clBlue);
  EXPECT_EQ(combo.ItemColor(0), core::clBlue);
  EXPECT_EQ(combo.SelectedColor(), core::clYellow);
  EXPECT_EQ(changes, 1);
  // Blue is now in item 0 and in "Blue": the custom entry wins.
  combo.SetSelectedColor(core::clBlue);
  EXPECT_EQ(combo.ItemIndex(), 0);
  EXPECT_EQ(SelectedText(combo.Handle()), L"Custom...");
  EXPECT_EQ(changes, 2);

  // A colour no item holds: kept, nothing selected, and the change fires.
  combo.SetSelectedColor(0x123456);
  EXPECT_EQ(combo.SelectedColor(), 0x123456u);
  EXPECT_EQ(combo.ItemIndex(), -1);
  EXPECT_EQ(::SendMessageW(combo.Handle(), CB_GETCURSEL, 0, 0), CB_ERR);
  EXPECT_EQ(changes, 3);
  // The same colour again with nothing selected searches and fires again...
  combo.SetSelectedColor(0x123456);
  EXPECT_EQ(changes, 4);
  // ...but with an item selected it does nothing.
  combo.SetSelectedColor(core::clRed);
  combo.SetSelectedColor(core::clRed);
  EXPECT_EQ(changes, 5);

  // Writing the item index selects without touching the colour or firing.
  combo.SetItemIndex(0);
  EXPECT_EQ(SelectedText(combo.Handle()), L"Custom...");
  EXPECT_EQ(combo.SelectedColor(), core::clRed);
  EXPECT_EQ(changes, 5);
}

TEST_F(ColorComboBoxTest, RebuildingTheListKeepsTheSelectedColour) {
  combo.SetSelectedColor(core::clLime);
  combo.SetUseColorCustom(false);
  EXPECT_EQ(combo.ItemCount(), 16);
  EXPECT_EQ(SelectedText(combo.Handle()), L"Lime");
  EXPECT_EQ(combo.ItemIndex(), 10);
  combo.SetUseColorNone(true);
  EXPECT_EQ(combo.ItemCaption(16), "None");
  // A new window gets the same items and selection.
  combo.DestroyHandle();
  EXPECT_EQ(SelectedText(combo.Handle()), L"Lime");
  EXPECT_EQ(::SendMessageW(combo.Handle(), CB_GETCOUNT, 0, 0), 17);
}

TEST_F(ColorComboBoxTest, PickingCustomFromTheOpenListRunsTheDialog) {
  DialogAnswer answer(true, 0x00AA00);
  PickFromOpenList(0);
  ASSERT_EQ(answer.runs, 1);
  EXPECT_EQ(answer.shown_color, 0x4080FFu);
  // The palette the dialog was shown holds the custom colour in the first slot.
  EXPECT_EQ(answer.shown_palette[0], 0x4080FFu);
  EXPECT_EQ(answer.shown_palette[1], core::kEmptySlot);
  EXPECT_EQ(combo.CustomColor(), 0x00AA00u);
  EXPECT_EQ(combo.SelectedColor(), 0x00AA00u);
  EXPECT_EQ(combo.ItemIndex(), 0);
  EXPECT_EQ(changes, 1);
  EXPECT_FALSE(combo.Dropped());
  // The chosen colour went into the shared palette too.
  EXPECT_EQ(SharedColorDialog().CustomColors[1], 0x00AA00u);
}

TEST_F(ColorComboBoxTest, CancellingTheDialogKeepsTheSelectedColour) {
  DialogAnswer answer(false, 0);
  PickFromOpenList(0);
  ASSERT_EQ(answer.runs, 1);
  EXPECT_EQ(combo.SelectedColor(), core::clRed);
  EXPECT_EQ(combo.CustomColor(), 0x4080FFu);
  EXPECT_EQ(changes, 0);
  // The list still shows the custom entry until the selection is set again.
  EXPECT_EQ(SelectedText(combo.Handle()), L"Custom...");
}

TEST_F(ColorComboBoxTest, PickingAListColourFromTheOpenListTakesIt) {
  DialogAnswer answer(true, 0x00AA00);
  PickFromOpenList(13);
  EXPECT_EQ(answer.runs, 0);
  EXPECT_EQ(combo.SelectedColor(), core::clBlue);
  EXPECT_EQ(changes, 1);
}

TEST_F(ColorComboBoxTest, ArrowingOntoCustomTakesItsColourAndEnterOpensTheDialog) {
  DialogAnswer answer(true, 0x336699);
  int clicks = 0;
  combo.OnClick = [&](TComponent&) { ++clicks; };
  ::SetFocus(combo.Handle());
  // Home moves to item 0 with the list closed, through the real key handling.
  PostKey(VK_HOME);
  EXPECT_EQ(answer.runs, 0);
  EXPECT_EQ(combo.ItemIndex(), 0);
  EXPECT_EQ(combo.SelectedColor(), 0x4080FFu);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(clicks, 1);
  // Enter, through the form's dialog-key handling, opens the dialog.
  PostKey(VK_RETURN);
  EXPECT_EQ(answer.runs, 1);
  EXPECT_EQ(combo.CustomColor(), 0x336699u);
  EXPECT_EQ(combo.SelectedColor(), 0x336699u);
  EXPECT_EQ(changes, 2);
  // Enter on a list colour does nothing of the kind.
  PostKey(VK_DOWN);
  EXPECT_EQ(combo.ItemIndex(), 1);
  PostKey(VK_RETURN);
  EXPECT_EQ(answer.runs, 1);
  EXPECT_EQ(combo.SelectedColor(), core::clBlack);
}

TEST_F(ColorComboBoxTest, TheSharedPaletteIsTidiedAndFilled) {
  DialogAnswer answer(true, 0x010203);
  core::ColorPalette& palette = SharedColorDialog().CustomColors;
  for (size_t i = 0; i < palette.size(); ++i) palette[i] = 0x100000 + static_cast<TColor>(i);
  palette[7] = palette[2];  // a duplicate: emptied, then reused for the custom colour
  ASSERT_TRUE(combo.SelectCustomColor());
  EXPECT_EQ(answer.shown_palette[7], 0x4080FFu);
  EXPECT_EQ(answer.shown_palette[15], 0x10000Fu);
  // Full palette: the chosen colour overwrites the last slot.
  EXPECT_EQ(palette[15], 0x010203u);
  EXPECT_EQ(combo.SelectedColor(), 0x010203u);
}

// The system colour dialog, answered with a button once it shows.
bool RunSystemDialog(TColorComboBox& combo, int button) {
  TTimer answer(50);
  answer.OnTimer = [&](TComponent&) {
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND window, LPARAM lparam) -> BOOL {
          wchar_t cls[16] = {};
          ::GetClassNameW(window, cls, 16);
          if (std::wstring(cls) != L"#32770" || !::IsWindowVisible(window)) return TRUE;
          ::PostMessageW(window, WM_COMMAND, static_cast<WPARAM>(lparam), 0);
          return FALSE;
        },
        button);
  };
  return combo.SelectCustomColor();
}

TEST_F(ColorComboBoxTest, TheSystemDialogStartsAtTheCustomColourAndKeepsThePalette) {
  combo.SetCustomColor(0x336699);
  ASSERT_TRUE(RunSystemDialog(combo, IDOK));
  EXPECT_EQ(combo.SelectedColor(), 0x336699u);
  EXPECT_EQ(combo.ItemIndex(), 0);
  core::ColorPalette expected = core::EmptyPalette();
  expected[0] = 0x336699;
  EXPECT_EQ(SharedColorDialog().CustomColors, expected);
  combo.SetCustomColor(0x0000AA);
  EXPECT_FALSE(RunSystemDialog(combo, IDCANCEL));
  EXPECT_EQ(combo.SelectedColor(), 0x336699u);
  SharedColorDialog().CustomColors = core::EmptyPalette();
}

TEST_F(SettingsForm, ColorComboBoxDrawsSwatchesFramesAndCaptions) {
  TColorComboBox combo(form);
  combo.SetBounds(20, 20, 100, 23);
  combo.SetUseColorCustom(true);
  combo.SetCustomColor(0x4080FF);
  combo.SetSelectedColor(core::clNavy);
  combo.SetItemIndex(-1);  // drawn unselected, on the window colour
  const HWND window = combo.Handle();
  Pump(50);
  // Draw item 5 (Navy, dark: framed in itself) and item 12 (Yellow, light:
  // framed in black) into a bitmap, as the list would.
  WindowDc screen(window);
  UniqueMemoryDc dc(::CreateCompatibleDC(screen.get()));
  UniqueBitmap canvas(::CreateCompatibleBitmap(screen.get(), 100, 17));
  SelectObjectScope select(dc.get(), canvas.get());
  DRAWITEMSTRUCT item{};
  item.CtlType = ODT_COMBOBOX;
  item.hwndItem = window;
  item.hDC = dc.get();
  item.rcItem = RECT{0, 0, 100, 17};
  item.itemAction = ODA_DRAWENTIRE;
  const UINT id = static_cast<UINT>(::GetDlgCtrlID(window));
  item.CtlID = id;
  item.itemID = 5;
  ::SendMessageW(form.Handle(), WM_DRAWITEM, id, reinterpret_cast<LPARAM>(&item));
  EXPECT_EQ(::GetPixel(dc.get(), 1, 1), static_cast<COLORREF>(core::clNavy));   // frame
  EXPECT_EQ(::GetPixel(dc.get(), 8, 8), static_cast<COLORREF>(core::clNavy));   // fill
  EXPECT_EQ(::GetPixel(dc.get(), 0, 0), ::GetSysColor(COLOR_WINDOW));           // inset
  EXPECT_EQ(::GetPixel(dc.get(), 16, 8), ::GetSysColor(COLOR_WINDOW));
  item.itemID = 12;
  ::SendMessageW(form.Handle(), WM_DRAWITEM, id, reinterpret_cast<LPARAM>(&item));
  EXPECT_EQ(::GetPixel(dc.get(), 1, 1), static_cast<COLORREF>(core::clBlack));
  EXPECT_EQ(::GetPixel(dc.get(), 15, 15), static_cast<COLORREF>(core::clBlack));
  EXPECT_EQ(::GetPixel(dc.get(), 2, 2), static_cast<COLORREF>(core::clYellow));
  // The selected item: highlight background, white frame, caption in the
  // highlight-text colour somewhere right of the swatch.
  item.itemState = ODS_SELECTED;
  ::SendMessageW(form.Handle(), WM_DRAWITEM, id, reinterpret_cast<LPARAM>(&item));
  EXPECT_EQ(::GetPixel(dc.get(), 1, 1), static_cast<COLORREF>(core::clWhite));
  EXPECT_EQ(::GetPixel(dc.get(), 0, 0), ::GetSysColor(COLOR_HIGHLIGHT));
  int text_pixels = 0;
  for (int x = 18; x < 100; ++x)
    for (int y = 0; y < 17; ++y)
      if (::GetPixel(dc.get(), x, y) != ::GetSysColor(COLOR_HIGHLIGHT)) ++text_pixels;
  EXPECT_GT(text_pixels, 20) << "no caption drawn";
  for (int y = 0; y < 17; ++y) EXPECT_EQ(::GetPixel(dc.get(), 17, y), ::GetSysColor(COLOR_HIGHLIGHT)) << y;
}

class UpDownEditTest : public SettingsForm {
 protected:
  void SetUp() override {
    SettingsForm::SetUp();
    edit.SetBounds(20, 20, 72, 23);
    edit.SetMin(1);
    edit.SetMax(100);
    edit.SetPosition(80);
    edit.Handle();
    edit.OnChange = [this](TComponent&) { texts.push_back(edit.Text()); };
    edit.OnUpDownClick = [this](TComponent&, TUDBtnType button) { buttons.push_back(button); };
  }

  void Type(const std::wstring& keys) {
    for (wchar_t key : keys) ::SendMessageW(edit.Handle(), WM_CHAR, key, 1);
  }

  void ClickArrow(bool up) {
    RECT rect{};
    ::GetClientRect(edit.UpDownHandle(), &rect);
    const LPARAM at = MAKELPARAM(rect.right / 2, up ? 2 : rect.bottom - 3);
    ::SendMessageW(edit.UpDownHandle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::SendMessageW(edit.UpDownHandle(), WM_LBUTTONUP, 0, at);
    Pump(30);
  }

  TUpDownEdit edit{form};
  std::vector<std::wstring> texts;
  std::vector<TUDBtnType> buttons;
};

TEST_F(UpDownEditTest, TypedTextIsFilteredAndClamped) {
  EXPECT_EQ(edit.Text(), L"80");
  ::SendMessageW(edit.Handle(), EM_SETSEL, 0, -1);
  Type(L"15x0");  // the letter is refused
  EXPECT_EQ(edit.Text(), L"100");
  EXPECT_EQ(edit.Position(), 100);
  // OnChange saw "150" before it was put back as "100".
  ASSERT_GE(texts.size(), 2u);
  EXPECT_EQ(texts[texts.size() - 2], L"150");
  EXPECT_EQ(texts.back(), L"100");

  ::SendMessageW(edit.Handle(), EM_SETSEL, 0, -1);
  Type(L"-");
  EXPECT_EQ(edit.Text(), L"-");
  Type(L"5");
  EXPECT_EQ(edit.Text(), L"1");
  ::SendMessageW(edit.Handle(), EM_SETSEL, 0, -1);
  Type(L"\b");
  EXPECT_EQ(edit.Text(), L"");
  Type(L"42");
  EXPECT_EQ(edit.Text(), L"42");
  EXPECT_EQ(edit.Position(), 42);
  // Text that is no number (pasted) takes the current position.
  edit.SetText(L"4-2");
  EXPECT_EQ(edit.Text(), L"42");
}

TEST_F(UpDownEditTest, ArrowsStepWithinTheRangeWriteTheTextAndFire) {
  ClickArrow(true);
  EXPECT_EQ(edit.Position(), 81);
  EXPECT_EQ(edit.Text(), L"81");
  ASSERT_EQ(buttons, std::vector<TUDBtnType>{TUDBtnType::btNext});
  EXPECT_EQ(texts, std::vector<std::wstring>{L"81"});
  ClickArrow(false);
  ClickArrow(false);
  EXPECT_EQ(edit.Position(), 79);
  // At the end of the range the arrow stays there and does not wrap.
  edit.SetPosition(100);
  ClickArrow(true);
  EXPECT_EQ(edit.Position(), 100);
  EXPECT_EQ(edit.Text(), L"100");
  EXPECT_EQ(buttons.size(), 4u);
  // The arrow keys in the edit go the same way.
  edit.SetIncrement(5);
  ::SendMessageW(edit.Handle(), WM_KEYDOWN, VK_DOWN, 1);
  ::SendMessageW(edit.Handle(), WM_KEYUP, VK_DOWN, 0xC0000001);
  EXPECT_TRUE(RunUntil([&] { return edit.Position() != 100; }, 5000));
  EXPECT_EQ(edit.Position(), 95);
  EXPECT_EQ(buttons.back(), TUDBtnType::btPrev);
}

TEST_F(SettingsForm, CheckGroupBoxEnablesItsChildrenFromTheCheckBox) {
  TCheckGroupBox group(form);
  group.SetBounds(8, 8, 316, 151);
  group.SetCaption(L"On Screen Display");
  TLabel label(group);
  label.SetBounds(162, 24, 23, 15);
  label.SetCaption(L"Si&ze");
  TCheckBox leds(group);
  leds.SetBounds(56, 24, 92, 17);
  TUpDownEdit edit(group);
  edit.SetBounds(124, 116, 52, 23);
  TColorComboBox combo(group);
  combo.SetBounds(204, 52, 100, 23);
  for (TControl* child : std::vector<TControl*>{&label, &leds, &edit, &combo}) child->Handle();
  ASSERT_TRUE(group.CheckBoxChecked());
  EXPECT_EQ(WindowText(group.CheckBox().Handle()), L"On Screen Display");
  const RECT& box = group.CheckBox().Bounds();
  EXPECT_EQ(box.left, 8);
  EXPECT_EQ(box.top, 0);
  EXPECT_GT(box.right - box.left, 19 + 60);  // the caption's width + 19

  std::vector<bool> enabled_at_click;
  group.OnCheckBoxClick = [&](TComponent& sender) {
    EXPECT_EQ(&sender, &group);
    enabled_at_click.push_back(::IsWindowEnabled(combo.Handle()) != FALSE);
  };
  // The user's click on the check box.
  ::SendMessageW(group.CheckBox().Handle(), BM_CLICK, 0, 0);
  EXPECT_FALSE(group.CheckBoxChecked());
  for (TControl* child : std::vector<TControl*>{&label, &leds, &edit, &combo}) {
    EXPECT_FALSE(::IsWindowEnabled(child->Handle())) << WindowText(child->Handle());
    EXPECT_FALSE(child->Enabled());
  }
  EXPECT_TRUE(::IsWindowEnabled(group.CheckBox().Handle()));
  // The children were already disabled when the event came.
  EXPECT_EQ(enabled_at_click, std::vector<bool>{false});

  // A child created while unchecked starts disabled.
  TCheckBox late(group);
  late.SetBounds(16, 96, 100, 17);
  EXPECT_FALSE(::IsWindowEnabled(late.Handle()));

  group.SetCheckBoxChecked(true);
  EXPECT_EQ(enabled_at_click, (std::vector<bool>{false, true}));
  EXPECT_TRUE(::IsWindowEnabled(combo.Handle()));
  EXPECT_TRUE(::IsWindowEnabled(late.Handle()));
  group.SetCheckBoxChecked(true);  // no change: no event
  EXPECT_EQ(enabled_at_click.size(), 2u);

  // A disabled group disables its children even while checked.
  group.SetEnabled(false);
  EXPECT_FALSE(::IsWindowEnabled(edit.Handle()));
  EXPECT_FALSE(::IsWindowEnabled(edit.UpDownHandle()));
  group.SetEnabled(true);
  EXPECT_TRUE(::IsWindowEnabled(edit.Handle()));
  // Without the rule the children keep their state.
  group.SetAutoDisableControls(false);
  group.SetCheckBoxChecked(false);
  EXPECT_TRUE(::IsWindowEnabled(edit.Handle()));
}

// A 16 x 16 image of one colour whose top-left 4 x 4 pixels are transparent.
UniqueBitmap SolidImage(COLORREF color) {
  WindowDc screen(nullptr);
  UniqueBitmap bitmap(::CreateCompatibleBitmap(screen.get(), 16, 16));
  UniqueMemoryDc dc(::CreateCompatibleDC(screen.get()));
  SelectObjectScope select(dc.get(), bitmap.get());
  const RECT all{0, 0, 16, 16};
  const RECT corner{0, 0, 4, 4};
  ::SetDCBrushColor(dc.get(), color);
  ::FillRect(dc.get(), &all, static_cast<HBRUSH>(::GetStockObject(DC_BRUSH)));
  ::SetDCBrushColor(dc.get(), RGB(255, 0, 255));
  ::FillRect(dc.get(), &corner, static_cast<HBRUSH>(::GetStockObject(DC_BRUSH)));
  return bitmap;
}

// The control as it paints itself.
COLORREF PaintedPixel(TWindow& control, int x, int y) {
  WindowDc screen(control.Handle());
  UniqueMemoryDc dc(::CreateCompatibleDC(screen.get()));
  UniqueBitmap canvas(::CreateCompatibleBitmap(screen.get(), 16, 16));
  SelectObjectScope select(dc.get(), canvas.get());
  control.Perform(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc.get()), PRF_CLIENT);
  return ::GetPixel(dc.get(), x, y);
}

class CountingListener : public TImageListListener {
 public:
  void ImageListChanged(TImageList&) override { ++changes; }
  void ImageListDestroyed(TImageList&) override { ++destroyed; }
  int changes = 0;
  int destroyed = 0;
};

TEST(ImageList, NotifiesEveryChangeOnceAndItsDestruction) {
  auto list = std::make_unique<TImageList>();
  CountingListener listener;
  list->RegisterChanges(listener);
  list->RegisterChanges(listener);  // once is enough
  list->AddMasked(SolidImage(RGB(255, 0, 0)).get(), RGB(255, 0, 255));
  list->AddMasked(SolidImage(RGB(0, 0, 255)).get(), RGB(255, 0, 255));
  EXPECT_EQ(list->Count(), 2);
  EXPECT_EQ(listener.changes, 2);
  list->BeginUpdate();
  list->ReplaceMasked(0, SolidImage(RGB(0, 255, 0)).get(), RGB(255, 0, 255));
  list->ReplaceMasked(1, SolidImage(RGB(0, 255, 0)).get(), RGB(255, 0, 255));
  EXPECT_EQ(listener.changes, 2);
  list->EndUpdate();
  EXPECT_EQ(listener.changes, 3);
  EXPECT_THROW(list->Replace(2, nullptr, nullptr), std::exception);

  // The icon carries the mask: the corner is transparent, the rest is image.
  UniqueIcon icon = list->GetIcon(0);
  ICONINFO info{};
  ASSERT_TRUE(::GetIconInfo(icon.get(), &info));
  UniqueBitmap mask(info.hbmMask), color(info.hbmColor);
  WindowDc screen(nullptr);
  UniqueMemoryDc dc(::CreateCompatibleDC(screen.get()));
  {
    SelectObjectScope select(dc.get(), mask.get());
    EXPECT_EQ(::GetPixel(dc.get(), 1, 1), RGB(255, 255, 255));
    EXPECT_EQ(::GetPixel(dc.get(), 8, 8), RGB(0, 0, 0));
  }
  UniqueBitmap bitmap = list->GetBitmap(1);
  {
    SelectObjectScope select(dc.get(), bitmap.get());
    EXPECT_EQ(::GetPixel(dc.get(), 8, 8), RGB(0, 255, 0));
    EXPECT_EQ(::GetPixel(dc.get(), 1, 1), RGB(0, 0, 0));
  }

  list->Clear();
  EXPECT_EQ(list->Count(), 0);
  EXPECT_EQ(listener.changes, 4);
  list.reset();
  EXPECT_EQ(listener.destroyed, 1);
}

TEST_F(SettingsForm, IndexedImageFollowsItsListAndForgetsItWhenDestroyed) {
  auto list = std::make_unique<TImageList>();
  list->AddMasked(SolidImage(RGB(255, 0, 0)).get(), RGB(255, 0, 255));
  list->AddMasked(SolidImage(RGB(0, 0, 255)).get(), RGB(255, 0, 255));
  TIndexedImage image(form);
  image.SetBounds(20, 20, 16, 16);
  image.SetImageList(list.get());
  image.SetImageIndex(1);
  image.Handle();
  EXPECT_EQ(PaintedPixel(image, 8, 8), RGB(0, 0, 255));
  // Drawn as an icon: the parent's face shows through the transparent corner.
  EXPECT_EQ(PaintedPixel(image, 1, 1), ::GetSysColor(COLOR_BTNFACE));

  // Replacing the image in the list is enough.
  list->ReplaceMasked(1, SolidImage(RGB(0, 160, 0)).get(), RGB(255, 0, 255));
  EXPECT_EQ(PaintedPixel(image, 8, 8), RGB(0, 160, 0));
  // An index out of range keeps the last picture.
  image.SetImageIndex(7);
  EXPECT_EQ(PaintedPixel(image, 8, 8), RGB(0, 160, 0));
  image.SetImageIndex(0);
  EXPECT_EQ(PaintedPixel(image, 8, 8), RGB(255, 0, 0));
  // As a bitmap the transparent pixels are the list's black.
  image.SetImageListAsIcon(false);
  EXPECT_EQ(PaintedPixel(image, 1, 1), RGB(0, 0, 0));
  EXPECT_NE(image.PictureBitmap(), nullptr);

  list.reset();
  EXPECT_EQ(image.ImageList(), nullptr);
  EXPECT_EQ(PaintedPixel(image, 8, 8), RGB(255, 0, 0));
}

// Not a test: a window with each control for a screenshot. Run with
// --gtest_also_run_disabled_tests --gtest_filter=*Showcase*.
TEST_F(SettingsForm, DISABLED_Showcase) {
  ::SetWindowTextW(form.Handle(), L"Settings controls");
  TColorComboBox color1(form), color2(form), color3(form);
  color1.SetBounds(12, 12, 100, 23);
  color2.SetBounds(124, 12, 100, 23);
  color3.SetBounds(236, 12, 100, 23);
  for (TColorComboBox* combo : {&color1, &color2, &color3}) {
    combo->SetUseColorCustom(true);
    combo->SetCustomColor(0x4080FF);
  }
  color1.SetSelectedColor(core::clRed);
  color2.SetSelectedColor(0x4080FF);
  color3.SetSelectedColor(core::clNavy);

  TCheckGroupBox on(form), off(form);
  on.SetBounds(8, 220, 190, 120);
  on.SetCaption(L"On Screen Display");
  off.SetBounds(208, 220, 190, 120);
  off.SetCaption(L"Unchecked group");
  TCheckBox on_box(on), off_box(off);
  on_box.SetBounds(16, 24, 100, 17);
  on_box.SetCaption(L"&Caps Lock");
  off_box.SetBounds(16, 24, 100, 17);
  off_box.SetCaption(L"&Caps Lock");
  TUpDownEdit on_edit(on), off_edit(off);
  for (TUpDownEdit* edit : {&on_edit, &off_edit}) {
    edit->SetBounds(16, 52, 72, 23);
    edit->SetMin(1);
    edit->SetMax(100);
    edit->SetPosition(80);
  }
  TColorComboBox on_combo(on), off_combo(off);
  for (TColorComboBox* combo : {&on_combo, &off_combo}) {
    combo->SetBounds(16, 84, 100, 23);
    combo->SetSelectedColor(core::clYellow);
  }
  off.SetCheckBoxChecked(false);

  TImageList list;
  list.AddMasked(SolidImage(RGB(0, 160, 0)).get(), RGB(255, 0, 255));
  TIndexedImage image(form);
  image.SetBounds(360, 16, 16, 16);
  image.SetImageList(&list);

  for (TControl* control : std::initializer_list<TControl*>{&color1, &color2, &color3, &on, &off, &on_box,
                                                             &off_box, &on_edit, &off_edit, &on_combo,
                                                             &off_combo, &image})
    control->Handle();
  form.BringToFront();
  Pump(500);
  ::SetFocus(color1.Handle());
  ::SendMessageW(color1.Handle(), CB_SHOWDROPDOWN, TRUE, 0);
  Pump(8000);
}

}  // namespace
}  // namespace lumitrax
