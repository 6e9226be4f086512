#include "reference_check.h"

#include "address/address_scanner.h"
#include "address/regexp_component.h"
#include "settings/settings_store.h"
#include "shell/ansi_text.h"
#include "shell/host_api.h"

#include <shlwapi.h>

#include <string>
#include <vector>

namespace {

std::vector<RegExpMatch> Addresses(const char* header)
{
    std::vector<RegExpMatch> matches;
    ExecuteRegExp(Widen(AddressPattern), Widen(header), matches);
    return matches;
}

int IsListed(const char* header, const char* boss)
{
    if (!*header)
        return 0;
    for (const RegExpMatch& match : Addresses(header))
        if (StrCmpIW(Widen(boss).c_str(), match.value.c_str()) == 0)
            return 1;
    return 0;
}

int AllWithin(const char* header, const char* domain)
{
    for (const RegExpMatch& match : Addresses(header)) {
        const wchar_t* at = StrChrW(match.value.c_str(), L'@');
        if (!at)
            break;
        if (!StrStrIW(at + 1, Widen(domain).c_str()))
            return 0;
    }
    return 1;
}

} // namespace

int ReferenceCheckOutgoingMail(int mode, HWND window)
{
    char contentType[1024] = {}, to[1024] = {}, cc[1024] = {}, bcc[1024] = {};
    if (mode == 1 || mode == 2)
        return 1;
    PluginSettings settings;
    if (FAILED(LoadSettings(&settings)) || !settings.enabled)
        return 1;
    hostApi.BKA_CompGetSpecifiedHeader(window, "Content-Type", contentType, sizeof contentType);
    hostApi.BKA_CompGetSpecifiedHeader(window, "To", to, sizeof to);
    hostApi.BKA_CompGetSpecifiedHeader(window, "Cc", cc, sizeof cc);
    hostApi.BKA_CompGetSpecifiedHeader(window, "Bcc", bcc, sizeof bcc);
    if (!StrStrIA(contentType, "multipart/mixed"))
        return 1;
    if (IsListed(to, settings.bossAddress) || IsListed(cc, settings.bossAddress) || IsListed(bcc, settings.bossAddress))
        return 1;
    if (AllWithin(to, settings.companyDomain) && AllWithin(cc, settings.companyDomain) &&
        AllWithin(bcc, settings.companyDomain))
        return 1;
    if (settings.showAlert == 1 && MessageBoxA(window, "warning", "caption", MB_OKCANCEL) == IDCANCEL)
        return -1;
    std::wstring newCc = *cc ? Widen(cc) + L", " : L"";
    newCc += Widen(settings.bossAddress);
    hostApi.BKA_CompSetSpecifiedHeader(window, "Cc", Narrow(newCc).c_str());
    return 1;
}
