#pragma once

class QComboBox;

namespace didod {

// Esc while the box's list is open closes only the list; the window's own Esc
// command does not see it.
void KeepEscForOpenList(QComboBox* box);

// An editable combo box's text takes Ctrl+Z and Ctrl+Y for its own undo. While
// it shows an entry just chosen (or has nothing of its own to undo), these
// keys are left to the window instead, so that they act on what the choice did.
void LeaveUndoKeysToTheWindow(QComboBox* box);

// Makes the box's list at least as wide as its longest entry, with room for
// the scroll bar, however narrow the box itself is. Call after filling it.
void WidenListToLongestEntry(QComboBox* box);

}  // namespace didod
