#include "check/recipient_tests.h"

#include "address/address_list.h"
#include "shell/ansi_text.h"

#include <shlwapi.h>

#include <string>

int IsAddressListed(const char* header, const char* bossAddress)
{
    if (!header || !*header)
        return 0;
    AddressList list(header);
    LONG count = 0;
    HRESULT result = list.GetCount(&count);
    if (count == 0)
        return 0;

    std::wstring boss = Widen(bossAddress);
    for (LONG i = 0; i < count && SUCCEEDED(result); ++i) {
        const wchar_t* address = nullptr;
        result = list.GetItem(i, &address);
        if (SUCCEEDED(result) && StrCmpIW(address, boss.c_str()) == 0)
            return 1;
    }
    return 0;
}

// An empty company domain lies in no address, so every recipient counts as outside and the guard
// stays on; only a stored value set outside the dialog can be empty while the check is on.
int AreAllWithinDomain(const char* header, const char* companyDomain)
{
    if (!header)
        return 1;
    AddressList list(header);
    LONG count = 0;
    HRESULT result = list.GetCount(&count);
    if (count == 0)
        return 1;

    std::wstring domain = Widen(companyDomain);
    for (LONG i = 0; i < count && SUCCEEDED(result); ++i) {
        const wchar_t* address = nullptr;
        result = list.GetItem(i, &address);
        if (FAILED(result))
            break;
        const wchar_t* at = StrChrW(address, L'@');
        if (!at)
            break;
        if (domain.empty() || !StrStrIW(at + 1, domain.c_str()))
            return 0;
    }
    return 1;
}
