#pragma once
// Room for every text in every language: controls stand where their form's
// description puts them at the form's scale, and a text that needs more
// width than designed gets it. A control that grows pushes to the right the
// controls of its parent that stand after it (on its row, or in a column
// beyond its right edge), so that columns stay aligned and nothing overlaps;
// the parent grows by as much.
#include <vector>

#include "framework/control_description.h"

namespace lumitrax {

class TForm;

// Lays the rows out and returns how many pixels wider the form's client area
// must be than designed (0 where every text fits its design).
int FitDescriptionToTexts(TForm& form, const std::vector<TControlDescription>& rows);

// The width a control's text needs at its font, with the room its kind puts
// around the text (a check box's box, a button's edges), or 0 for a control
// whose text wraps or that shows no text of ours.
int NeededTextWidth(TControl& control);

}  // namespace lumitrax
