#pragma once

// Installs the Linux implementations of the platform services for the running program.
namespace LinuxPlatform {
void install();
}
