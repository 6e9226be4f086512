#pragma once
// The host's settings key in the test prefix's registry: made fresh for one test, removed after it.

#include <windows.h>

#include <gtest/gtest.h>

#include "shell/unique_handle.h"

#include <optional>
#include <string>

class SettingsKey
{
public:
    static constexpr char kPath[] = "Software\\RimArts\\B2\\Settings";

    SettingsKey()
    {
        RegDeleteTreeA(HKEY_CURRENT_USER, kPath);
        EXPECT_EQ(
            RegCreateKeyExA(HKEY_CURRENT_USER, kPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key_.put(), nullptr),
            ERROR_SUCCESS);
    }
    ~SettingsKey()
    {
        key_.reset();
        RegDeleteTreeA(HKEY_CURRENT_USER, kPath);
    }

    // The four settings, as the dialog would have saved them.
    void Store(DWORD enabled, const std::string& domain, const std::string& boss, DWORD showAlert)
    {
        SetNumber("BrenlowOnOff", enabled);
        SetText("BrenlowCompanyDomain", domain);
        SetText("BrenlowAddress", boss);
        SetNumber("BrenlowShowAlert", showAlert);
    }

    void SetNumber(const char* name, DWORD value) { SetRaw(name, REG_DWORD, &value, sizeof value); }
    void SetText(const char* name, const std::string& text) { SetRaw(name, REG_SZ, text.data(), text.size()); }
    void SetRaw(const char* name, DWORD type, const void* data, size_t size)
    {
        EXPECT_EQ(RegSetValueExA(key_.get(), name, 0, type, static_cast<const BYTE*>(data), static_cast<DWORD>(size)),
                  ERROR_SUCCESS);
    }

    std::optional<DWORD> Number(const char* name) const
    {
        DWORD value = 0, size = sizeof value, type = 0;
        if (RegQueryValueExA(key_.get(), name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) !=
                ERROR_SUCCESS ||
            type != REG_DWORD || size != sizeof value)
            return std::nullopt;
        return value;
    }

    // Text values come back with the terminator the registry keeps after the stored bytes.
    std::optional<std::string> Text(const char* name) const
    {
        char text[1024] = {};
        DWORD size = sizeof text - 1, type = 0;
        if (RegQueryValueExA(key_.get(), name, nullptr, &type, reinterpret_cast<BYTE*>(text), &size) != ERROR_SUCCESS ||
            type != REG_SZ)
            return std::nullopt;
        return std::string(text);
    }

private:
    UniqueHkey key_;
};
