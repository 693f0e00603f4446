#pragma once
// A template: a native card file whose cards are named pieces of HTML
// (sections). A card is the section "1-1" when its title field, without a
// date prefix, begins with "1-1" (letter case ignored); the first such card
// in file order wins. One card "*" holds option lines, one "HELP" the
// description, cards whose titles begin with "0" style sheets.
//
// HtmlTemplate reads the file once; every lookup after that is in memory, so
// a run reads each template file once however many pages it writes.

#include "core/common/inimente.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <optional>

namespace TemplateKey {
inline const QString Options = QStringLiteral("*");
inline const QString Help = QStringLiteral("HELP");
inline const QString FirstStyleSheet = QStringLiteral("0-1");
} // namespace TemplateKey

// Which piece of a section card ReadTemplateSection returns.
namespace TemplatePart {
inline constexpr int Title = 1; // the title field without date prefix (any value but 2 and 3)
inline constexpr int Remarks = 2;
inline constexpr int Body = 3;
} // namespace TemplatePart

class HtmlTemplate
{
public:
    HtmlTemplate() = default;
    // Reads the template file; false (and no sections) when it cannot be read.
    [[nodiscard]] bool load(const QString &path);
    // The same from the pieces of a file already split at 0x01.
    void setPieces(QStringList pieces);

    QString path() const { return m_path; }
    bool isLoaded() const { return m_loaded; }

    // The requested piece of the first card whose title field (without date
    // prefix) begins with key, letter case ignored; empty when none.
    QString section(const QString &key, int part = TemplatePart::Body) const;
    bool hasSection(const QString &key) const { return cardIndex(key) >= 0; }

    // Every piece (title, remarks or body alike) whose first character is
    // "0", in file order: the entries of the style-sheet list.
    QStringList styleSheetEntries() const;
    // The "HELP" section, shown under the caption "この雛形について".
    QString description() const { return section(TemplateKey::Help); }

private:
    qsizetype cardIndex(const QString &key) const;

    QString m_path;
    bool m_loaded = false;
    QStringList m_pieces;
    QStringList m_titles; // per card: title field without date prefix, in small letters
    mutable QHash<QString, qsizetype> m_found;
};

// Loads path anew and returns the piece (part 3 body, 2 remarks, any other
// value the title field without date prefix); empty when the file cannot be
// read or no card matches.
QString ReadTemplateSection(const QString &templatePath, const QString &key, int part);

// The option lines of the "*" card as the wizard reads them: every line
// that is not empty and does not begin with "#" or ";" and holds "=" sets
// its key to the text between the first and the second "=" (both trimmed).
iniMente ReadTemplateOptions(const HtmlTemplate &tmpl);
// As the browser preview reads them: the same lines, a value that reads as
// a number stored as the negative of its absolute value (so 1 reads as
// true), any other value as text.
iniMente ReadBrowserTemplateOptions(const HtmlTemplate &tmpl);

// What the options card presets in the wizard's check boxes, per option:
// no value when the key is absent, empty or not a number; else on when the
// number is 1.
struct OptionPresets {
    std::optional<bool> renban, onlySelected, useItem2, noBR, fakeTab, escapeTag, cutDateInfo;
};
OptionPresets WizardOptionPresets(const HtmlTemplate &tmpl);
