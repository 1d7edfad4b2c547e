#pragma once
// The widths of the grid's two columns after the user resized one of them, in twips, W being the
// grid's width: the resized column is kept between 20 % and 70 % of W, and the other column takes the
// rest less 300.1. (The widths at load are ProgramSettings' rule: defaults and the fit into W.)

namespace ColumnWidths {

struct Pair
{
    float resized; // the column the user resized
    float other;
};

Pair afterResize(float gridWidth, float resizedWidth);

} // namespace ColumnWidths
