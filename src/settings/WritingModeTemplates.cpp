#include "settings/WritingModeStore.h"

#include <QCoreApplication>

// The starting points offered when the user adds a mode, named in the user's language. Each use copies one under a
// fresh id, so a template can start any number of modes.
const QList<WritingMode>& WritingModeStore::templates()
{
    static const QList<WritingMode> templates{
        WritingMode{
            QUuid::createUuid(), QCoreApplication::translate("WritingModeStore", "Inclusive language"),
            QStringLiteral(
                "Use inclusive, gender-neutral language.\n"
                "- Address groups as \"everyone\", \"team\" or \"folks\", not \"guys\" or \"ladies and gentlemen\".\n"
                "- Use gender-neutral titles: \"chair\", \"salesperson\", \"firefighter\", \"staffing\", not "
                "\"chairman\", \"salesman\", \"fireman\", \"manpower\".\n"
                "- Use \"they\" when you don't know someone's gender, and the pronouns people have shared.\n"
                "- Describe disability with person-first or identity-first terms the community prefers; never "
                "\"suffers from\" or \"confined to a wheelchair\".\n"
                "- Avoid idioms that rely on stereotypes, and avoid \"crazy\", \"lame\" or \"blind spot\" as "
                "metaphors.")},
        WritingMode{QUuid::createUuid(), QCoreApplication::translate("WritingModeStore", "Person-first language"),
                    QStringLiteral(
                        "Use respectful, person-first language about people in the justice system.\n"
                        "- Say \"person who is incarcerated\" or \"person in custody\", not \"inmate\", \"prisoner\" "
                        "or \"convict\".\n"
                        "- Say \"person who was formerly incarcerated\" or \"person returning home\", not \"ex-con\", "
                        "\"ex-offender\" or \"felon\".\n"
                        "- Say \"person on parole\" or \"person on probation\", not \"parolee\" or \"probationer\".\n"
                        "- Don't define people by a conviction or charge; describe the situation instead.\n"
                        "- Keep the tone calm, direct and free of judgment.")},
        WritingMode{QUuid::createUuid(), QCoreApplication::translate("WritingModeStore", "Plain language"),
                    QStringLiteral("Rewrite for a general audience at about an 8th-grade reading level.\n"
                                   "- Short sentences and common words. Explain any term a customer might not know.\n"
                                   "- Use \"you\" and active voice. Put the most important point first.\n"
                                   "- Turn long lists of steps into a numbered list.")},
        WritingMode{QUuid::createUuid(), QCoreApplication::translate("WritingModeStore", "Our brand voice"),
                    QStringLiteral("Write in our brand voice: warm, confident and brief.\n"
                                   "- Use contractions. No exclamation marks. No jargon.\n"
                                   "- Words we use: … (fill in)\n"
                                   "- Words we avoid: … (fill in)")}};
    return templates;
}
