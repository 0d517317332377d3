#pragma once
// A numeric edit with up and down arrows inside its right edge and a range.
#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <functional>

#include "framework/control.h"

namespace lumitrax {

enum class TUDBtnType { btNext, btPrev };

class TUpDownEdit : public TControl {
 public:
  using TUDClickEvent = std::function<void(TComponent& sender, TUDBtnType button)>;

  explicit TUpDownEdit(TWindow& parent);

  // Kept by the up-down control once it exists; Position follows the text.
  int16_t Min() const noexcept { return min_; }
  int16_t Max() const noexcept { return max_; }
  void SetMin(int16_t min);
  void SetMax(int16_t max);
  int16_t Position();
  // Writes the number into the text, which fires OnChange.
  void SetPosition(int16_t position);
  int Increment() const noexcept { return increment_; }
  void SetIncrement(int increment);
  bool IsHex() const noexcept { return is_hex_; }
  void SetIsHex(bool is_hex);

  std::wstring Text();
  void SetText(const std::wstring& text);

  // The text changed, by typing or by the arrows.
  TNotifyEvent OnChange;
  // An arrow was clicked; the new position is already in the text.
  TUDClickEvent OnUpDownClick;

  HWND UpDownHandle() const noexcept { return up_down_; }
  void DescribeForAccessibility(TAccessibleAnswer& answer) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  LRESULT WndProc(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  void ApplyRange();
  void TextChanged();
  void ArrowClicked(int delta);
  void PlaceUpDown();

  HWND up_down_ = nullptr;  // a child of the edit, destroyed with it
  int16_t min_ = 0;
  int16_t max_ = 100;
  int16_t position_ = 0;
  int increment_ = 1;
  bool is_hex_ = false;
};

}  // namespace lumitrax
