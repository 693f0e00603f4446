#pragma once
// The window's icons, drawn as SVG files (data/icons, built into the
// program as resources ":/icons/<file>"). Rendered here at the usual sizes so
// they show the same with or without the SVG icon plugin. Each call renders
// anew: keep the icons that are used often.

#include <QIcon>
#include <QString>

namespace MainIcons {

// An icon from ":/icons/<fileName>"; a null icon when there is no such file.
QIcon icon(const QString &fileName);

// The card-list image list by icon number: 1 a card as read from its file,
// 2 a new or changed card, 3 the group list's "all" entry, 4 a group.
QIcon listIcon(int number);

} // namespace MainIcons
