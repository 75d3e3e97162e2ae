// A place in the registry that holds classes: its predefined root key, the
// path below that root, and the name a registry script writes for it. The
// functions below are the only places that name a root; everything that
// scans, reads, writes, deletes, backs up or exports takes a location.
#pragma once
#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

struct RegistryLocation {
    HKEY Root = nullptr;
    std::string Path;       // below Root, without leading or trailing backslash; empty for Root itself
    std::string ScriptName; // what a registry script writes for Root\Path

    // name below this location, as a path below Root. An empty name is the
    // location itself.
    std::string KeyPath(std::string_view name) const;
    // name below this location as a script's key line names it.
    std::string ScriptPath(std::string_view name) const;

    friend bool operator==(const RegistryLocation&, const RegistryLocation&) = default;
};

// The merged view that Windows offers: the user's classes over the machine's.
const RegistryLocation& ClassesRoot();
// The classes of every user of the machine.
const RegistryLocation& MachineClasses();
// The classes of the user running the program.
const RegistryLocation& UserClasses();
// The shell's record of what the user chose to open each extension with
// (one sub-key per extension), kept apart from the classes.
const RegistryLocation& UserFileExts();
// The same record for URL schemes (one sub-key per scheme): the browser and
// the mail program a user chose live here.
const RegistryLocation& UserUrlAssociations();

// Where Group Policy reads the path of the default associations file that
// Windows applies at sign-in, in the value named below (domain-joined
// machines only).
const RegistryLocation& AssociationsPolicyKey();
inline constexpr const char* kAssociationsPolicyValue = "DefaultAssociationsConfiguration";

// Where the program finds associations: the two layers the merged view is
// made of, the user's over the machine's, and the user's own choices.
struct AssociationLocations {
    RegistryLocation User;
    RegistryLocation Machine;
    RegistryLocation FileExts;
    RegistryLocation UrlAssociations;
};

// Where a commit writes: one layer, and for the user's layer the machine's
// classes below it. Windows takes a key's values from the user's key alone
// where the user holds one, so a key the write creates there that the
// machine's classes hold would hide the machine's values: they are copied
// first.
struct WriteTarget {
    RegistryLocation Layer;
    std::optional<RegistryLocation> Below;

    WriteTarget(RegistryLocation layer, std::optional<RegistryLocation> below = std::nullopt)
        : Layer(std::move(layer)), Below(std::move(below))
    {
    }
};

// The real places, unless a test, or the program started by a test, has
// pointed them at scratch keys.
const AssociationLocations& CurrentAssociationLocations();
void OverrideAssociationLocations(std::optional<AssociationLocations> locations);
