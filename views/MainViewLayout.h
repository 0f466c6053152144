#pragma once

class CLayoutGreed;

// How the main view places its panes: the input pane on the left, the activities pane on the
// right, and, when shown, the divisions pane below the activities pane.
namespace mainviewlayout {

// The left column's fraction: each grid gets its width in characters plus half the spare width
// of the screen. 0.5 when the character width is unknown.
double leftFraction(int charWidth, int leftChars, int rightChars, int screenWidth);

// Fills the layout for the two arrangements and computes its fractional rectangles.
void arrange(CLayoutGreed& grid, double leftFraction, bool withDivisions);

} // namespace mainviewlayout
