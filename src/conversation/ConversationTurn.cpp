#include "conversation/ConversationTurn.h"

#include "conversation/StreamedTurn.h"

QList<WebSource> ConversationTurn::sources() const
{
    return StreamedTurn::sources(citedSources, foundSources);
}
