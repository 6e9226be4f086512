#include "settings/settings_validation.h"

#include "address/address_list.h"

#include <cstring>
#include <cwchar>

namespace {

constexpr char kNotOneAddress[] = "正しくメールアドレスを入力してください";
constexpr char kNotTheAddressAlone[] =
    "メールアドレスだけを入力してください\n名前や<>などメールアドレス以外の文字は入力しないでください";
constexpr char kNoCompanyDomain[] = "自社のドメインを入力してください";

void Reject(SettingsValidation& validation, const char* message)
{
    validation.valid = false;
    if (message)
        validation.messages.push_back(message);
}

// An address found by the pattern is made of single-byte characters only, so it is as long as the
// text exactly when nothing stands before or after it: no name, no brackets, no space.
void ValidateBossAddress(const char* bossAddress, SettingsValidation& validation)
{
    AddressList addresses(bossAddress);
    LONG count = 0;
    if (FAILED(addresses.GetCount(&count)) || count != 1) {
        Reject(validation, kNotOneAddress);
        return;
    }

    const wchar_t* address = nullptr;
    if (FAILED(addresses.GetItem(0, &address)))
        Reject(validation, nullptr); // an address that can't be read back isn't saved unverified
    else if (std::wcslen(address) != std::strlen(bossAddress))
        Reject(validation, kNotTheAddressAlone);
}

} // namespace

SettingsValidation ValidateSettings(const PluginSettings& settings)
{
    SettingsValidation validation;
    if (settings.enabled != 1)
        return validation;
    ValidateBossAddress(settings.bossAddress, validation);
    if (settings.companyDomain[0] == '\0')
        Reject(validation, kNoCompanyDomain);
    return validation;
}
