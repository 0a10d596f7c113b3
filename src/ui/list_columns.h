// Column widths that show a list's texts whole.
#pragma once

#include "ui/control.h"

namespace grimsweep::ui {

// A generous width for a text in the dialog font at 96 dpi: what it needs, never less, so that nothing is
// cut to "...". Wide letters need more than narrow ones; every character is counted as a wide one.
inline constexpr int kTwipsPerCharacter = 100;
// The blank a list keeps on either side of a cell's text.
inline constexpr int kCellPaddingTwips = 240;

// Widens each column to its widest text (header or cell) and never narrows one; `firstColumnExtra` is
// the room the first column's check box and icon take.
void FitColumnsToText(Control& list, int firstColumnExtra);

} // namespace grimsweep::ui
