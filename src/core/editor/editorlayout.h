#pragma once
// Where the editor's controls stand in its client area: the three labels at
// the left in the width of the widest one; on the first row the group box
// in a quarter of the remaining width, the "＠" label, the title box in the
// rest; the remarks box across the second row; the content box filling what
// is left.

#include <QRect>
#include <QSize>

#include <array>

struct EditorLayoutInput {
    QSize client;        // the client area (below toolbar, above status bar)
    int labelWidth = 0;  // the widest item label (LongestLabel)
    int atMarkWidth = 0; // the "＠" label
    int rowHeight = 0;   // a single-line box
    int margin = 4;      // around the area
    int spacing = 4;     // between controls
};

struct EditorLayoutResult {
    std::array<QRect, 3> labels; // lblEdit 0 title, 1 remarks, 2 content
    QRect group;                 // cmbGroup
    QRect atMark;                // lblAtMark
    QRect title;                 // txtEdit(0)
    QRect remarks;               // txtEdit(1)
    QRect content;               // txtEdit(2)
};

// Sizes never go below zero, so a tiny window only squeezes the controls.
EditorLayoutResult LayOutEditor(const EditorLayoutInput &in);
