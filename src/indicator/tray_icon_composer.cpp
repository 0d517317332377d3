// The main window's side of the tray icon: what the tray controls say, drawn by
// the core into the three images of imgsIcons, which the tray icon and the
// settings window's preview follow.
#include <windows.h>

#include "app/form_main.h"
#include "indicator/icon_bitmaps.h"

namespace lumitrax {

core::TrayIconSettings TfrmMain::CurrentTrayIconSettings() const {
  // The tray group's values at form creation: Num, Caps, Scroll Lock in red on
  // a light grey grid with marks.
  core::TrayIconSettings settings;
  settings.LedLocks = {1, 2, 3};
  settings.LedColors = {0x0000FF, 0x0000FF, 0x0000FF};
  settings.GridColor = 0xD0D0D0;
  settings.IconMarks = true;
  return settings;
}

void TfrmMain::ComposeTrayIcons() {
  const auto images = core::ComposeTrayIcons(CurrentTrayIconSettings(), FLockStates, FTransparentColor);
  // One change notice for all three images: the tray icon reloads once.
  imgsIcons.BeginUpdate();
  struct EndUpdate {
    TImageList& list;
    ~EndUpdate() { list.EndUpdate(); }
  } end_update{imgsIcons};
  for (int index = 0; index < static_cast<int>(images.size()); ++index) {
    UniqueBitmap image = ImageBitmap(images[index].Image);
    UniqueBitmap mask = MaskBitmap(images[index].Mask);
    if (index < imgsIcons.Count())
      imgsIcons.Replace(index, image.get(), mask.get());
    else
      imgsIcons.Add(image.get(), mask.get());
  }
}

void TfrmMain::TrayIconClick() {
  // A click with Alt held opens the settings window.
  if (::GetKeyState(VK_MENU) < 0) miPopupSetup->Click();
}

}  // namespace lumitrax
