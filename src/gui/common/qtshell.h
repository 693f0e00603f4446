#pragma once
// The desktop's default handlers for addresses and files.

#include "core/common/services.h"

#include <QUrl>

class QtShell : public Shell
{
public:
    // Addresses ("scheme:...") open as URLs, anything else as a local file.
    bool open(const QString &target) override;

    // The URL open() hands to the desktop.
    static QUrl urlFor(const QString &target);
};
