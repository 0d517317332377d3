#pragma once
// The on-screen display: a small borderless, always-on-top, semi-transparent
// window that shows the state of the selected locks.
#include "framework/form.h"

namespace lumitrax {

class TfrmMain;

class TfrmOsd : public TForm {
 public:
  explicit TfrmOsd(TfrmMain& main);
  ~TfrmOsd() override;

 private:
  TfrmMain& main_;
};

}  // namespace lumitrax
