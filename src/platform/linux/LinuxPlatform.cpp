#include "platform/linux/LinuxPlatform.h"

#include "platform/linux/AutostartLoginItem.h"
#include "platform/linux/FileUserDefaults.h"

#include <QCoreApplication>

namespace LinuxPlatform {

void install()
{
    UserDefaults::setStandard(std::make_unique<FileUserDefaults>(FileUserDefaults::standardPath()));
    LoginItem::setStandard(std::make_unique<AutostartLoginItem>(AutostartLoginItem::standardEntryPath(),
                                                                QCoreApplication::applicationFilePath()));
}

} // namespace LinuxPlatform
