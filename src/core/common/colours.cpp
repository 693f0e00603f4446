#include "core/common/colours.h"

namespace Colours {

QString toSettingText(std::uint32_t number)
{
    return QString::number(static_cast<std::int32_t>(number));
}

std::optional<std::uint32_t> fromSettingText(const QString &text)
{
    bool ok = false;
    const qlonglong value = text.trimmed().toLongLong(&ok);
    if (!ok || value < -2147483648LL || value > 4294967295LL)
        return std::nullopt;
    return static_cast<std::uint32_t>(value);
}

} // namespace Colours
