#include "core/editor/editortexts.h"

namespace EditorTexts {

QString TooManyEditors(int limit)
{
    return TooManyEditorsPattern.arg(limit);
}

QString UnmappableQuestion(qsizetype count, qsizetype firstIndex)
{
    return UnmappableQuestionPattern.arg(count).arg(firstIndex + 1);
}

QString UnreadableBytes(qsizetype count, qsizetype firstOffset)
{
    return UnreadableBytesPattern.arg(count).arg(firstOffset);
}

} // namespace EditorTexts
