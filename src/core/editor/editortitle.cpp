#include "core/editor/editortitle.h"

#include "core/cards/cardstore.h"
#include "core/cards/titlefield.h"
#include "core/common/version.h"
#include "core/editor/editortexts.h"

namespace EditorTitle {

EditorTitleParts split(QStringView titleField)
{
    const qsizetype mark = titleField.indexOf(TitleField::GroupMark);
    if (mark < 0)
        return {QString(), titleField.toString()};
    const QStringView groupText = titleField.left(mark);
    const QStringView name = titleField.mid(mark + 1);
    const qsizetype prefix = DatePrefixLength(groupText);
    if (prefix == 0)
        return {groupText.toString(), name.toString()};
    // The prefix as DatePrefixOf gives it, with its separator "："; for the
    // long form that restores the whole "［題］：" ending.
    return {groupText.mid(prefix).toString(), DatePrefixOf(groupText) + TitleField::DateColon + name.toString()};
}

QString rebuild(QStringView group, QStringView titleBox)
{
    return RebuildTitleField(titleBox, group, titleBox.mid(DatePrefixLength(titleBox)));
}

bool groupRefused(QStringView group)
{
    return group.contains(TitleField::GroupMark);
}

Selection initialSelection(QStringView titleBox)
{
    const qsizetype prefix = DatePrefixLength(titleBox);
    return {prefix, titleBox.size() - prefix};
}

QStringList groupChoices(const CardStore &store)
{
    return GroupsOf(store);
}

QString windowTitle(const QString &titleBox, bool changed)
{
    return titleBox + (changed ? EditorTexts::ChangedSeparator : EditorTexts::Separator) + Version::ProductName
           + QStringLiteral(" Ver.") + Version::dotted();
}

QString removeLineBreaks(const QString &text)
{
    QString out = text;
    out.remove(QStringLiteral("\r\n"));
    out.remove(QLatin1Char('\r'));
    out.remove(QLatin1Char('\n'));
    return out;
}

} // namespace EditorTitle
