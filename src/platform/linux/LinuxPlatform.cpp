#include "platform/linux/LinuxPlatform.h"

namespace LinuxPlatform {

void install()
{
}

} // namespace LinuxPlatform
