#include "platform/fake/FakePlatform.h"

#include "platform/Platform.h"

FakePlatform::FakePlatform()
{
    accessibility->setJournal(&journal);
    pasteboard->journal = &journal;
    workspace->journal = &journal;
    keyboard->journal = &journal;
    Platform::install({accessibility, grant, events, screens, pasteboard, workspace, keyboard, secrets});
}

FakePlatform::~FakePlatform()
{
    accessibility->setJournal(nullptr);
    Platform::install({});
}

bool FakePlatform::loadFixture(const QString& relativePath)
{
    const QString root = qEnvironmentVariable("HALVORA_TEST_SOURCE_DIR");
    return accessibility->loadFile(root + QStringLiteral("/tests/fixtures/") + relativePath);
}
