#include "core/html/htmltemplate.h"

#include "core/cards/textfastread.h"
#include "core/cards/titlefield.h"

#include <cmath>

bool HtmlTemplate::load(const QString &path)
{
    m_path = path;
    m_loaded = false;
    QStringList pieces;
    const LineSplit::Outcome outcome =
        LineSplit::SplitFile(path, LineSplit::Separator::FieldMark, [&](QString &&piece) { pieces.append(piece); });
    setPieces(outcome.ok ? std::move(pieces) : QStringList());
    m_loaded = outcome.ok;
    return outcome.ok;
}

void HtmlTemplate::setPieces(QStringList pieces)
{
    m_pieces = std::move(pieces);
    m_loaded = true;
    m_titles.clear();
    m_found.clear();
    for (qsizetype i = 0; i < m_pieces.size(); i += 3) {
        QString rest;
        SplitDatePrefix(m_pieces.at(i), &rest);
        m_titles.append(rest.toLower());
    }
}

qsizetype HtmlTemplate::cardIndex(const QString &key) const
{
    const QString lowered = key.toLower();
    const auto known = m_found.constFind(lowered);
    if (known != m_found.cend())
        return *known;
    qsizetype found = -1;
    for (qsizetype card = 0; card < m_titles.size(); ++card) {
        if (m_titles.at(card).startsWith(lowered)) {
            found = card;
            break;
        }
    }
    m_found.insert(lowered, found);
    return found;
}

QString HtmlTemplate::section(const QString &key, int part) const
{
    const qsizetype card = cardIndex(key);
    if (card < 0)
        return QString();
    const qsizetype first = card * 3;
    if (part == TemplatePart::Body)
        return m_pieces.value(first + 2);
    if (part == TemplatePart::Remarks)
        return m_pieces.value(first + 1);
    QString rest;
    SplitDatePrefix(m_pieces.at(first), &rest);
    return rest;
}

QStringList HtmlTemplate::styleSheetEntries() const
{
    QStringList entries;
    for (const QString &piece : m_pieces) {
        if (piece.startsWith(QLatin1Char('0')))
            entries.append(piece);
    }
    return entries;
}

QString ReadTemplateSection(const QString &templatePath, const QString &key, int part)
{
    HtmlTemplate tmpl;
    if (!tmpl.load(templatePath))
        return QString();
    return tmpl.section(key, part);
}

namespace {

// Calls f(key, value) for every option line that sets a value.
template<typename F>
void forEachOptionLine(const HtmlTemplate &tmpl, F &&f)
{
    const QString body = tmpl.section(TemplateKey::Options);
    const QStringList lines = body.split(QStringLiteral("\r\n"));
    for (const QString &line : lines) {
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')) || line.startsWith(QLatin1Char(';')))
            continue;
        const QStringList parts = line.split(QLatin1Char('='));
        if (parts.size() < 2)
            continue;
        f(parts.at(0).trimmed(), parts.at(1).trimmed());
    }
}

std::optional<double> numberOf(const QString &text)
{
    bool ok = false;
    const double n = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(n))
        return std::nullopt;
    return n;
}

} // namespace

iniMente ReadTemplateOptions(const HtmlTemplate &tmpl)
{
    iniMente store;
    forEachOptionLine(tmpl, [&](const QString &key, const QString &value) { store.SetiniValue(key, value); });
    return store;
}

iniMente ReadBrowserTemplateOptions(const HtmlTemplate &tmpl)
{
    iniMente store;
    forEachOptionLine(tmpl, [&](const QString &key, const QString &value) {
        if (const std::optional<double> n = numberOf(value))
            store.SetiniValue(key, -std::fabs(*n));
        else
            store.SetiniValue(key, value);
    });
    return store;
}

OptionPresets WizardOptionPresets(const HtmlTemplate &tmpl)
{
    iniMente store = ReadTemplateOptions(tmpl);
    auto preset = [&](const char *key) -> std::optional<bool> {
        const QString value = store.GetiniValue(QString::fromLatin1(key)).toString();
        if (value.isEmpty())
            return std::nullopt;
        const std::optional<double> n = numberOf(value);
        if (!n)
            return std::nullopt;
        return std::lround(*n) == 1;
    };
    OptionPresets p;
    p.renban = preset("Renban");
    p.onlySelected = preset("OnlySelected");
    p.useItem2 = preset("UseItem2");
    p.noBR = preset("NoBR");
    p.fakeTab = preset("FakeTAB");
    p.escapeTag = preset("EscapeTAG");
    p.cutDateInfo = preset("CutDateInfo");
    return p;
}
