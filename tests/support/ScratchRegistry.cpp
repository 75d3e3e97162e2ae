#include "tests/support/ScratchRegistry.h"

#include <atomic>
#include <cstring>

ScratchClassesRoot::ScratchClassesRoot()
{
    static std::atomic<int> counter{0};
    path_ = "Software\\morvido-tests\\" + std::to_string(GetCurrentProcessId()) + "-" +
            std::to_string(GetTickCount64()) + "-" + std::to_string(counter++);
    for (const std::string& path : Paths())
        RegDeleteTreeA(HKEY_CURRENT_USER, path.c_str());
    if (RegCreateKeyExA(HKEY_CURRENT_USER, path_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key_.Put(),
                        nullptr) != ERROR_SUCCESS)
        ADD_FAILURE() << "cannot create the scratch key";
    // Without the redirection a test would write the real classes: stop here.
    if (!key_ || RegOverridePredefKey(HKEY_CLASSES_ROOT, key_.Get()) != ERROR_SUCCESS) {
        fprintf(stderr, "cannot redirect HKEY_CLASSES_ROOT; stopping the tests\n");
        ExitProcess(3);
    }
    // The redirected HKEY_CLASSES_ROOT stands for the machine's classes.
    OverrideAssociationLocations(AssociationLocations{UserLocation(), ClassesRoot(), FileExtsLocation(),
                                                      UrlAssociationsLocation()});
}

ScratchClassesRoot::~ScratchClassesRoot()
{
    OverrideAssociationLocations(std::nullopt);
    RegOverridePredefKey(HKEY_CLASSES_ROOT, nullptr);
    key_.Reset();
    for (const std::string& path : Paths()) {
        RegDeleteTreeA(HKEY_CURRENT_USER, path.c_str());
        RegDeleteKeyA(HKEY_CURRENT_USER, path.c_str());
    }
}

std::string StoredValue::Text() const
{
    const char* data = reinterpret_cast<const char*>(bytes.data());
    return std::string(data, strnlen(data, bytes.size()));
}

void SetText(HKEY root, const std::string& path, const std::string& name, const std::string& text, DWORD type)
{
    ScopedHKey key;
    ASSERT_EQ(RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.Put(), nullptr),
              ERROR_SUCCESS)
        << path;
    ASSERT_EQ(RegSetValueExA(key.Get(), name.c_str(), 0, type, reinterpret_cast<const BYTE*>(text.c_str()),
                             static_cast<DWORD>(text.size() + 1)),
              ERROR_SUCCESS)
        << path << " " << name;
}

void SetDword(HKEY root, const std::string& path, const std::string& name, DWORD value)
{
    ScopedHKey key;
    ASSERT_EQ(RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.Put(), nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExA(key.Get(), name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                             sizeof value),
              ERROR_SUCCESS);
}

void CreateKey(HKEY root, const std::string& path)
{
    ScopedHKey key;
    ASSERT_EQ(RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.Put(), nullptr),
              ERROR_SUCCESS)
        << path;
}

bool KeyExists(HKEY root, const std::string& path)
{
    ScopedHKey key;
    return RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, key.Put()) == ERROR_SUCCESS;
}

StoredValue GetValue(HKEY root, const std::string& path, const std::string& name)
{
    StoredValue value;
    ScopedHKey key;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, key.Put()) != ERROR_SUCCESS)
        return value;
    DWORD size = 0;
    if (RegQueryValueExA(key.Get(), name.c_str(), nullptr, &value.type, nullptr, &size) != ERROR_SUCCESS)
        return value;
    value.bytes.resize(size);
    if (RegQueryValueExA(key.Get(), name.c_str(), nullptr, &value.type, value.bytes.data(), &size) != ERROR_SUCCESS)
        return value;
    value.bytes.resize(size);
    value.exists = true;
    return value;
}

std::vector<std::string> SubKeyNames(HKEY root, const std::string& path)
{
    std::vector<std::string> names;
    ScopedHKey key;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, key.Put()) != ERROR_SUCCESS)
        return names;
    char name[1024];
    for (DWORD index = 0;; ++index) {
        DWORD length = sizeof name;
        if (RegEnumKeyExA(key.Get(), index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        names.emplace_back(name, length);
    }
    return names;
}

std::vector<std::string> ValueNames(HKEY root, const std::string& path)
{
    std::vector<std::string> names;
    ScopedHKey key;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, key.Put()) != ERROR_SUCCESS)
        return names;
    char name[1024];
    for (DWORD index = 0;; ++index) {
        DWORD length = sizeof name;
        if (RegEnumValueA(key.Get(), index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        names.emplace_back(name, length);
    }
    return names;
}
