#include "conversation/ConversationServices.h"

#include "conversation/Announcer.h"
#include "selection/TextReplacer.h"

ConversationServices ConversationServices::completed() const
{
    ConversationServices services = *this;
    if (!services.streamTurn && services.client)
        services.streamTurn = TurnRunner::streamTurnOf(*services.client);
    if (!services.replaceText) {
        Clock* clock = services.clock;
        services.replaceText = [clock](const Selection& selection, const QString& text) {
            TextReplacer::replace(selection, text, *clock);
        };
    }
    return services;
}

void ConversationServices::announce(const QString& text) const
{
    if (announcer)
        announcer->announce(text);
}
