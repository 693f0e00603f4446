#pragma once
// The browser preview: the selected cards, or all cards, of the current
// card list through a browser template into "Temp.html" and its style sheet
// "qlt_style.css", opened with the shell. The setting BrowserHinaMode picks
// the output: 0 (or missing) the one simple page, 1 the hierarchical tree,
// 2 the simple hierarchical tree, both in the preview folder "TempHTML",
// opened at their root index.
//
// The files go to the program folder, or, when it is not writable, to the
// next writable folder of the candidates, the page and its style sheet
// always together. They are overwritten on every use.

#include <QString>
#include <QStringList>

class CardList;
class Dialogs;
class Shell;
class iniMente;

namespace PreviewFiles {

inline const QString Page = QStringLiteral("Temp.html");
inline const QString Mht = QStringLiteral("Temp.mht");
inline const QString TreeFolder = QStringLiteral("TempHTML");

// The program folder, then a per-user cache folder.
QStringList DefaultFolders();
// The first of folders in which a file can be created (a missing folder is
// created); empty when there is none.
QString WritableFolder(const QStringList &folders);

} // namespace PreviewFiles

namespace BrowserPreview {

enum class Which {
    Selected = 0, // "&1 選択カードのみ", through BrowserHina1
    All = 1,      // "&2 すべてのカード", through BrowserHina0
};

struct Context {
    CardList &list; // the current card list
    iniMente &settings;
    Dialogs &dialogs;
    Shell &shell;
    QString documentPath;                                 // for "[filename]"
    QStringList folders = PreviewFiles::DefaultFolders(); // where the files may go
};

enum class Outcome {
    Nothing, // no card to show: nothing written, nothing said
    Opened,  // written and handed to the shell
    Failed,  // said why; nothing opened
};

// "エラーが発生しました。" CR LF "雛形ファイルの指定・存在や設定を確認してください。"
// CR LF CR LF and the description.
QString ErrorMessage(const QString &description);

Outcome Run(Which which, const Context &ctx);

} // namespace BrowserPreview
