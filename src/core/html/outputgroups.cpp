#include "core/html/outputgroups.h"

#include "core/cards/cardlist.h"
#include "core/cards/titlefield.h"
#include "core/common/tool.h"
#include "core/html/htmltext.h"

#include <QDir>
#include <QHash>
#include <QSet>

#include <utility>

QString HtmlNumber(qsizetype n)
{
    if (n < 0 || n > 999999)
        return QStringLiteral("%1").arg(n, 6, 10, QLatin1Char('0'));
    QString out(6, Qt::Uninitialized);
    QChar *digit = out.data() + 6;
    for (int i = 0; i < 6; ++i, n /= 10)
        *--digit = QChar(u'0' + char16_t(n % 10));
    return out;
}

namespace {

using namespace HtmlNames;

// Control characters have no place in a file name.
QString withoutControls(QString name)
{
    for (QChar &c : name) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            c = QLatin1Char('_');
    }
    return name;
}

// stem + suffix + extension within the byte limit, shortening the stem.
QString fitted(const QString &stem, const QString &suffix, const QString &extension)
{
    const qsizetype room = MaxNameBytes - HtmlText::DiskBytes(suffix) - HtmlText::DiskBytes(extension);
    return HtmlText::CutToDiskBytes(stem, room) + suffix + extension;
}

bool isReservedInRoot(const QString &level)
{
    for (const QString &name : {IndexPage, StyleSheet, HelpContents, HelpProject}) {
        if (level.compare(name, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

// One level of a group's folder as it may stand on disk.
QString safeLevel(QString level, bool top)
{
    level = withoutControls(std::move(level));
    if (level.count(QLatin1Char('.')) == level.size())
        level.fill(QChar(0xFF0E)); // "．"
    if (level.endsWith(Extension, Qt::CaseInsensitive) || (top && isReservedInRoot(level)))
        level += QLatin1Char('_');
    if (HtmlText::DiskBytes(level) > MaxNameBytes)
        level = HtmlText::CutToDiskBytes(level, MaxNameBytes);
    return level;
}

// The run's register of names on disk: group folders, and per folder the
// file names already given.
class NameRegister
{
public:
    QString folderFor(const QString &group, const QString &numbered)
    {
        const QStringList raw = Tool::CleanFileName(group, false).split(QLatin1Char('\\'), Qt::SkipEmptyParts);
        QStringList levels;
        for (const QString &level : raw)
            levels.append(safeLevel(level, levels.isEmpty()));
        if (levels.isEmpty())
            levels.append(numbered);
        const QString parent =
            levels.size() > 1 ? levels.mid(0, levels.size() - 1).join(QLatin1Char('/')) + QLatin1Char('/') : QString();
        const QString last = levels.last();
        QString folder = parent + last;
        for (int n = 2; m_folders.contains(folder.toCaseFolded()); ++n)
            folder = parent + fitted(last, QStringLiteral("_%1").arg(n), QString());
        m_folders.insert(folder.toCaseFolded());
        return folder;
    }

    QString fileFor(int group, const QString &name)
    {
        QSet<QString> &taken = m_files[group];
        if (taken.isEmpty())
            taken.insert(IndexPage);
        const QString stem = withoutControls(Tool::CleanFileName(name, true));
        QString file = fitted(stem, QString(), Extension);
        for (int n = 2; taken.contains(file.toCaseFolded()); ++n)
            file = fitted(stem, QStringLiteral("_%1").arg(n), Extension);
        taken.insert(file.toCaseFolded());
        return file;
    }

private:
    QSet<QString> m_folders;
    QHash<int, QSet<QString>> m_files;
};

} // namespace

// One pass doing what replacing in turn would: tabs, then two spaces, by an
// ideographic space; "&", "<", ">" by their references; CR LF by "<BR>" CR
// LF. None of the replacements makes text another one looks for, so the
// order of the passes never mattered.
QString PreparedContent(QString content, const HtmlOptions &options)
{
    const qsizetype n = content.size();
    const char16_t *const in = reinterpret_cast<const char16_t *>(content.constData());
    auto special = [&](qsizetype i) {
        const char16_t c = in[i];
        if (options.fakeTab && (c == u'\t' || (c == u' ' && i + 1 < n && in[i + 1] == u' ')))
            return true;
        if (options.escapeTag && (c == u'&' || c == u'<' || c == u'>'))
            return true;
        return !options.noBR && c == u'\r' && i + 1 < n && in[i + 1] == u'\n';
    };
    qsizetype i = 0;
    while (i < n && !special(i))
        ++i;
    if (i == n)
        return content;
    QString out;
    out.reserve(n + n / 8 + 16);
    qsizetype run = 0; // start of the characters copied as they are
    while (i < n) {
        if (!special(i)) {
            ++i;
            continue;
        }
        out.append(QStringView(in + run, i - run));
        switch (in[i]) {
        case u'\t':
            out.append(QChar(0x3000));
            ++i;
            break;
        case u' ':
            out.append(QChar(0x3000));
            i += 2;
            break;
        case u'&':
            out.append(QLatin1String("&amp;"));
            ++i;
            break;
        case u'<':
            out.append(QLatin1String("&lt;"));
            ++i;
            break;
        case u'>':
            out.append(QLatin1String("&gt;"));
            ++i;
            break;
        default:
            out.append(QLatin1String("<BR>\r\n"));
            i += 2;
            break;
        }
        run = i;
    }
    out.append(QStringView(in + run, n - run));
    return out;
}

QString PreparedRemarks(QString remarks, const HtmlOptions &options)
{
    if (options.escapeTag) {
        remarks.replace(QLatin1Char('&'), QLatin1String("&amp;"));
        remarks.replace(QLatin1Char('<'), QLatin1String("&lt;"));
        remarks.replace(QLatin1Char('>'), QLatin1String("&gt;"));
    }
    return remarks;
}

struct OutputCollector::Private {
    HtmlOptions options;
    bool raw;
    OutputGroups groups;
    QHash<QString, int> groupIndex;
    NameRegister names;
};

OutputCollector::OutputCollector(const HtmlOptions &options, TextForm form)
    : d(new Private{options, form == TextForm::Raw, {}, {}, {}})
{}

OutputCollector::~OutputCollector() = default;

void OutputCollector::add(const Card &card)
{
    const HtmlOptions &options = d->options;
    // The title is looked at through views: a card costs an allocation only
    // for what is kept.
    const QStringView title(card.title);
    const qsizetype dateLength = DatePrefixLength(title);
    const QStringView rest = title.sliced(dateLength);
    QStringView groupView;
    QStringView nameView = rest;
    const QString *groupText = nullptr;
    const qsizetype mark = rest.indexOf(TitleField::GroupMark);
    if (mark >= 0) {
        groupView = rest.first(mark);
        const qsizetype second = rest.indexOf(TitleField::GroupMark, mark + 1);
        nameView = rest.sliced(mark + 1, (second < 0 ? rest.size() : second) - mark - 1);
    } else {
        groupText = options.useItem2 && !card.remarks.isEmpty() ? &card.remarks : &DefaultGroup;
        groupView = *groupText;
    }
    QString name = nameView.size() == card.title.size() ? card.title : nameView.toString();
    if (dateLength > 0 && !options.cutDateInfo)
        name = DatePrefixOf(card.title) + QLatin1Char(':') + name;

    // A few groups are found by comparing, many by their hash.
    constexpr qsizetype Compared = 16;
    int gi = -1;
    if (d->groups.size() <= Compared) {
        for (qsizetype i = 0; i < d->groups.size() && gi < 0; ++i) {
            if (d->groups.at(i).GroupName == groupView)
                gi = int(i);
        }
    } else {
        gi = d->groupIndex.value(groupText ? *groupText : groupView.toString(), -1);
    }
    if (gi < 0) {
        const QString group = groupText ? *groupText : groupView.toString();
        gi = int(d->groups.size());
        d->groupIndex.insert(group, gi);
        OutputGroup g;
        g.GroupName = group;
        g.GroupNumber = HtmlNumber(gi);
        const QString numbered = NumberPrefix + g.GroupNumber;
        g.FolderName = options.renban ? numbered : d->names.folderFor(group, numbered);
        g.RawTexts = d->raw;
        d->groups.append(std::move(g));
    }
    OutputGroup &g = d->groups[gi];
    const qsizetype k = g.CardCount++;
    g.CardNumbers.append(HtmlNumber(k));
    if (options.renban) {
        QString file;
        file.reserve(NumberPrefix.size() + 6 + Extension.size());
        file += NumberPrefix;
        file += g.CardNumbers.last();
        file += Extension;
        g.FileNames.append(std::move(file));
    } else {
        g.FileNames.append(d->names.fileFor(gi, name));
    }
    g.Names.append(std::move(name));
    g.Remarks.append(d->raw ? card.remarks : PreparedRemarks(card.remarks, options));
    g.Contents.append(d->raw ? card.content : PreparedContent(card.content, options));
}

OutputGroups OutputCollector::take()
{
    d->groupIndex.clear();
    d->names = NameRegister();
    return std::exchange(d->groups, {});
}

bool CollectOutputGroups(const CardList &list, const HtmlOptions &options, OutputGroups &groups,
                         const std::function<bool()> &keepGoing, TextForm form)
{
    groups.clear();
    OutputCollector collector(options, form);
    const CardStore &store = list.store();
    constexpr qsizetype AskEvery = 2048;
    qsizetype walked = 0;
    auto stopped = [&] { return keepGoing && ++walked % AskEvery == 0 && !keepGoing(); };
    if (options.onlySelected) {
        for (const qsizetype row : list.selectedRows()) {
            collector.add(store.at(row));
            if (stopped()) {
                groups = collector.take();
                return false;
            }
        }
    } else {
        for (const Card &card : store.cards()) {
            collector.add(card);
            if (stopped()) {
                groups = collector.take();
                return false;
            }
        }
    }
    groups = collector.take();
    return !groups.isEmpty();
}

void ReverseNumbering(OutputGroups &groups)
{
    const qsizetype n = groups.size();
    for (qsizetype i = 0; i < n; ++i) {
        OutputGroup &g = groups[i];
        g.GroupNumber = HtmlNumber(n - 1 - i);
        g.FolderName = NumberPrefix + g.GroupNumber;
        const qsizetype c = g.CardCount;
        for (qsizetype k = 0; k < c; ++k) {
            g.CardNumbers[k] = HtmlNumber(c - 1 - k);
            g.FileNames[k] = NumberPrefix + g.CardNumbers[k] + Extension;
        }
    }
}

bool CreateGroupFolders(const OutputGroups &groups, const QString &root)
{
    bool all = true;
    QDir dir;
    for (const OutputGroup &g : groups) {
        const QString path = Tool::JoinPath(root, g.FolderName);
        if (!dir.mkpath(path) || !QFileInfo(path).isDir())
            all = false;
    }
    return all;
}
