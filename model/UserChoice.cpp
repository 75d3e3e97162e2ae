#include "model/UserChoice.h"

#include <vector>

#include "model/KeyNames.h"
#include "model/RegistryAccess.h"
#include "model/Scoped.h"

namespace {
constexpr const char* kProgIdValue = "ProgId";

// The ProgId the choice key names. Some builds keep UserChoiceLatest's
// ProgId in a sub-key of that name rather than as a value; both are read.
std::string ChoiceProgId(RegistryAccess& registry, const std::string& choicePath)
{
    std::string progId;
    if (!registry.OpenKey(choicePath, false))
        return {};
    if (registry.ReadTextIfExists(kProgIdValue, progId) == ValueRead::Read && !progId.empty())
        return progId;
    if (registry.OpenKey(choicePath + "\\" + kProgIdValue, false) &&
        registry.ReadTextIfExists(kProgIdValue, progId) == ValueRead::Read)
        return progId;
    return {};
}

// The choice below the extension key at extensionPath (relative to the
// registry's root): UserChoiceLatest when it names a type, else UserChoice.
std::string ExtensionChoice(RegistryAccess& registry, const std::string& extensionPath)
{
    std::string progId = ChoiceProgId(registry, extensionPath + "\\" + kUserChoiceLatestKey);
    // A text that cannot be read leaves progId as it is: empty.
    if (progId.empty() && registry.OpenKey(extensionPath + "\\" + kUserChoiceKey, false))
        registry.ReadTextIfExists(kProgIdValue, progId);
    registry.CloseKey();
    return progId;
}

// Deletes the key below parent after its sub-keys. Each deletion asks only
// for the right to delete: Windows denies the user the right to set values
// on a choice key, which a deletion of the whole tree at once would ask for.
LONG DeleteKeyAndChildren(HKEY parent, const char* name)
{
    ScopedHKey key;
    LONG rc = RegOpenKeyExA(parent, name, 0, KEY_ENUMERATE_SUB_KEYS, key.Put());
    if (rc != ERROR_SUCCESS) {
        key.Release();
        return rc;
    }
    char child[1024]; // 255 characters of up to 3 bytes each
    DWORD length = sizeof child;
    while (RegEnumKeyExA(key.Get(), 0, child, &length, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS) {
        if ((rc = DeleteKeyAndChildren(key.Get(), child)) != ERROR_SUCCESS)
            return rc;
        length = sizeof child;
    }
    key.Reset();
    return RegDeleteKeyA(parent, name);
}
} // namespace

std::string ReadUserChoice(const std::string& extension, const RegistryLocation& fileExts)
{
    RegistryAccess registry;
    registry.SetRoot(fileExts);
    return ExtensionChoice(registry, extension);
}

std::map<std::string, std::string> ReadAllUserChoices(const RegistryLocation& fileExts)
{
    std::map<std::string, std::string> choices;
    ScopedHKey record;
    if (RegOpenKeyExA(fileExts.Root, fileExts.Path.c_str(), 0, KEY_READ, record.Put()) != ERROR_SUCCESS) {
        record.Release();
        return choices;
    }
    // Opened once, the record is the root of every later open, so each
    // extension costs two short relative opens at most.
    RegistryAccess registry;
    registry.SetRoot(RegistryLocation{record.Get(), "", fileExts.ScriptName});
    std::vector<std::string> names;
    if (registry.OpenKey("", false))
        registry.GetKeyNames(names);
    for (const std::string& name : names)
        if (std::string progId = ExtensionChoice(registry, name); !progId.empty())
            choices[LowerCaseName(name)] = std::move(progId);
    return choices;
}

ChoiceRemoval RemoveUserChoice(const std::string& extension, const RegistryLocation& fileExts)
{
    ScopedHKey record;
    LONG rc = RegOpenKeyExA(fileExts.Root, fileExts.KeyPath(extension).c_str(), 0, KEY_READ, record.Put());
    if (rc != ERROR_SUCCESS) {
        record.Release();
        return rc == ERROR_FILE_NOT_FOUND ? ChoiceRemoval::Absent : ChoiceRemoval::Refused;
    }
    // Every key that is there must open for deletion before anything goes,
    // so a refusal by the key's permissions leaves both as they were. The
    // one that loses goes first: should the second deletion still be
    // refused, the choice the shell follows is the one it was.
    const char* const order[] = {kUserChoiceKey, kUserChoiceLatestKey};
    bool present[2] = {};
    for (int index = 0; index < 2; ++index) {
        ScopedHKey key;
        rc = RegOpenKeyExA(record.Get(), order[index], 0, DELETE | KEY_ENUMERATE_SUB_KEYS, key.Put());
        if (rc != ERROR_SUCCESS) {
            key.Release();
            if (rc != ERROR_FILE_NOT_FOUND)
                return ChoiceRemoval::Refused;
        }
        present[index] = rc == ERROR_SUCCESS;
    }
    if (!present[0] && !present[1])
        return ChoiceRemoval::Absent;
    if (present[0] && DeleteKeyAndChildren(record.Get(), order[0]) != ERROR_SUCCESS)
        return ChoiceRemoval::Refused;
    if (present[1] && DeleteKeyAndChildren(record.Get(), order[1]) != ERROR_SUCCESS)
        return present[0] ? ChoiceRemoval::OlderOnly : ChoiceRemoval::Refused;
    return ChoiceRemoval::Removed;
}

bool ChoiceDiffersFromCreator(const std::string& progId, const std::string& creator)
{
    return !progId.empty() && LowerCaseName(progId) != LowerCaseName(creator);
}

OpeningType TypeThatOpens(const std::string& choice, const std::string& fallback,
                          const std::function<bool(const std::string&)>& typeExists)
{
    if (choice.empty() || !ChoiceDiffersFromCreator(choice, fallback))
        return {fallback, false};
    if (typeExists(choice))
        return {choice, false};
    return {fallback, true};
}
