#include "settings/fit_layout.h"

#include <algorithm>
#include <map>

#include "framework/form.h"
#include "framework/handles.h"
#include "framework/os_functions.h"
#include "framework/std_controls.h"
#include "settings/check_group_box.h"
#include "settings/color_combo_box.h"
#include "framework/text.h"

namespace lumitrax {
namespace {

int TextWidth(TControl& control, const std::wstring& text) {
  if (text.empty()) return 0;
  const HWND window = control.Handle();
  WindowDc dc(window);
  const auto font = reinterpret_cast<HFONT>(::SendMessageW(window, WM_GETFONT, 0, 0));
  SelectObjectScope selected(dc.get(), font ? font : control.Font());
  std::wstring copy = text;
  RECT extent{0, 0, 0, 0};
  ::DrawTextW(dc.get(), copy.data(), static_cast<int>(copy.size()), &extent, DT_CALCRECT | DT_SINGLELINE);
  return extent.right;
}

struct Place {
  const TControlDescription* row;
  HWND parent;
  RECT base;  // at the scale, from the description
  int need = 0;
  int extra = 0;  // how much wider than designed
  int shift = 0;  // how far right of its designed place
};

bool Overlap(LONG top1, LONG bottom1, LONG top2, LONG bottom2) { return top1 < bottom2 && top2 < bottom1; }

int NeededListWidth(TControl& control) {
  // The widest entry shown in the closed list, with the arrow beside it
  // (and a colour list's swatch before it).
  if (!control.Visible()) return 0;
  const int arrow = static_cast<int>(os::SystemMetricsForDpi(SM_CXVSCROLL, control.Dpi()));
  int widest = 0;
  if (auto* colours = dynamic_cast<TColorComboBox*>(&control)) {
    for (int i = 0; i < colours->ItemCount(); ++i)
      widest = std::max(widest, TextWidth(control, Widen(colours->ItemCaption(i))));
    return widest ? widest + arrow + control.Scale(28) : 0;
  }
  if (auto* list = dynamic_cast<TComboBox*>(&control)) {
    for (const std::wstring& item : list->Items()) widest = std::max(widest, TextWidth(control, item));
    return widest ? widest + arrow + control.Scale(10) : 0;
  }
  return 0;
}

}  // namespace

int NeededTextWidth(TControl& control) {
  const std::wstring& caption = control.Caption();
  if (!control.Visible()) return 0;
  if (caption.empty()) return NeededListWidth(control);
  const int check = static_cast<int>(os::SystemMetricsForDpi(SM_CXMENUCHECK, control.Dpi()));
  if (dynamic_cast<TCheckGroupBox*>(&control))
    return TextWidth(control, caption) + check + control.Scale(22);
  if (dynamic_cast<TGroupBox*>(&control)) return TextWidth(control, caption) + control.Scale(16);
  if (dynamic_cast<TCheckBox*>(&control)) return TextWidth(control, caption) + check + check / 2 + 1;
  if (dynamic_cast<TButton*>(&control)) return TextWidth(control, caption) + control.Scale(12);
  if (auto* label = dynamic_cast<TLabel*>(&control))
    return label->WordWrap && !label->AutoSize ? 0 : TextWidth(control, caption);
  // A preview panel's word ("ON" in the display's colours), in its own font.
  if (auto* panel = dynamic_cast<TPanel*>(&control))
    return panel->ShowCaption ? TextWidth(control, caption) + control.Scale(8) : 0;
  return 0;
}

int FitDescriptionToTexts(TForm& form, const std::vector<TControlDescription>& rows) {
  std::vector<Place> places;
  for (const TControlDescription& row : rows) {
    TControl& control = row.control;
    Place place{&row, ::GetParent(control.Handle()), {}};
    const int left = control.Scale(row.left), top = control.Scale(row.top);
    place.base = {left, top, left + control.Scale(row.width), top + control.Scale(row.height)};
    if (control.Visible()) {
      place.need = NeededTextWidth(control);
      place.extra = std::max(0, place.need - static_cast<int>(place.base.right - place.base.left));
    }
    places.push_back(place);
  }
  // Children before their containers: deeper windows first.
  auto depth = [&](HWND window) {
    int d = 0;
    for (HWND w = window; w && w != form.Handle(); w = ::GetParent(w)) ++d;
    return d;
  };
  std::map<HWND, int> growth_of;  // a parent's growth
  std::vector<HWND> parents;
  for (const Place& p : places)
    if (std::find(parents.begin(), parents.end(), p.parent) == parents.end()) parents.push_back(p.parent);
  std::sort(parents.begin(), parents.end(), [&](HWND a, HWND b) { return depth(a) > depth(b); });
  for (HWND parent : parents) {
    std::vector<Place*> siblings;
    for (Place& p : places)
      if (p.parent == parent) siblings.push_back(&p);
    // A container's own extra: its caption's or its children's, whichever is more.
    for (Place* p : siblings) {
      const auto found = growth_of.find(p->row->control.Handle());
      if (found != growth_of.end()) p->extra = std::max(p->extra, found->second);
    }
    std::stable_sort(siblings.begin(), siblings.end(), [](const Place* a, const Place* b) {
      return a->base.left != b->base.left ? a->base.left < b->base.left : a->base.top < b->base.top;
    });
    LONG designed_right = 0, right = 0;
    for (size_t first = 0; first < siblings.size();) {
      // The controls of one column: the same designed left edge.
      size_t end = first;
      while (end < siblings.size() && siblings[end]->base.left == siblings[first]->base.left) ++end;
      int column_shift = 0;
      for (size_t i = first; i < end; ++i) {
        Place* s = siblings[i];
        if (!s->row->control.Visible()) continue;
        for (Place* r : siblings) {
          if (r == s || !r->row->control.Visible() || r->base.left >= s->base.left) continue;
          if (!Overlap(r->base.top, r->base.bottom, s->base.top, s->base.bottom)) continue;
          if (r->base.right <= s->base.left)
            // On its row, what stands beyond a control's right edge moves as far as it grew...
            s->shift = std::max(s->shift, r->shift + r->extra);
          else if (r->need > 0)
            // ...and what a longer text reaches under moves out of its way.
            s->shift = std::max(s->shift, static_cast<int>(r->base.left + r->shift + r->need - s->base.left));
        }
        column_shift = std::max(column_shift, s->shift);
      }
      // The column stays a column: it moves as far as its furthest-moved control.
      for (size_t i = first; i < end; ++i) siblings[i]->shift = column_shift;
      first = end;
    }
    // A column keeps one width, and what ends where a column ends by design
    // (a spin edit under lists) ends there still.
    for (Place* s : siblings)
      for (Place* t : siblings)
        if (s->row->control.Visible() && t->row->control.Visible() && s->base.left == t->base.left &&
            s->base.right == t->base.right)
          s->extra = std::max(s->extra, t->extra);
    for (Place* s : siblings) {
      // Only lists and edits: a text's own end is no edge to align.
      if (!s->row->control.Visible() || !s->row->control.Caption().empty()) continue;
      LONG end = s->base.right + s->shift + s->extra;
      for (Place* t : siblings)
        if (t->row->control.Visible() && t->row->control.Caption().empty() && t->base.right == s->base.right)
          end = std::max(end, static_cast<LONG>(t->base.right + t->shift + t->extra));
      s->shift += static_cast<int>(end - (s->base.right + s->shift + s->extra));
    }
    for (Place* s : siblings) {
      if (!s->row->control.Visible()) continue;
      designed_right = std::max(designed_right, s->base.right);
      right = std::max(right, static_cast<LONG>(s->base.right + s->shift + s->extra));
    }
    const int growth = std::max(0, static_cast<int>(right - designed_right));
    // Frames and texts that reach the right margin by design reach it still.
    for (Place* s : siblings) {
      if (!s->row->control.Visible() || s->base.right + ScaleForDpi(6, form.Dpi()) < designed_right) continue;
      if (s->shift == 0 && (dynamic_cast<TGroupBox*>(&s->row->control) || dynamic_cast<TCheckGroupBox*>(&s->row->control)))
        s->extra = growth;
    }
    growth_of[parent] = growth;
  }
  for (const Place& p : places) {
    const HWND window = p.row->control.Handle();
    // Labels take the description's height (the information text grows
    // again after this); the other controls keep the height they give
    // themselves (a list's drop-down part, a spin edit's).
    RECT now{};
    ::GetWindowRect(window, &now);
    const int height = dynamic_cast<TLabel*>(&p.row->control) ? static_cast<int>(p.base.bottom - p.base.top)
                                                              : static_cast<int>(now.bottom - now.top);
    ::SetWindowPos(window, nullptr, p.base.left + p.shift, p.base.top, p.base.right - p.base.left + p.extra, height,
                   SWP_NOZORDER | SWP_NOACTIVATE);
  }
  const auto top = growth_of.find(form.Handle());
  return top == growth_of.end() ? 0 : top->second;
}

}  // namespace lumitrax
