#pragma once

namespace didod {

// On Linux Qt reads a combo box's name from a label beside it and otherwise
// speaks its current text as its name. The window's combo boxes have no label
// of their own; after this call, one with an accessible name is announced by
// that name, its current text being its value.
void UseAccessibleNamesOfComboBoxes();

}  // namespace didod
