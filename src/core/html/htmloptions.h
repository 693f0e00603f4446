#pragma once
// The output modes and the options of an HTML run.

#include <QString>

enum class HtmlMode {
    Single = 0,     // 単純HTML: one page holding every group and card
    Cards = 1,      // 階層カード型HTML: root index, a folder per group, a page per card
    Simple = 2,     // 簡易階層カード型HTML: root index, one page per group folder
    CardsHelp = 3,  // HTML HELP: mode 1 and an HTML Help contents file
    SimpleHelp = 4, // 簡易HTML HELP: mode 2 and an HTML Help contents file
};

inline bool IsCardsMode(HtmlMode mode)
{
    return mode == HtmlMode::Cards || mode == HtmlMode::CardsHelp;
}
inline bool IsSimpleMode(HtmlMode mode)
{
    return mode == HtmlMode::Simple || mode == HtmlMode::SimpleHelp;
}
inline bool IsHelpMode(HtmlMode mode)
{
    return mode == HtmlMode::CardsHelp || mode == HtmlMode::SimpleHelp;
}

// The switches of the options card and the wizard. The defaults are the
// wizard's initial check boxes.
struct HtmlOptions {
    bool renban = true;         // numbered folder and file names ("qlt000000")
    bool onlySelected = false;  // only the selected cards of the list
    bool useItem2 = false;      // a card without "＠" takes its remarks as group name
    bool noBR = false;          // no "<BR>" at the line ends of the content
    bool fakeTab = false;       // tabs and double spaces become ideographic spaces
    bool escapeTag = true;      // "&", "<", ">" (and in names '"') are escaped
    bool cutDateInfo = true;    // the date prefix is left out of names
    bool reverseNumber = false; // "連番を逆順に": numbered names counted from the last card

    friend bool operator==(const HtmlOptions &, const HtmlOptions &) = default;
};

// Option names as the options card and `qltcard html --set` spell them.
namespace HtmlOptionName {
inline const QString Renban = QStringLiteral("Renban");
inline const QString OnlySelected = QStringLiteral("OnlySelected");
inline const QString UseItem2 = QStringLiteral("UseItem2");
inline const QString NoBR = QStringLiteral("NoBR");
inline const QString FakeTab = QStringLiteral("FakeTAB");
inline const QString EscapeTag = QStringLiteral("EscapeTAG");
inline const QString CutDateInfo = QStringLiteral("CutDateInfo");
} // namespace HtmlOptionName
