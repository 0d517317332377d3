#include "osd/form_osd.h"

namespace lumitrax {

TfrmOsd::TfrmOsd(TfrmMain& main) : main_(main) {}

TfrmOsd::~TfrmOsd() = default;

}  // namespace lumitrax
