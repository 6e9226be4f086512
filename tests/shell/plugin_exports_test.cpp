// The sixteen callbacks of the real DLL, called the way the host calls them.

#include "support/hosted_plugin.h"

#include "shell/plugin_info.h"

#include <cstring>
#include <vector>

namespace {

using PluginExportsTest = HostedPluginTest;

TEST_F(PluginExportsTest, PlugInInfoWritesTheFourTextsAndNothingElse)
{
    std::vector<unsigned char> record(400, 0xCC);
    ASSERT_EQ(plugin().BKC_OnPlugInInfo(reinterpret_cast<PlugInInfoRecord*>(record.data())), 0);

    struct Field
    {
        size_t offset;
        std::string text;
    };
    const Field fields[] = {
        {0, Ansi(L"Becky!ブレンロウプラグイン")},
        {80, "Velquist"},
        {160, "1.5"},
        {240, Ansi(L"添付ファイルを社外へ送信する際に上司が宛先に入っているか確認するプラグインです。")},
    };
    std::vector<bool> written(record.size(), false);
    for (const Field& field : fields) {
        EXPECT_EQ(std::string(reinterpret_cast<char*>(&record[field.offset])), field.text);
        for (size_t i = 0; i <= field.text.size(); ++i)
            written[field.offset + i] = true;
    }
    EXPECT_EQ(fields[3].text.size(), 80u); // the description fills 81 bytes with its terminator
    for (size_t i = 0; i < record.size(); ++i) {
        if (!written[i]) {
            EXPECT_EQ(record[i], 0xCC) << "byte " << i << " was changed";
        }
    }
}

// A menu bar with five sub-menus of one item each, as the host's main menu has at least.
struct TestMenu
{
    TestMenu(int subMenus = 5)
    {
        for (int i = 0; i < subMenus; ++i) {
            HMENU sub = CreatePopupMenu();
            AppendMenuA(sub, MF_STRING, 100 + i, "item");
            AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), "menu");
        }
    }
    ~TestMenu() { DestroyMenu(bar); }

    struct Item
    {
        bool separator;
        UINT id;
        std::string text;
    };
    std::vector<Item> Items(int subMenu) const
    {
        std::vector<Item> items;
        HMENU sub = GetSubMenu(bar, subMenu);
        for (int i = 0; i < GetMenuItemCount(sub); ++i) {
            char text[256] = {};
            GetMenuStringA(sub, i, text, sizeof text, MF_BYPOSITION);
            bool separator = (GetMenuState(sub, i, MF_BYPOSITION) & MF_SEPARATOR) != 0;
            items.push_back({separator, separator ? 0 : GetMenuItemID(sub, i), text});
        }
        return items;
    }

    HMENU bar = CreateMenu();
};

TEST_F(PluginExportsTest, MenuInitOfTypeZeroRegistersTheCommandAndAppendsItsItem)
{
    TestMenu menu;
    EXPECT_EQ(plugin().BKC_OnMenuInit(nullptr, menu.bar, 0), 0);

    ASSERT_EQ(fakeHost().commands.size(), 1u);
    const FakeHost::Command& command = fakeHost().commands[0];
    EXPECT_EQ(command.text, Ansi(L"ボスを設定する"));
    EXPECT_EQ(command.type, 0);
    ASSERT_NE(command.callback, nullptr);
    ASSERT_NE(command.stateCallback, nullptr);
    EXPECT_EQ(command.stateCallback(nullptr, 0), 0u);

    auto items = menu.Items(4);
    ASSERT_EQ(items.size(), 3u);
    EXPECT_TRUE(items[1].separator);
    EXPECT_FALSE(items[2].separator);
    EXPECT_EQ(items[2].id, static_cast<UINT>(kFirstCommandId));
    EXPECT_EQ(items[2].text, Ansi(L"ボスを設定する(&B)..."));
    for (int other = 0; other < 4; ++other)
        EXPECT_EQ(menu.Items(other).size(), 1u);
}

TEST_F(PluginExportsTest, MenuInitAgainRegistersAndAppendsAgain)
{
    TestMenu menu;
    plugin().BKC_OnMenuInit(nullptr, menu.bar, 0);
    plugin().BKC_OnMenuInit(nullptr, menu.bar, 0);

    ASSERT_EQ(fakeHost().commands.size(), 2u);
    auto items = menu.Items(4);
    ASSERT_EQ(items.size(), 5u);
    EXPECT_TRUE(items[1].separator);
    EXPECT_EQ(items[2].id, static_cast<UINT>(kFirstCommandId));
    EXPECT_TRUE(items[3].separator);
    EXPECT_EQ(items[4].id, static_cast<UINT>(kFirstCommandId + 1));
}

TEST_F(PluginExportsTest, MenuInitOfAnyOtherTypeDoesNothing)
{
    for (int type : {1, 2, 3, -1}) {
        TestMenu menu;
        EXPECT_EQ(plugin().BKC_OnMenuInit(nullptr, menu.bar, type), 0);
        EXPECT_EQ(menu.Items(4).size(), 1u) << "type " << type;
    }
    EXPECT_TRUE(fakeHost().commands.empty());
}

TEST_F(PluginExportsTest, MenuInitWithoutAFifthSubMenuLeavesTheMenuAlone)
{
    TestMenu menu(3);
    EXPECT_EQ(plugin().BKC_OnMenuInit(nullptr, menu.bar, 0), 0);
    EXPECT_EQ(GetMenuItemCount(menu.bar), 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(menu.Items(i).size(), 1u);
    EXPECT_EQ(plugin().BKC_OnMenuInit(nullptr, nullptr, 0), 0);
}

TEST_F(PluginExportsTest, IdleCallbacksAnswerZeroWhateverTheirArguments)
{
    auto& p = plugin();
    for (LPARAM junk : {LPARAM(0), LPARAM(-1), LPARAM(0x12345678)}) {
        EXPECT_EQ(p.BKC_OnStart(), 0);
        EXPECT_EQ(p.BKC_OnExit(), 0);
        EXPECT_EQ(p.BKC_OnOpenFolder(junk), 0);
        EXPECT_EQ(p.BKC_OnOpenMail(junk), 0);
        EXPECT_EQ(p.BKC_OnEveryMinute(), 0);
        EXPECT_EQ(p.BKC_OnOpenCompose(junk, junk), 0);
        EXPECT_EQ(p.BKC_OnKeyDispatch(junk, junk, junk), 0);
        EXPECT_EQ(p.BKC_OnRetrieve(junk, junk), 0);
        EXPECT_EQ(p.BKC_OnSend(junk), 0);
        EXPECT_EQ(p.BKC_OnFinishRetrieve(junk), 0);
        EXPECT_EQ(p.BKC_OnDragDrop(junk, junk, junk, junk), 0);
        EXPECT_EQ(p.BKC_OnBeforeFilter2(junk, junk, junk, junk), 0);
    }
    EXPECT_TRUE(fakeHost().commands.empty());
    EXPECT_TRUE(fakeHost().headerReads.empty());
}

// A thread procedure is __stdcall on 32-bit x86, which a lambda cannot be.
DWORD WINAPI DoNothing(LPVOID)
{
    return 0;
}

TEST_F(PluginExportsTest, ThreadNotificationsMakeNoHostCall)
{
    // A thread started and ended in the process reaches DllMain with both notifications.
    int versionReads = fakeHost().versionReads;
    HANDLE thread = CreateThread(nullptr, 0, DoNothing, nullptr, 0, nullptr);
    ASSERT_NE(thread, nullptr);
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    EXPECT_EQ(fakeHost().versionReads, versionReads);
    EXPECT_TRUE(fakeHost().commands.empty());
}

} // namespace
