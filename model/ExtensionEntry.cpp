#include "model/ExtensionEntry.h"

#include "model/ErrorReport.h"
#include "model/RegText.h"
#include "model/RegistryAccess.h"

namespace {
constexpr const char* kContentType = "Content Type";

bool Fail(const ExtensionEntry& entry, const char* tail)
{
    ReportError(kExtensionPrefix + entry.Name + tail);
    return false;
}

// Writes value, or removes it when the text is empty; the key stays. A key
// the write has just created has no value to remove.
bool StoreOrRemove(RegistryAccess& registry, const std::string& valueName, const std::string& text)
{
    if (!text.empty())
        return registry.WriteText(valueName, text);
    return registry.CreatedCurrentKey() || registry.DeleteValue(valueName);
}
} // namespace

void ExtensionEntry::Clear()
{
    Name.clear();
    Creator.clear();
    ContentType.clear();
    State = esUnchanged;
}

bool ExtensionEntry::ReadFromRegistry()
{
    if (Name.empty())
        return true;
    RegistryAccess registry;
    registry.SetRoot(HKEY_CLASSES_ROOT);
    // A key that is missing or unreadable simply has nothing to read.
    registry.OpenKey(Name, false);
    // A missing value leaves its field as it was; a value that is not text
    // stops the read before the next one.
    if (registry.ReadTextIfExists("", Creator) == ValueRead::Failed ||
        registry.ReadTextIfExists(kContentType, ContentType) == ValueRead::Failed)
        return Fail(*this, kReadFailedTail);
    registry.CloseKey();
    State = esUnchanged;
    return true;
}

bool ExtensionEntry::WriteToRegistry()
{
    if (Name.empty())
        return true;
    RegistryAccess registry;
    registry.SetRoot(HKEY_CLASSES_ROOT);
    // A key that cannot be opened for writing is a failed write, even when
    // there was only something to remove. One open serves both values.
    if (!registry.OpenKey(Name, true) || !StoreOrRemove(registry, "", Creator) ||
        !StoreOrRemove(registry, kContentType, ContentType))
        return Fail(*this, kWriteFailedTail);
    registry.CloseKey();
    State = esUnchanged;
    return true;
}

bool ExtensionEntry::DeleteFromRegistry()
{
    if (Name.empty())
        return true;
    RegistryAccess registry;
    registry.SetRoot(HKEY_CLASSES_ROOT);
    return registry.RemoveKey(Name) || Fail(*this, kDeleteFailedTail);
}

void ExtensionEntry::WriteRegText(std::string& out) const
{
    if (Name.empty())
        return;
    AppendRegKey(out, Name);
    AppendRegDefault(out, EscapeRegValue(Creator));
    AppendRegNamedValue(out, kContentType, EscapeRegValue(ContentType));
    out += "\r\n";
}
