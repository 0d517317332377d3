#pragma once
// A group box whose caption is a check box: unchecking it disables everything
// inside the group.
#include <windows.h>

#include "framework/control.h"

namespace lumitrax {

class TCheckGroupBox : public TControl {
 public:
  explicit TCheckGroupBox(TWindow& parent);

  bool CheckBoxChecked() const noexcept { return check_box_.Checked(); }
  // Fires OnCheckBoxClick when the state changes, then updates the children.
  void SetCheckBoxChecked(bool checked);
  bool CheckBoxVisible() const noexcept { return check_box_.Visible(); }
  void SetCheckBoxVisible(bool visible);
  bool AutoDisableControls() const noexcept { return auto_disable_; }
  void SetAutoDisableControls(bool auto_disable);
  void SetEnabled(bool enabled) override;

  // The caption check box was clicked or set; Sender is the group. The
  // children's enabling is already updated.
  TNotifyEvent OnCheckBoxClick;

  TCheckBox& CheckBox() noexcept { return check_box_; }

  // The frame itself carries no text: it is named by the caption.
  void DescribeForAccessibility(TAccessibleAnswer& answer) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  LRESULT WndProc(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  void CheckBoxClick();
  void UpdateControls();
  void EnableChild(HWND child, bool enabled);
  void LayoutCheckBox();

  TCheckBox check_box_;
  bool auto_disable_ = true;
};

}  // namespace lumitrax
