#pragma once
// The list view modes of the two card lists and the preview modes of the
// main window, with their stepping rules and their readings of the settings.

#include <QString>

// The list control's view numbers, as ListViewMode stores them and as the
// indices 0 to 3 of MenuDispChange name them.
enum class ListViewMode { LargeIcons = 0, SmallIcons = 1, List = 2, Details = 3 };

// Preview modes: list height : preview height.
enum class PreviewMode { None = 0, OneToTwo = 1, OneToOne = 2, TwoToOne = 3 };

namespace ViewModes {

// Large icons -> small icons -> list -> details -> large icons.
ListViewMode next(ListViewMode mode);
// A stored view number; anything but 0 to 3 reads as details, the default.
ListViewMode listViewModeFrom(int value);

// None -> 1:2 -> 1:1 -> 2:1 -> none.
PreviewMode next(PreviewMode mode);
// A stored preview mode; anything but 0 to 3 reads as none.
PreviewMode previewModeFrom(int value);

// "なし", "1:2", "1:1", "2:1"
QString previewModeText(PreviewMode mode);

} // namespace ViewModes
