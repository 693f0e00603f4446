// The card-file verbs (dump, convert, stat) arrive with the card formats.
#include "verb.h"

QList<Verb> cardVerbs()
{
    return {};
}
