#include "platform/fake/FakePlatform.h"

#include "platform/Platform.h"

FakePlatform::FakePlatform()
{
    accessibility->setJournal(&journal);
    clipboard->journal = &journal;
    workspace->journal = &journal;
    keyboard->journal = &journal;
    Platform::install({accessibility, grant, events, screens, clipboard, workspace, keyboard, secrets, primary});
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
