#include "core/window/mostfront.h"

#include "core/common/dialogs.h"
#include "core/common/services.h"

namespace MostFrontNotice {

QString text()
{
    return QStringLiteral("　最前面の設定は、バグのため、簡単に狂ってしまいます。これは仕様とします。\r\n"
                          "　狂った場合は、再度設定し直してください。\r\n"
                          "　なお、このメッセージは二度と表示されません。");
}

bool showOnce(UserStore &store, Dialogs &dialogs)
{
    // Read as a number, as the value was always written: "1" (or "1.0") is
    // shown; missing, empty or 0 is not.
    const std::optional<QString> value = store.value(UserKey);
    bool ok = false;
    const double seen = value ? value->trimmed().toDouble(&ok) : 0;
    if (ok && seen != 0)
        return false;
    dialogs.message(text(), MsgIcon::Information, MsgButtons::Ok);
    store.setValue(UserKey, QStringLiteral("1"));
    return true;
}

} // namespace MostFrontNotice
