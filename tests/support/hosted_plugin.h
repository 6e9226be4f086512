#pragma once
// The real plug-in DLL, loaded into the test's own process, which plays the host.

#include "fake_host.h"
#include "plugin_module.h"

#include <gtest/gtest.h>

#include <string>

// The plug-in, loaded on first use and kept for the rest of the process.
inline PluginModule& HostedPlugin()
{
    static PluginModule plugin(DefaultPluginPath());
    return plugin;
}

// Starts each test with a host in its initial state and the plug-in loaded.
class HostedPluginTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        fakeHost() = FakeHost();
        ASSERT_TRUE(plugin().loaded()) << "cannot load " << DefaultPluginPath() << ", error " << plugin().loadError();
    }

    PluginModule& plugin() { return HostedPlugin(); }
};

// Text in code page 932, from a wide literal, so that expectations do not depend on how the
// tests themselves were compiled.
inline std::string Ansi(const std::wstring& text)
{
    int length = WideCharToMultiByte(932, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string ansi(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(932, 0, text.data(), static_cast<int>(text.size()), ansi.data(), length, nullptr, nullptr);
    return ansi;
}
