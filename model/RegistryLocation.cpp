#include "model/RegistryLocation.h"

namespace {
std::string Joined(std::string_view base, std::string_view name)
{
    std::string path;
    path.reserve(base.size() + 1 + name.size());
    path.append(base);
    if (!base.empty() && !name.empty())
        path += '\\';
    path.append(name);
    return path;
}
} // namespace

std::string RegistryLocation::KeyPath(std::string_view name) const { return Joined(Path, name); }

std::string RegistryLocation::ScriptPath(std::string_view name) const { return Joined(ScriptName, name); }

const RegistryLocation& ClassesRoot()
{
    static const RegistryLocation location{HKEY_CLASSES_ROOT, "", "HKEY_CLASSES_ROOT"};
    return location;
}

const RegistryLocation& MachineClasses()
{
    static const RegistryLocation location{HKEY_LOCAL_MACHINE, "Software\\Classes",
                                           "HKEY_LOCAL_MACHINE\\Software\\Classes"};
    return location;
}

const RegistryLocation& UserClasses()
{
    static const RegistryLocation location{HKEY_CURRENT_USER, "Software\\Classes",
                                           "HKEY_CURRENT_USER\\Software\\Classes"};
    return location;
}

const RegistryLocation& UserFileExts()
{
    static const RegistryLocation location{
        HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts",
        "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts"};
    return location;
}

const RegistryLocation& AssociationsPolicyKey()
{
    static const RegistryLocation location{HKEY_LOCAL_MACHINE, "SOFTWARE\\Policies\\Microsoft\\Windows\\System",
                                           "HKEY_LOCAL_MACHINE\\SOFTWARE\\Policies\\Microsoft\\Windows\\System"};
    return location;
}

const RegistryLocation& UserUrlAssociations()
{
    static const RegistryLocation location{
        HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\Shell\\Associations\\UrlAssociations",
        "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\Shell\\Associations\\UrlAssociations"};
    return location;
}

namespace {
std::optional<AssociationLocations>& Overridden()
{
    static std::optional<AssociationLocations> locations;
    return locations;
}
} // namespace

const AssociationLocations& CurrentAssociationLocations()
{
    static const AssociationLocations real{UserClasses(), MachineClasses(), UserFileExts(), UserUrlAssociations()};
    return Overridden() ? *Overridden() : real;
}

void OverrideAssociationLocations(std::optional<AssociationLocations> locations) { Overridden() = std::move(locations); }
