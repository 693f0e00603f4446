#include "core/settings/settingkeys.h"

namespace SettingKey {

QString columnWidth(int n)
{
    return QStringLiteral("Column%1Width").arg(n);
}

QString colour(int n)
{
    return QStringLiteral("Color%1").arg(n);
}

} // namespace SettingKey

namespace SettingKeys {

namespace {

QList<Key> makeTable()
{
    using K = Kind;
    using A = Arrival;
    namespace S = SettingKey;
    const QString msGothic = QStringLiteral("ＭＳ Ｐゴシック");
    return {
        {S::VerNo, K::Text, A::Rewritten, QString(), Computed::Version},
        {S::ListFontSize, K::Number, A::Filled, QStringLiteral("9")},
        {S::ListFont, K::Text, A::Filled, msGothic},
        {S::EditorFontSize, K::Number, A::Filled, QStringLiteral("9")},
        {S::EditorFont, K::Text, A::Filled, msGothic},
        {S::Column1, K::Text, A::Filled, QStringLiteral("題名")},
        {S::Column2, K::Text, A::Filled, QStringLiteral("備考")},
        {S::Column3, K::Text, A::Filled, QStringLiteral("内容")},
        {S::AddDateInfo, K::Switch, A::Filled, QStringLiteral("0")},
        {S::NoSort, K::Switch, A::Filled, QStringLiteral("0")},
        {S::PartHTMLTitleMode, K::Switch, A::Filled, QStringLiteral("0")},
        {S::NoFunctionBarClickEvent, K::Switch, A::Filled, QStringLiteral("1")},
        {S::InsertCardAtNextCard, K::Integer, A::Filled, QStringLiteral("0")},
        // System colour 0x80000012 (button text) and 0x80000005 (window).
        {S::Color1, K::Colour, A::Filled, QStringLiteral("-2147483630")},
        {S::Color2, K::Colour, A::Filled, QStringLiteral("-2147483643")},
        {S::Color3, K::Colour, A::Filled, QStringLiteral("16777215")},
        {S::Color4, K::Colour, A::Filled, QStringLiteral("5592405")},
        {S::Color5, K::Colour, A::Filled, QStringLiteral("16777215")},
        {S::Color6, K::Colour, A::Filled, QStringLiteral("5592405")},
        {S::Column1Width, K::Number, A::Filled, QStringLiteral("6999.875")},
        {S::Column2Width, K::Number, A::Filled, QStringLiteral("3000.189")},
        {S::Column3Width, K::Number, A::Filled, QStringLiteral("1440")},
        {S::SaveColumnWidth, K::Switch, A::Filled, QStringLiteral("1")},
        {S::SaveWindowSize, K::Switch, A::Filled, QStringLiteral("1")},
        {S::WindowListSizeX, K::Integer, A::Filled, QStringLiteral("9480")},
        {S::WindowListSizeY, K::Integer, A::Filled, QStringLiteral("6315")},
        {S::WindowEditSizeX, K::Integer, A::Filled, QStringLiteral("8625")},
        {S::WindowEditSizeY, K::Integer, A::Filled, QStringLiteral("6330")},
        {S::NoWriteColumn2, K::Switch, A::Filled, QStringLiteral("0")},
        {S::ListViewMode, K::Integer, A::Filled, QStringLiteral("3")},
        {S::NoHTMLHeader, K::Switch, A::Filled, QStringLiteral("0")},
        {S::ExtEditor, K::Text, A::Filled, QString(), Computed::ExternalEditor},
        {S::ExtEditorEXT, K::Text, A::Filled, QStringLiteral("txt")},
        {S::AutoSort, K::Switch, A::Filled, QStringLiteral("0")},
        {S::SortColumn, K::Integer, A::Filled, QStringLiteral("-1")},
        {S::SortStyle, K::Integer, A::Filled, QStringLiteral("0")},
        {S::BrowserHina0, K::Text, A::Filled, QString(), Computed::BrowserTemplate},
        {S::BrowserHina1, K::Text, A::Filled, QString(), Computed::BrowserTemplate},
        {S::BrowserHinaMode, K::Integer, A::NoDefault, QStringLiteral("0")},
        {S::PreView, K::Integer, A::OnRead, QStringLiteral("0")},
        {S::TreeViewVisible, K::Boolean, A::OnRead, QStringLiteral("True")},
        {S::SeikiHyougen, K::Boolean, A::OnRead, QStringLiteral("False")},
        {S::HTMLMode, K::Integer, A::NoDefault, QString()},
        {S::HinagataFileName, K::Text, A::NoDefault, QString()},
        {S::StyleSheet, K::Text, A::NoDefault, QString()},
        {S::RootPath, K::Text, A::NoDefault, QString()},
        {S::ReverseNumber, K::Switch, A::NoDefault, QStringLiteral("0")},
    };
}

} // namespace

const QList<Key> &table()
{
    static const QList<Key> keys = makeTable();
    return keys;
}

const Key *find(const QString &name)
{
    for (const Key &key : table())
        if (key.name.compare(name, Qt::CaseInsensitive) == 0)
            return &key;
    return nullptr;
}

QString browserTemplatePath(const QString &programFolder)
{
    return programFolder + QStringLiteral("/雛形/HinaText(ごく普通のテキスト・Preタグ).qlw");
}

} // namespace SettingKeys
