#pragma once
// The texts search, extraction and the group change show.

#include <QString>

namespace SearchTexts {
inline const QString SearchPrompt = QStringLiteral("検索キーワードを指定してください。");
inline const QString ExtractPrompt = QStringLiteral("抽出キーワードを指定してください。");
inline const QString GroupMarkRefused = QStringLiteral("「＠」を含めることはできません。");
inline const QString GroupChangeCaption = QStringLiteral("グループの変更");
inline const QString Ok = QStringLiteral("OK");
inline const QString Cancel = QStringLiteral("キャンセル");
// The group list's first entry, which stands for every card, and its key.
inline const QString AllGroups = QStringLiteral("全て");
inline const QString AllGroupsKey = QStringLiteral("Root");
} // namespace SearchTexts
