#pragma once
// The system clipboard, plain text only.

#include "core/common/services.h"

class QtClipboard : public Clipboard
{
public:
    QString text() override;
    void setText(const QString &text) override;
};
