#pragma once
// The command ids of the main window. Menu entries, toolbar buttons, their
// drop-down entries, function-bar panels, search-bar buttons and keys all name
// one of these (mainwindowtables.h, keymap.h); the window's registry
// (MainCommands) maps each id to the handler its owner wired and keeps its
// enabled and checked state.
//
// Who wires what:
//   the window itself (MainForm, MainViewController, helpcommands.h): the
//     ids of MainWindowTables::windowCommandIds();
//   the document lifecycle (the program's main): NewWindow .. Reload, the
//     recent files and the toolbar's QLW and CSV entries; the about window:
//     About; the HTML output wizard (gui/html): HtmlWizard, HtmlWizardAgain
//     and SaveHtml;
//   the search commands: searching, extraction, ChangeGroup, Sort,
//     CancelSort; the card commands: the card entries of the Edit menu,
//     RenameCard and Print; the editors: EditCard and BrowseSpace; the HTML
//     commands (gui/mainwindow/htmlcommandwiring.h): the browser preview, the
//     web view and the partial hierarchical export; the options dialog:
//     Settings.
// The ids of MainWindowTables::disabledCommandIds() are the DBFS entries of
// the toolbar's drop-downs, a format this program does not have: they are
// hidden as well.

#include <QLatin1String>
#include <QString>

namespace Cmd {

// File
inline constexpr QLatin1String NewWindow{"NewWindow"};
inline constexpr QLatin1String NewDocument{"NewDocument"};
inline constexpr QLatin1String OpenDocument{"OpenDocument"};
inline constexpr QLatin1String SaveDocument{"SaveDocument"};
inline constexpr QLatin1String SaveDocumentAs{"SaveDocumentAs"};
inline constexpr QLatin1String Reload{"Reload"};
inline constexpr QLatin1String HtmlWizard{"HtmlWizard"};
inline constexpr QLatin1String HtmlWizardAgain{"HtmlWizardAgain"};
inline constexpr QLatin1String PartHtmlAll{"PartHtmlAll"};
inline constexpr QLatin1String PartHtmlSelected{"PartHtmlSelected"};
inline constexpr QLatin1String PartHtmlHelp{"PartHtmlHelp"};
inline constexpr QLatin1String Print{"Print"};
inline constexpr QLatin1String Quit{"Quit"};
inline constexpr QLatin1String LoadQlw{"LoadQlw"};
inline constexpr QLatin1String LoadCsv{"LoadCsv"};
inline constexpr QLatin1String LoadDbfs{"LoadDbfs"};
inline constexpr QLatin1String SaveQlw{"SaveQlw"};
inline constexpr QLatin1String SaveCsv{"SaveCsv"};
inline constexpr QLatin1String SaveDbfs{"SaveDbfs"};
inline constexpr QLatin1String SaveHtml{"SaveHtml"};
// "RecentFile" + n, n from 0 to RecentFileCount - 1.
inline constexpr int RecentFileCount = 51;
QString recentFile(int n);

// Edit
inline constexpr QLatin1String EditCard{"EditCard"};
inline constexpr QLatin1String NewCard{"NewCard"};
inline constexpr QLatin1String DeleteCard{"DeleteCard"};
inline constexpr QLatin1String Cut{"Cut"};
inline constexpr QLatin1String Copy{"Copy"};
inline constexpr QLatin1String CopyContentOnly{"CopyContentOnly"};
inline constexpr QLatin1String Paste{"Paste"};
inline constexpr QLatin1String SelectAll{"SelectAll"};
inline constexpr QLatin1String InvertSelection{"InvertSelection"};
inline constexpr QLatin1String CutDateInfo{"CutDateInfo"};
inline constexpr QLatin1String RenewDate{"RenewDate"};
inline constexpr QLatin1String ChangeGroup{"ChangeGroup"};
inline constexpr QLatin1String BrowserSelected{"BrowserSelected"};
inline constexpr QLatin1String BrowserAll{"BrowserAll"};
inline constexpr QLatin1String BrowserHomePage{"BrowserHomePage"};
inline constexpr QLatin1String OpenRemarksUrl{"OpenRemarksUrl"};
inline constexpr QLatin1String CopyContentToFile{"CopyContentToFile"};
inline constexpr QLatin1String RenameCard{"RenameCard"};       // F2: title edit in place
inline constexpr QLatin1String BrowseSpace{"BrowseSpace"};     // Space in a list in browse mode
inline constexpr QLatin1String EditMenuPopup{"EditMenuPopup"}; // context-menu key in a list

// View
inline constexpr QLatin1String ViewLargeIcons{"ViewLargeIcons"};
inline constexpr QLatin1String ViewSmallIcons{"ViewSmallIcons"};
inline constexpr QLatin1String ViewList{"ViewList"};
inline constexpr QLatin1String ViewDetails{"ViewDetails"};
inline constexpr QLatin1String ViewNextMode{"ViewNextMode"};
inline constexpr QLatin1String PreviewNext{"PreviewNext"};
inline constexpr QLatin1String PreviewNone{"PreviewNone"};
inline constexpr QLatin1String Preview12{"Preview12"};
inline constexpr QLatin1String Preview11{"Preview11"};
inline constexpr QLatin1String Preview21{"Preview21"};
inline constexpr QLatin1String ToggleTree{"ToggleTree"};
inline constexpr QLatin1String MostFront{"MostFront"};             // the menu entry
inline constexpr QLatin1String MostFrontButton{"MostFrontButton"}; // the toolbar button
inline constexpr QLatin1String BrowseMode{"BrowseMode"};
inline constexpr QLatin1String Sort{"Sort"};
inline constexpr QLatin1String CancelSort{"CancelSort"};
inline constexpr QLatin1String Refresh{"Refresh"};
inline constexpr QLatin1String BrowserMenu{"BrowserMenu"}; // tbBrowser: pops up the browser menu

// Options and help
inline constexpr QLatin1String Settings{"Settings"};
inline constexpr QLatin1String HelpOnline{"HelpOnline"};
inline constexpr QLatin1String HelpOld{"HelpOld"};
inline constexpr QLatin1String HelpKoshin{"HelpKoshin"};
inline constexpr QLatin1String HelpHomePage{"HelpHomePage"};
inline constexpr QLatin1String HelpBoard{"HelpBoard"};
inline constexpr QLatin1String HelpMail{"HelpMail"};
inline constexpr QLatin1String About{"About"};

// Search bar and keys
inline constexpr QLatin1String SearchTop{"SearchTop"};
inline constexpr QLatin1String SearchUp{"SearchUp"};
inline constexpr QLatin1String SearchDown{"SearchDown"};
inline constexpr QLatin1String SearchTopPrompt{"SearchTopPrompt"};
inline constexpr QLatin1String SearchDownPrompt{"SearchDownPrompt"};
inline constexpr QLatin1String Extract{"Extract"};
inline constexpr QLatin1String ExtractPrompt{"ExtractPrompt"};
inline constexpr QLatin1String ExtractAndSelect{"ExtractAndSelect"}; // Ctrl+Enter
inline constexpr QLatin1String EndExtraction{"EndExtraction"};
inline constexpr QLatin1String Regex{"Regex"}; // chkSeiki
inline constexpr QLatin1String FocusSearch{"FocusSearch"};
inline constexpr QLatin1String SearchBoxToList{"SearchBoxToList"}; // Up/Down in an empty search box
inline constexpr QLatin1String Escape{"Escape"};

} // namespace Cmd
