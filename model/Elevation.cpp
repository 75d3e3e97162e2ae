#include "model/Elevation.h"

#include <windows.h>

#include <vector>

#include "model/Scoped.h"
#include "model/TextConversion.h"

namespace {
std::optional<bool> overridden;
}

bool ProcessIsElevated()
{
    if (overridden)
        return *overridden;
    ScopedKernelHandle token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.Put())) {
        token.Release();
        // Unknown counts as not elevated: a write is then refused up front
        // rather than half done.
        return false;
    }
    TOKEN_ELEVATION elevation{};
    DWORD size = 0;
    return GetTokenInformation(token.Get(), TokenElevation, &elevation, sizeof elevation, &size) &&
           elevation.TokenIsElevated != 0;
}

void OverrideProcessElevation(std::optional<bool> answer) { overridden = answer; }

std::string ProcessAccountName()
{
    // A token's account never changes, and a domain's may take a round trip
    // to its controller: looked up once.
    static const std::string name = [] {
        ScopedKernelHandle token;
        if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.Put())) {
            token.Release();
            return std::string();
        }
        DWORD size = 0;
        GetTokenInformation(token.Get(), TokenUser, nullptr, 0, &size);
        std::vector<BYTE> user(size);
        if (size == 0 || !GetTokenInformation(token.Get(), TokenUser, user.data(), size, &size))
            return std::string();
        const PSID sid = reinterpret_cast<const TOKEN_USER*>(user.data())->User.Sid;
        wchar_t account[512], domain[512];
        DWORD accountLength = 512, domainLength = 512;
        SID_NAME_USE use{};
        if (!LookupAccountSidW(nullptr, sid, account, &accountLength, domain, &domainLength, &use))
            return std::string();
        return NarrowText(domainLength ? std::wstring(domain) + L"\\" + account : std::wstring(account));
    }();
    return name;
}
