#pragma once
// The keys of the settings files (the general one beside the program and the
// per-file one beside a card file) with their defaults, in the order the
// fill-in writes them.

#include <QList>
#include <QString>

namespace SettingKey {

inline const QString VerNo = QStringLiteral("VerNo");
inline const QString ListFontSize = QStringLiteral("ListFontSize");
inline const QString ListFont = QStringLiteral("ListFont");
inline const QString EditorFontSize = QStringLiteral("EditorFontSize");
inline const QString EditorFont = QStringLiteral("EditorFont");
inline const QString Column1 = QStringLiteral("Column1");
inline const QString Column2 = QStringLiteral("Column2");
inline const QString Column3 = QStringLiteral("Column3");
inline const QString AddDateInfo = QStringLiteral("AddDateInfo");
inline const QString NoSort = QStringLiteral("NoSort");
inline const QString PartHTMLTitleMode = QStringLiteral("PartHTMLTitleMode");
inline const QString NoFunctionBarClickEvent = QStringLiteral("NoFunctionBarClickEvent");
inline const QString InsertCardAtNextCard = QStringLiteral("InsertCardAtNextCard");
inline const QString Color1 = QStringLiteral("Color1");
inline const QString Color2 = QStringLiteral("Color2");
inline const QString Color3 = QStringLiteral("Color3");
inline const QString Color4 = QStringLiteral("Color4");
inline const QString Color5 = QStringLiteral("Color5");
inline const QString Color6 = QStringLiteral("Color6");
inline const QString Column1Width = QStringLiteral("Column1Width");
inline const QString Column2Width = QStringLiteral("Column2Width");
inline const QString Column3Width = QStringLiteral("Column3Width");
inline const QString SaveColumnWidth = QStringLiteral("SaveColumnWidth");
inline const QString SaveWindowSize = QStringLiteral("SaveWindowSize");
inline const QString WindowListSizeX = QStringLiteral("WindowListSizeX");
inline const QString WindowListSizeY = QStringLiteral("WindowListSizeY");
inline const QString WindowEditSizeX = QStringLiteral("WindowEditSizeX");
inline const QString WindowEditSizeY = QStringLiteral("WindowEditSizeY");
inline const QString NoWriteColumn2 = QStringLiteral("NoWriteColumn2");
inline const QString ListViewMode = QStringLiteral("ListViewMode");
inline const QString NoHTMLHeader = QStringLiteral("NoHTMLHeader");
inline const QString ExtEditor = QStringLiteral("ExtEditor");
inline const QString ExtEditorEXT = QStringLiteral("ExtEditorEXT");
inline const QString AutoSort = QStringLiteral("AutoSort");
inline const QString SortColumn = QStringLiteral("SortColumn");
inline const QString SortStyle = QStringLiteral("SortStyle");
inline const QString BrowserHina0 = QStringLiteral("BrowserHina0");
inline const QString BrowserHina1 = QStringLiteral("BrowserHina1");
// How the browser preview writes its page: 0 one simple page through the
// browser templates, 1 hierarchical and 2 simple hierarchical through the
// wizard's engine into a preview folder (the options dialog's
// "単純HTML", "階層型HTML", "簡易階層型HTML").
inline const QString BrowserHinaMode = QStringLiteral("BrowserHinaMode");
inline const QString PreView = QStringLiteral("PreView");
inline const QString TreeViewVisible = QStringLiteral("TreeViewVisible");
inline const QString SeikiHyougen = QStringLiteral("SeikiHyougen");
inline const QString HTMLMode = QStringLiteral("HTMLMode");
inline const QString HinagataFileName = QStringLiteral("HinagataFileName");
inline const QString StyleSheet = QStringLiteral("StyleSheet");
inline const QString RootPath = QStringLiteral("RootPath");
inline const QString ReverseNumber = QStringLiteral("ReverseNumber");

// "Column" + n + "Width" and "Color" + n, n from 1.
QString columnWidth(int n);
QString colour(int n);

} // namespace SettingKey

namespace SettingKeys {

// How a key's value is read back.
enum class Kind {
    Text,
    Integer, // whole number (rounded half to even, as the files were written by hand too)
    Number,  // decimal number (font sizes, column widths in twips)
    Switch,  // on only when the value is 1 numerically ("1", "1.0")
    Boolean, // True/False, or a number (non-zero is true)
    Colour,  // 32-bit colour number, plain or system reference
};

// How the default reaches the store.
enum class Arrival {
    Rewritten, // set on every fill-in (VerNo)
    Filled,    // written by the fill-in when missing or empty
    OnRead,    // created by the first read that names it
    NoDefault, // never written by a read; a missing value reads as the fallback
};

// Defaults computed for the machine the program runs on.
enum class Computed {
    None,
    Version,         // the running version, "1.8.1"
    ExternalEditor,  // ExternalEditor::defaultCommand()
    BrowserTemplate, // the plain-text template in the program's "雛形" folder
};

struct Key {
    QString name;
    Kind kind;
    Arrival arrival;
    QString defaultText; // the default as the files write it (computed ones: empty)
    Computed computed = Computed::None;
};

// Every key, the fill-in keys first and in their order.
const QList<Key> &table();
// The entry of a key (letter case ignored, as the store does); null when the
// key is not in the table.
const Key *find(const QString &name);

// The browser-preview template default for a program folder.
QString browserTemplatePath(const QString &programFolder);

} // namespace SettingKeys
