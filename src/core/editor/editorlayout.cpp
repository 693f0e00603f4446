#include "core/editor/editorlayout.h"

#include <algorithm>

EditorLayoutResult LayOutEditor(const EditorLayoutInput &in)
{
    EditorLayoutResult out;
    const int left = in.margin;
    const int fieldsLeft = left + in.labelWidth + in.spacing;
    const int right = std::max(fieldsLeft, in.client.width() - in.margin);
    const int rest = right - fieldsLeft;

    const int row1 = in.margin;
    const int row2 = row1 + in.rowHeight + in.spacing;
    const int row3 = row2 + in.rowHeight + in.spacing;
    const int bottom = std::max(row3, in.client.height() - in.margin);

    out.labels[0] = QRect(left, row1, in.labelWidth, in.rowHeight);
    out.labels[1] = QRect(left, row2, in.labelWidth, in.rowHeight);
    out.labels[2] = QRect(left, row3, in.labelWidth, in.rowHeight);

    const int groupWidth = rest / 4;
    out.group = QRect(fieldsLeft, row1, groupWidth, in.rowHeight);
    const int atLeft = fieldsLeft + groupWidth + in.spacing;
    out.atMark = QRect(atLeft, row1, in.atMarkWidth, in.rowHeight);
    const int titleLeft = std::min(right, atLeft + in.atMarkWidth + in.spacing);
    out.title = QRect(titleLeft, row1, std::max(0, right - titleLeft), in.rowHeight);

    out.remarks = QRect(fieldsLeft, row2, rest, in.rowHeight);
    out.content = QRect(fieldsLeft, row3, rest, bottom - row3);
    return out;
}
