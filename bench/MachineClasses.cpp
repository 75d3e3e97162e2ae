#include "bench/MachineClasses.h"

#include <shellapi.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <map>
#include <set>
#include <utility>

#include "model/Scoped.h"

namespace {

// A fixed sequence, so every run and every machine seeds the same keys.
class Random {
public:
    explicit Random(uint64_t seed) : state_(seed) {}
    uint64_t Next()
    {
        uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    int Below(int bound) { return static_cast<int>(Next() % static_cast<uint64_t>(bound)); }
    int Percent() { return Below(100); }

private:
    uint64_t state_;
};

std::string Format(const char* format, long long a, long long b = 0, long long c = 0)
{
    char buffer[256];
    snprintf(buffer, sizeof buffer, format, a, b, c);
    return buffer;
}

// Letters for an index: 2 letters for the first 676, then 3, then 4.
std::string Letters(size_t index)
{
    size_t length = 2;
    size_t span = 26 * 26;
    while (index >= span) {
        index -= span;
        ++length;
        span *= 26;
    }
    std::string text(length, 'a');
    for (size_t at = length; at-- > 0;) {
        text[at] = static_cast<char>('a' + index % 26);
        index /= 26;
    }
    return text;
}

std::string Guid(Random& random)
{
    char buffer[64];
    snprintf(buffer, sizeof buffer, "{%08X-%04X-%04X-%04X-%012llX}", static_cast<unsigned>(random.Next()),
             static_cast<unsigned>(random.Next() & 0xFFFF), static_cast<unsigned>(random.Next() & 0xFFFF),
             static_cast<unsigned>(random.Next() & 0xFFFF),
             static_cast<unsigned long long>(random.Next() & 0xFFFFFFFFFFFFull));
    return buffer;
}

// Creates keys and values, counting the keys. Every key is volatile: the
// server then never writes the set to disk, which would stall it in the
// middle of a measurement, and the set is gone with the server.
class Seeder {
public:
    ScopedHKey Key(HKEY parent, const std::string& name)
    {
        ScopedHKey key;
        if (RegCreateKeyExA(parent, name.c_str(), 0, nullptr, REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr,
                            key.Put(), nullptr) != ERROR_SUCCESS) {
            fprintf(stderr, "cannot create key %s\n", name.c_str());
            ExitProcess(2);
        }
        ++keys;
        return key;
    }
    void Text(HKEY key, const char* name, const std::string& text, DWORD type = REG_SZ)
    {
        RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE*>(text.c_str()),
                       static_cast<DWORD>(text.size() + 1));
    }
    void Dword(HKEY key, const char* name, DWORD value)
    {
        RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    }
    void Empty(HKEY key, const char* name) { RegSetValueExA(key, name, 0, REG_NONE, nullptr, 0); }
    // The default value of a new sub-key path, one key per component.
    void DefaultOf(HKEY parent, const std::vector<std::string>& path, const std::string& text, DWORD type = REG_SZ)
    {
        ScopedHKey key = Key(parent, path[0]);
        for (size_t at = 1; at < path.size(); ++at)
            key = Key(key.Get(), path[at]);
        Text(key.Get(), "", text, type);
    }

    size_t keys = 0;
};

const char* const kKindsJapanese[] = {"テキスト文書", "ビットマップ イメージ", "圧縮フォルダー", "音声ファイル",
                                      "動画ファイル", "ワープロ文書", "表計算シート", "ヘルプ ファイル"};

std::string CreatorName(size_t index)
{
    switch (index % 3) {
    case 0:
        return Letters(index) + "file";
    case 1:
        return Format("Vendor%lld.Document.%lld", static_cast<long long>(index % 89), static_cast<long long>(index));
    default:
        return Format("Application.Type%lld", static_cast<long long>(index));
    }
}

// The DefaultIcon value of one creator and its type; empty for none.
std::pair<std::string, DWORD> IconSourceFor(Random& random, const std::vector<IconFileInfo>& files, size_t index)
{
    const IconFileInfo& file = files[static_cast<size_t>(random.Below(static_cast<int>(files.size())))];
    // Numbers spread over the first icons of each file, as programs and
    // the shell's own types use them.
    const int number = random.Below(file.iconCount < 24 ? file.iconCount : 24);
    const int kind = random.Percent();
    if (kind < 10)
        return {};
    if (kind < 65)
        return {file.path + "," + std::to_string(number), REG_SZ};
    if (kind < 75) {
        const std::string windows = "C:\\windows\\";
        if (file.path.compare(0, windows.size(), windows) == 0)
            return {"%SystemRoot%\\" + file.path.substr(windows.size()) + "," + std::to_string(number),
                    REG_EXPAND_SZ};
        return {file.path + "," + std::to_string(number), REG_SZ};
    }
    if (kind < 80)
        return {file.path + ",-1", REG_SZ};
    if (kind < 84)
        return {"shell32.dll,-" + std::to_string(1 + random.Below(300)), REG_SZ};
    if (kind < 88)
        return {Format("C:\\Program Files\\Vendor%lld\\missing%lld.exe,0", static_cast<long long>(index % 50),
                       static_cast<long long>(index % 7)),
                REG_SZ};
    if (kind < 91)
        return {random.Below(2) ? "C:\\windows\\win.ini,0" : "C:\\windows\\system.ini,1", REG_SZ};
    if (kind < 94)
        return {"%1", REG_SZ};
    if (kind < 97)
        return {file.path, REG_SZ};
    return {"\"" + file.path + "\",0", REG_SZ};
}

std::pair<std::string, DWORD> CommandFor(Random& random, size_t index)
{
    const int kind = random.Percent();
    const long long vendor = static_cast<long long>(index % 211);
    if (kind < 60)
        return {Format("\"C:\\Program Files\\Vendor%lld\\app%lld.exe\" \"%%1\"", vendor, vendor % 13), REG_SZ};
    if (kind < 75)
        return {"%SystemRoot%\\system32\\NOTEPAD.EXE %1", REG_EXPAND_SZ};
    if (kind < 85)
        return {"rundll32.exe C:\\windows\\system32\\shimgvw.dll,ImageView_Fullscreen %1", REG_SZ};
    if (kind < 95)
        return {};
    return {Format("\"C:\\Program Files (x86)\\Some Long Vendor Name %lld\\Sub Folder\\Application With A Long "
                   "Name.exe\" /dde \"%%1\"",
                   vendor),
            REG_SZ};
}

void SeedCreator(Seeder& seeder, Random& random, HKEY root, size_t index, const std::vector<IconFileInfo>& files,
                 SeedSummary& summary, std::set<std::pair<std::string, int>>& icons)
{
    const std::string name = CreatorName(index);
    ScopedHKey key = seeder.Key(root, name);
    const int kind = random.Percent();
    if (kind < 20)
        seeder.Text(key.Get(), "", kKindsJapanese[index % 8]);
    else if (kind < 90)
        seeder.Text(key.Get(), "", Format("Vendor%lld Document Type %lld", static_cast<long long>(index % 89),
                                          static_cast<long long>(index)));
    if (random.Percent() < 30)
        seeder.Dword(key.Get(), "EditFlags", 0x10000);
    if (random.Percent() < 20)
        seeder.Text(key.Get(), "FriendlyTypeName", "@%SystemRoot%\\system32\\shell32.dll,-10152", REG_EXPAND_SZ);

    const auto [icon, iconType] = IconSourceFor(random, files, index);
    if (!icon.empty()) {
        seeder.DefaultOf(key.Get(), {"DefaultIcon"}, icon, iconType);
        ++summary.iconSources;
        // The pair the scan extracts: expanded file and number (-1 is 0).
        std::string file = icon;
        int number = 0;
        const size_t comma = icon.find(',');
        if (comma != std::string::npos) {
            file = icon.substr(0, comma);
            number = atoi(icon.c_str() + comma + 1);
        }
        if (number == -1)
            number = 0;
        char expanded[MAX_PATH * 2];
        if (ExpandEnvironmentStringsA(file.c_str(), expanded, sizeof expanded) > 0)
            file = expanded;
        icons.emplace(file, number);
    }

    const auto [command, commandType] = CommandFor(random, index);
    ScopedHKey shell;
    if (!command.empty() || random.Percent() < 50)
        shell = seeder.Key(key.Get(), "shell");
    if (shell) {
        if (random.Percent() < 20)
            seeder.Text(shell.Get(), "", "open");
        ScopedHKey open = seeder.Key(shell.Get(), "open");
        if (!command.empty())
            seeder.DefaultOf(open.Get(), {"command"}, command, commandType);
        if (random.Percent() < 10) {
            ScopedHKey dde = seeder.Key(open.Get(), "ddeexec");
            if (random.Percent() < 80)
                seeder.Text(dde.Get(), "", "[open(\"%1\")]");
            seeder.DefaultOf(dde.Get(), {"application"}, Format("App%lld", static_cast<long long>(index % 211)));
            if (random.Percent() < 70)
                seeder.DefaultOf(dde.Get(), {"topic"}, "System");
            if (random.Percent() < 30)
                seeder.DefaultOf(dde.Get(), {"ifexec"}, "[rem _DDE_Direct]");
        }
        if (random.Percent() < 15)
            seeder.DefaultOf(shell.Get(), {"print", "command"},
                             Format("\"C:\\Program Files\\Vendor%lld\\app.exe\" /p \"%%1\"",
                                    static_cast<long long>(index % 211)));
    }
}

// A dozen files that hold icons; the rest of the candidates stay out.
std::vector<IconFileInfo> IconFilesOf(const std::vector<IconFileInfo>& allFiles)
{
    std::vector<IconFileInfo> files;
    for (const IconFileInfo& file : allFiles)
        if (file.iconCount > 0 && files.size() < 12)
            files.push_back(file);
    if (files.empty()) {
        fprintf(stderr, "no file of the prefix holds icons\n");
        ExitProcess(2);
    }
    return files;
}

} // namespace

std::vector<IconFileInfo> ProbeIconFiles()
{
    // The files real icon sources name most, as this prefix has them.
    const char* const candidates[] = {
        "C:\\windows\\system32\\shell32.dll",   "C:\\windows\\system32\\imageres.dll",
        "C:\\windows\\system32\\notepad.exe",   "C:\\windows\\regedit.exe",
        "C:\\windows\\explorer.exe",            "C:\\windows\\system32\\user32.dll",
        "C:\\windows\\system32\\comdlg32.dll",  "C:\\windows\\system32\\comctl32.dll",
        "C:\\windows\\system32\\setupapi.dll",  "C:\\windows\\system32\\msi.dll",
        "C:\\windows\\system32\\ieframe.dll",   "C:\\windows\\system32\\shdocvw.dll",
        "C:\\windows\\system32\\mshtml.dll",    "C:\\windows\\system32\\wmp.dll",
        "C:\\windows\\system32\\control.exe",   "C:\\windows\\system32\\winecfg.exe",
        "C:\\windows\\system32\\taskmgr.exe",   "C:\\windows\\system32\\winhlp32.exe",
        "C:\\windows\\system32\\write.exe",     "C:\\windows\\system32\\progman.exe",
        "C:\\windows\\system32\\cmd.exe",       "C:\\windows\\hh.exe",
        "C:\\windows\\system32\\msiexec.exe",   "C:\\windows\\system32\\wineconsole.exe",
        "C:\\Program Files\\Internet Explorer\\iexplore.exe",
        "C:\\Program Files\\Windows NT\\Accessories\\wordpad.exe",
    };
    std::vector<IconFileInfo> files;
    for (const char* path : candidates) {
        IconFileInfo info;
        info.path = path;
        info.expanded = path;
        if (GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES) {
            info.iconCount = -1; // missing
        } else {
            const HICON count = ExtractIconA(GetModuleHandleA(nullptr), path, static_cast<UINT>(-1));
            info.iconCount = static_cast<int>(reinterpret_cast<UINT_PTR>(count));
        }
        files.push_back(info);
    }
    return files;
}

std::string SeedKeyPath(size_t extensionCount)
{
    return "Software\\morvido-bench\\" + std::to_string(extensionCount);
}

std::string UserClassesKeyPath(size_t extensionCount) { return SeedKeyPath(extensionCount) + "-user"; }
std::string UserChoicesKeyPath(size_t extensionCount) { return SeedKeyPath(extensionCount) + "-fileexts"; }

SeedSummary SeedMachineClasses(HKEY root, size_t extensionCount, const std::vector<IconFileInfo>& allFiles)
{
    const std::vector<IconFileInfo> files = IconFilesOf(allFiles);
    Seeder seeder;
    Random random(0x6D6F7276ull + extensionCount);
    SeedSummary summary;
    std::set<std::pair<std::string, int>> icons;

    const size_t creatorCount = extensionCount / 2;
    for (size_t index = 0; index < creatorCount; ++index)
        SeedCreator(seeder, random, root, index, files, summary, icons);
    summary.creators = creatorCount;
    summary.distinctIcons = icons.size();

    size_t named = 0;
    for (size_t index = 0; index < extensionCount; ++index) {
        std::string name = "." + Letters(index);
        if (random.Percent() < 3)
            for (char& c : name)
                c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
        ScopedHKey key = seeder.Key(root, name);
        const int kind = random.Percent();
        if (kind < 85) {
            // Every creator is named at least once, then at random.
            size_t creator = named < creatorCount ? named : static_cast<size_t>(random.Next() % creatorCount);
            // One file type that many extensions share, as text files do on
            // real machines: editing it rewrites many rows.
            if (named >= creatorCount && index % 50 == 0)
                creator = 0;
            ++named;
            seeder.Text(key.Get(), "", CreatorName(creator));
        } else if (kind < 90) {
            seeder.Text(key.Get(), "", Format("Missing.Type.%lld", static_cast<long long>(index)));
        } else if (kind < 95) {
            seeder.Text(key.Get(), "", "");
        }
        if (random.Percent() < 40)
            seeder.Text(key.Get(), "Content Type",
                        (random.Below(2) ? "application/x-" : "text/x-") + Letters(index));
        if (random.Percent() < 20)
            seeder.Text(key.Get(), "PerceivedType", random.Below(2) ? "text" : "image");
        if (random.Percent() < 20) {
            ScopedHKey progids = seeder.Key(key.Get(), "OpenWithProgids");
            seeder.Empty(progids.Get(), CreatorName(static_cast<size_t>(random.Next() % creatorCount)).c_str());
        }
        if (random.Percent() < 5) {
            ScopedHKey shellNew = seeder.Key(key.Get(), "ShellNew");
            seeder.Text(shellNew.Get(), "NullFile", "");
        }
    }
    summary.extensions = extensionCount;

    // Keys that are neither: class ids and the ProgIDs of components.
    const size_t otherCount = extensionCount * 3;
    for (size_t index = 0; index < otherCount; ++index) {
        if (index % 3 == 0) {
            ScopedHKey key = seeder.Key(root, Guid(random));
            ScopedHKey server = seeder.Key(key.Get(), "InprocServer32");
            seeder.Text(server.Get(), "", Format("C:\\windows\\system32\\component%lld.dll",
                                                 static_cast<long long>(index % 997)));
            seeder.Text(server.Get(), "ThreadingModel", "Apartment");
        } else {
            const std::string name = Format("Vendor%lld.Component%lld.%lld", static_cast<long long>(index % 97),
                                            static_cast<long long>(index), static_cast<long long>(index % 3 + 1));
            ScopedHKey key = seeder.Key(root, name);
            seeder.Text(key.Get(), "", "Vendor Component");
            seeder.DefaultOf(key.Get(), {"CLSID"}, Guid(random));
            if (random.Percent() < 30)
                seeder.DefaultOf(key.Get(), {"CurVer"}, name);
        }
    }
    summary.others = otherCount;
    summary.keys = seeder.keys;
    return summary;
}

UserSeedSummary SeedUserClasses(HKEY classes, HKEY choices, size_t extensionCount,
                                const std::vector<IconFileInfo>& allFiles)
{
    const std::vector<IconFileInfo> files = IconFilesOf(allFiles);
    Seeder seeder;
    Random random(0x75736572ull + extensionCount);
    UserSeedSummary summary;
    const size_t creatorCount = extensionCount / 2;
    const auto index64 = [](size_t index) { return static_cast<long long>(index); };

    // Programs installed for this user alone: a type of their own and an
    // extension that names it.
    const size_t ownCount = std::max<size_t>(1, extensionCount / 200);
    ScopedHKey applications = seeder.Key(classes, "Applications");
    for (size_t index = 0; index < ownCount; ++index) {
        const std::string creator = Format("UserApp%lld.Document", index64(index));
        ScopedHKey type = seeder.Key(classes, creator);
        seeder.Text(type.Get(), "", Format("User App %lld Document", index64(index)));
        if (const auto [icon, iconType] = IconSourceFor(random, files, index); !icon.empty())
            seeder.DefaultOf(type.Get(), {"DefaultIcon"}, icon, iconType);
        seeder.DefaultOf(type.Get(), {"shell", "open", "command"},
                         Format("\"C:\\users\\bench\\AppData\\Local\\Programs\\App%lld\\app.exe\" \"%%1\"",
                                index64(index)));
        ScopedHKey extension = seeder.Key(classes, ".user" + Letters(index));
        seeder.Text(extension.Get(), "", creator);
        if (random.Percent() < 50)
            seeder.Text(extension.Get(), "Content Type", "application/x-user-" + Letters(index));
        seeder.DefaultOf(applications.Get(), {Format("app%lld.exe", index64(index)), "shell", "open", "command"},
                         Format("\"C:\\users\\bench\\App%lld\\app.exe\" \"%%1\"", index64(index)));
        summary.extensions += 1;
    }

    // One machine extension in a hundred that the user has pointed
    // elsewhere, and one machine type in a hundred whose command the user
    // has changed: both layers hold these.
    for (size_t index = 3; index < extensionCount; index += 100) {
        ScopedHKey extension = seeder.Key(classes, "." + Letters(index));
        seeder.Text(extension.Get(), "",
                    random.Below(2) ? Format("UserApp%lld.Document", index64(index % ownCount))
                                    : CreatorName(static_cast<size_t>(random.Next() % creatorCount)));
        summary.extensions += 1;
        summary.overrides += 1;
    }
    for (size_t index = 5; index < creatorCount; index += 100) {
        ScopedHKey type = seeder.Key(classes, CreatorName(index));
        seeder.Text(type.Get(), "", "User's own document type");
        seeder.DefaultOf(type.Get(), {"shell", "open", "command"},
                         Format("\"C:\\users\\bench\\Editor\\editor.exe\" \"%%1\" /user%lld", index64(index)));
        summary.overrides += 1;
    }

    // Components registered for the user, neither extension nor type.
    for (size_t index = 0; index < extensionCount / 100; ++index) {
        ScopedHKey key = seeder.Key(classes, Format("UserVendor.Component%lld.1", index64(index)));
        seeder.Text(key.Get(), "", "User Component");
        seeder.DefaultOf(key.Get(), {"CLSID"}, Guid(random));
    }
    seeder.Key(classes, "Local Settings");

    // The shell's record: what the user opened one extension in ten with,
    // and for half of those a choice, for a quarter also the newer one.
    for (size_t index = 1; index < extensionCount; index += 10) {
        ScopedHKey record = seeder.Key(choices, "." + Letters(index));
        ScopedHKey openWith = seeder.Key(record.Get(), "OpenWithList");
        seeder.Text(openWith.Get(), "a", Format("app%lld.exe", index64(index % 37)));
        seeder.Text(openWith.Get(), "MRUList", "a");
        ScopedHKey progIds = seeder.Key(record.Get(), "OpenWithProgids");
        seeder.Empty(progIds.Get(), CreatorName(static_cast<size_t>(random.Next() % creatorCount)).c_str());
        summary.records += 1;
        if (index % 20 != 1)
            continue;
        const std::string progId = random.Below(2) ? Format("Applications\\app%lld.exe", index64(index % 37))
                                                   : CreatorName(static_cast<size_t>(random.Next() % creatorCount));
        for (const char* name : {"UserChoice", "UserChoiceLatest"}) {
            ScopedHKey choice = seeder.Key(record.Get(), name);
            seeder.Text(choice.Get(), "ProgId", progId);
            seeder.Text(choice.Get(), "Hash", "bench+hash=");
            if (index % 40 != 1)
                break;
        }
        summary.choices += 1;
    }

    DWORD subKeys = 0;
    if (RegQueryInfoKeyA(classes, nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, nullptr, nullptr, nullptr,
                         nullptr, nullptr) == ERROR_SUCCESS)
        summary.keys = subKeys;
    return summary;
}
