// The main window's web links and About command.
#include "app/form_main.h"
#include "core/links.h"
#include "framework/text.h"
#include "framework/version_info.h"
#include "web/form_about.h"
#include "web/open_url.h"

namespace lumitrax {

void TfrmMain::OnLinkClick(TComponent& sender) {
  const int tag = static_cast<int>(sender.Tag);
  OpenURL(core::LinkAddress(tag, core::DefaultLinkRoots(), Narrow(GetFileVersionString(GetModulePath()))));
  SendPing(L"openlink", Widen(core::LinkPingExtra(tag)));
}

void TfrmMain::actAboutExecute() {
  if (AboutShowing) return;
  AboutShowing = true;
  DisableTrayMenu(false);
  struct Restore {
    TfrmMain& form;
    ~Restore() {
      form.EnableTrayMenu();
      form.AboutShowing = false;
    }
  } restore{*this};
  ShowAbout(*this);
}

}  // namespace lumitrax
