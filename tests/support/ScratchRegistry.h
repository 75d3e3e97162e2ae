// Redirects HKEY_CLASSES_ROOT of this process to a fresh scratch key below
// HKEY_CURRENT_USER for the lifetime of the object, so no test can change
// the classes of the machine it runs on, and removes the key afterwards.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/RegistryLocation.h"
#include "model/Scoped.h"

class ScratchClassesRoot {
public:
    ScratchClassesRoot();
    ~ScratchClassesRoot();
    ScratchClassesRoot(const ScratchClassesRoot&) = delete;
    ScratchClassesRoot& operator=(const ScratchClassesRoot&) = delete;

    HKEY Key() const { return key_.Get(); }
    // Path of the scratch key below HKEY_CURRENT_USER.
    const std::string& Path() const { return path_; }
    // The scratch key as a location of classes that scripts name as the
    // merged view, so scripts read as they would for the real classes.
    RegistryLocation Location() const { return RegistryLocation{HKEY_CURRENT_USER, path_, "HKEY_CLASSES_ROOT"}; }
    // The user's classes and choices beside it: the program's scan sees the
    // scratch key as the machine's classes, these as the user's.
    RegistryLocation UserLocation() const
    {
        return RegistryLocation{HKEY_CURRENT_USER, path_ + "-user", "HKEY_CURRENT_USER\\Software\\Classes"};
    }
    RegistryLocation FileExtsLocation() const { return RegistryLocation{HKEY_CURRENT_USER, path_ + "-fileexts", ""}; }
    RegistryLocation UrlAssociationsLocation() const
    {
        return RegistryLocation{HKEY_CURRENT_USER, path_ + "-urls", ""};
    }

private:
    std::vector<std::string> Paths() const
    {
        return {path_, UserLocation().Path, FileExtsLocation().Path, UrlAssociationsLocation().Path};
    }

    std::string path_;
    ScopedHKey key_;
};

struct StoredValue {
    bool exists = false;
    DWORD type = REG_NONE;
    std::vector<BYTE> bytes;
    std::string Text() const; // bytes up to the first zero
};

// Seeding and checking values of the scratch classes root, by path below it.
void SetText(HKEY root, const std::string& path, const std::string& name, const std::string& text,
             DWORD type = REG_SZ);
void SetDword(HKEY root, const std::string& path, const std::string& name, DWORD value);
void CreateKey(HKEY root, const std::string& path);
bool KeyExists(HKEY root, const std::string& path);
StoredValue GetValue(HKEY root, const std::string& path, const std::string& name);
std::vector<std::string> SubKeyNames(HKEY root, const std::string& path);
std::vector<std::string> ValueNames(HKEY root, const std::string& path);

// A test whose HKEY_CLASSES_ROOT is a scratch key.
class RegistryTest : public ::testing::Test {
protected:
    HKEY Root() const { return scratch_.Key(); }
    RegistryLocation Location() const { return scratch_.Location(); }
    AssociationLocations Locations() const
    {
        return AssociationLocations{scratch_.UserLocation(), Location(), scratch_.FileExtsLocation(),
                                    scratch_.UrlAssociationsLocation()};
    }
    void SetText(const std::string& path, const std::string& name, const std::string& text, DWORD type = REG_SZ)
    {
        ::SetText(Root(), path, name, text, type);
    }
    StoredValue GetValue(const std::string& path, const std::string& name) { return ::GetValue(Root(), path, name); }
    bool KeyExists(const std::string& path) { return ::KeyExists(Root(), path); }

    ScratchClassesRoot scratch_;
};
