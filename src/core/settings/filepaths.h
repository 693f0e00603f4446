#pragma once
// Whether two paths name the same file, compared the way the file system
// compares names: exactly on Linux, where Memo.qlw and memo.qlw are two
// files; without regard to letter case where the file system ignores it.

#include <QString>

namespace FilePaths {

Qt::CaseSensitivity caseSensitivity();
bool same(const QString &a, const QString &b);

} // namespace FilePaths
