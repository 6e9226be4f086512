#include "settings/settings_store.h"

#include "shell/ansi_text.h"
#include "shell/host_api.h"
#include "shell/unique_handle.h"

#include <cstring>
#include <string>

namespace {

constexpr char kSettingsKey[] = "Software\\RimArts\\B2\\Settings";
constexpr char kEnabledValue[] = "BrenlowOnOff";
constexpr char kCompanyDomainValue[] = "BrenlowCompanyDomain";
constexpr char kBossAddressValue[] = "BrenlowAddress";
constexpr char kShowAlertValue[] = "BrenlowShowAlert";

constexpr size_t kTextField = sizeof PluginSettings::companyDomain;

// The host's key, never created: without it there are no settings. Opened for writing also when
// only reading, because a load writes the defaults of missing values.
UniqueHkey OpenSettingsKey()
{
    UniqueHkey key;
    RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_READ | KEY_SET_VALUE, key.put());
    return key;
}

// A value is missing when it cannot be read or holds more bytes than its field. Its bytes land in
// the field whatever its type, and the rest of the field keeps the zeros it was cleared to.
bool ReadNumber(HKEY key, const char* name, int32_t& field)
{
    DWORD size = sizeof field;
    if (RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(&field), &size) == ERROR_SUCCESS)
        return true;
    field = 0;
    return false;
}

// A text of 256 bytes without a terminator fills the field with no room for one, so it counts
// as missing like every longer text.
bool ReadText(HKEY key, const char* name, char* field)
{
    DWORD size = kTextField;
    if (RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(field), &size) == ERROR_SUCCESS &&
        std::memchr(field, '\0', kTextField))
        return true;
    std::memset(field, 0, kTextField);
    return false;
}

bool WriteNumber(HKEY key, const char* name, int32_t value)
{
    return RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value) ==
           ERROR_SUCCESS;
}

// Stored without the terminator, as the host's other text values are.
bool WriteText(HKEY key, const char* name, const char* field)
{
    auto length = static_cast<DWORD>(strnlen(field, kTextField - 1));
    return RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(field), length) == ERROR_SUCCESS;
}

// The part after the first "@" of the current mailbox's own address, or empty text.
std::string DefaultCompanyDomain()
{
    LPCSTR mailBox = hostApi.BKA_GetCurrentMailBox();
    LPCSTR dataFolder = hostApi.BKA_GetDataFolder();
    std::string path = Narrow(Widen(dataFolder) + Widen(mailBox) + L"MailBox.ini");

    char address[256] = {};
    GetPrivateProfileStringA("Account", "MailAddress", "", address, sizeof address, path.c_str());
    const char* at = std::strchr(address, '@');
    return at ? at + 1 : "";
}

} // namespace

HRESULT CopyBounded(const char* source, char* field)
{
    for (size_t i = 0; i < kTextField; ++i) {
        field[i] = source[i];
        if (!source[i])
            return S_OK;
    }
    field[kTextField - 1] = '\0';
    return HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER);
}

HRESULT LoadSettings(PluginSettings* settings)
{
    if (!settings)
        return E_INVALIDARG;
    *settings = {};
    UniqueHkey key = OpenSettingsKey();
    if (!key)
        return E_FAIL;

    if (!ReadNumber(key.get(), kEnabledValue, settings->enabled) && !WriteNumber(key.get(), kEnabledValue, 0))
        return E_FAIL;

    if (!ReadText(key.get(), kCompanyDomainValue, settings->companyDomain)) {
        HRESULT copied = CopyBounded(DefaultCompanyDomain().c_str(), settings->companyDomain);
        if (FAILED(copied))
            return copied;
        if (!WriteText(key.get(), kCompanyDomainValue, settings->companyDomain))
            return E_FAIL;
    }

    if (!ReadText(key.get(), kBossAddressValue, settings->bossAddress) &&
        !WriteText(key.get(), kBossAddressValue, settings->bossAddress))
        return E_FAIL;

    if (!ReadNumber(key.get(), kShowAlertValue, settings->showAlert)) {
        settings->showAlert = 1;
        if (!WriteNumber(key.get(), kShowAlertValue, 1))
            return E_FAIL;
    }
    return S_OK;
}

HRESULT SaveSettings(PluginSettings settings)
{
    UniqueHkey key = OpenSettingsKey();
    if (!key)
        return E_FAIL;
    bool written = WriteNumber(key.get(), kEnabledValue, settings.enabled) &&
                   WriteText(key.get(), kCompanyDomainValue, settings.companyDomain) &&
                   WriteText(key.get(), kBossAddressValue, settings.bossAddress) &&
                   WriteNumber(key.get(), kShowAlertValue, settings.showAlert);
    return written ? S_OK : E_FAIL;
}
