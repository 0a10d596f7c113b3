// The registry stage of a scan: every record of RegistryDefinition.dat names one key or one value; the
// stage asks the registry for exactly that item and lists what is present, neither safe nor excluded.
#pragma once

#include <string>

#include "platform/registry.h"

namespace grimsweep {

struct ScanRun;

// Status of a value whose type the scan does not read (raw data, multi-string, none).
inline constexpr RegistryStatus kRegistryUnreadType = -1;

// Reads a value of the key opened with `access`: strings and expandable strings as their text (not
// expanded), 32-bit numbers as the number. Every other type gives kRegistryUnreadType; a key or value that
// cannot be read gives the registry's status.
RegistryStatus QueryRegistryValue(IRegistry& registry, RegistryRoot root, const std::string& keyPath,
                                  const std::string& valueName, RegistryValue& out,
                                  std::uint32_t access = kKeyRead);
// Whether the key opens for reading: a machine-wide key that a standard user may not write counts too.
bool RegistryKeyPresent(IRegistry& registry, RegistryRoot root, const std::string& keyPath);
// Whether QueryRegistryValue reads the value.
bool RegistryValuePresent(IRegistry& registry, RegistryRoot root, const std::string& keyPath,
                          const std::string& valueName);

// Runs the stage over RegistryDefinition.dat in the data folder; nothing when the file is missing.
void ScanRegistry(ScanRun& run);

} // namespace grimsweep
