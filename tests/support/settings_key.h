#pragma once
// The host's settings key in the test prefix's registry, as tests set it up and read it back.

#include <windows.h>

#include <gtest/gtest.h>

#include "shell/unique_handle.h"

#include <cstring>
#include <optional>
#include <ostream>
#include <string>

constexpr char kSettingsKeyPath[] = "Software\\RimArts\\B2\\Settings";

// The four values as the registry holds them; a value or the whole key may be missing.
struct Stored
{
    bool key = true;
    std::optional<DWORD> enabled;
    std::optional<std::string> companyDomain;
    std::optional<std::string> bossAddress;
    std::optional<DWORD> showAlert;

    bool operator==(const Stored& other) const
    {
        return key == other.key && enabled == other.enabled && companyDomain == other.companyDomain &&
               bossAddress == other.bossAddress && showAlert == other.showAlert;
    }
};

inline Stored Values(DWORD enabled, std::string companyDomain, std::string bossAddress, DWORD showAlert)
{
    return {true, enabled, std::move(companyDomain), std::move(bossAddress), showAlert};
}
inline const Stored kNoValues = {};
inline const Stored kNoKey = {false, {}, {}, {}, {}};

inline std::ostream& operator<<(std::ostream& out, const Stored& stored)
{
    if (!stored.key)
        return out << "{no key}";
    auto print = [&](const char* name, const auto& value) {
        out << ' ' << name << '=';
        if (value)
            out << '"' << *value << '"';
        else
            out << "(missing)";
    };
    out << '{';
    print("BrenlowOnOff", stored.enabled);
    print("BrenlowCompanyDomain", stored.companyDomain);
    print("BrenlowAddress", stored.bossAddress);
    print("BrenlowShowAlert", stored.showAlert);
    return out << " }";
}

// Numbers must be 4-byte DWORDs and texts REG_SZ; texts compare as text, whatever terminator the
// registry keeps after the stored bytes.
inline Stored ReadStored()
{
    UniqueHkey key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKeyPath, 0, KEY_READ, key.put()) != ERROR_SUCCESS)
        return kNoKey;
    auto read = [&](const char* name, DWORD expectedType) -> std::optional<std::string> {
        DWORD type = 0, size = 0;
        if (RegQueryValueExA(key.get(), name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
            return std::nullopt;
        std::string bytes(size, '\0');
        RegQueryValueExA(key.get(), name, nullptr, &type, reinterpret_cast<BYTE*>(bytes.data()), &size);
        EXPECT_EQ(type, expectedType) << name;
        return bytes;
    };
    Stored stored;
    for (auto [name, field] : {std::pair{"BrenlowOnOff", &stored.enabled}, {"BrenlowShowAlert", &stored.showAlert}})
        if (auto bytes = read(name, REG_DWORD)) {
            EXPECT_EQ(bytes->size(), 4u) << name;
            DWORD value = 0;
            std::memcpy(&value, bytes->data(), std::min<size_t>(bytes->size(), 4));
            *field = value;
        }
    for (auto [name, field] :
         {std::pair{"BrenlowCompanyDomain", &stored.companyDomain}, {"BrenlowAddress", &stored.bossAddress}})
        if (auto bytes = read(name, REG_SZ))
            *field = bytes->substr(0, bytes->find('\0'));
    return stored;
}

// Replaces whatever the vendor's key holds with the given values, written as the plug-in writes
// them: texts without their terminator.
inline void WriteStored(const Stored& stored)
{
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\RimArts");
    if (!stored.key)
        return;
    UniqueHkey key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kSettingsKeyPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.put(),
                              nullptr),
              ERROR_SUCCESS);
    auto number = [&](const char* name, const std::optional<DWORD>& value) {
        if (value)
            RegSetValueExA(key.get(), name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&*value), sizeof *value);
    };
    auto text = [&](const char* name, const std::optional<std::string>& value) {
        if (value)
            RegSetValueExA(key.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value->c_str()),
                           static_cast<DWORD>(value->size()));
    };
    number("BrenlowOnOff", stored.enabled);
    text("BrenlowCompanyDomain", stored.companyDomain);
    text("BrenlowAddress", stored.bossAddress);
    number("BrenlowShowAlert", stored.showAlert);
}

// Removes the vendor's key, and with it the settings, when a test ends.
class SettingsKeyRemover
{
public:
    SettingsKeyRemover() = default;
    ~SettingsKeyRemover() { RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\RimArts"); }
    SettingsKeyRemover(const SettingsKeyRemover&) = delete;
    SettingsKeyRemover& operator=(const SettingsKeyRemover&) = delete;
};
