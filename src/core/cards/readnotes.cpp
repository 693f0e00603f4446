#include "core/cards/readnotes.h"

#include "core/cards/titlefield.h"

#include <utility>

void GroupRows::clear()
{
    rowGroup.clear();
    m_numbers.clear();
    names.clear();
    cardCounts.clear();
}

void GroupRows::append(QStringView title)
{
    const std::optional<QStringView> group = GroupViewOf(title);
    int id = -1;
    if (group) {
        // Neighbouring cards mostly share their group: the last row's is
        // compared before the hash is asked.
        const int last = rowGroup.isEmpty() ? -1 : rowGroup.constLast();
        id = last >= 0 && *group == names.at(last) ? last : idOfGroup(*group);
        ++cardCounts[id];
    }
    rowGroup.append(id);
}

int GroupRows::idOfTitle(QStringView title)
{
    const std::optional<QStringView> group = GroupViewOf(title);
    return group ? idOfGroup(*group) : -1;
}

int GroupRows::idOfGroup(QStringView group)
{
    // Looked up as a view: a name is copied only the first time it is met.
    const auto it = m_numbers.constFind(group);
    if (it != m_numbers.constEnd())
        return *it;
    const int id = int(names.size());
    names.append(group.toString());
    cardCounts.append(0);
    m_numbers.insert(QStringView(names.constLast()), id);
    return id;
}

QStringList GroupRows::groups() const
{
    // First appearances, in a scan of the row numbers that stops once every
    // group in use has been met.
    qsizetype inUse = 0;
    for (const qsizetype n : cardCounts)
        inUse += n > 0;
    QStringList out;
    out.reserve(inUse);
    QList<bool> met(names.size(), false);
    int last = -1;
    for (qsizetype row = 0; row < rowGroup.size() && out.size() < inUse; ++row) {
        const int id = rowGroup[row];
        if (id < 0 || id == last)
            continue;
        last = id;
        if (!met[id]) {
            met[id] = true;
            out.append(names[id]);
        }
    }
    return out;
}

void ReadNotes::append(const Card &card)
{
    if (IsAutoOpenTitle(card.title))
        autoOpenRows.append(groups.rowGroup.size());
    groups.append(card.title);
    allSaved = allSaved && card.icon == CardIcon::Saved;
}
