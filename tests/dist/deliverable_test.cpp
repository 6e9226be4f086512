// Static checks of the 32-bit module users install: its headers, exports and imports read from
// the file, its resources read back with the system's own resource and version services.

#include <windows.h>

#include <gtest/gtest.h>

#include "shell/unique_handle.h"
#include "support/source_files.h"

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

std::string DeliverablePath()
{
    return SourceFile("dist/Quillmere.dll");
}

// The module's file, with its sections mapped for reading by relative address.
class PeFile
{
public:
    explicit PeFile(const std::string& path)
    {
        std::ifstream file(path, std::ios::binary);
        bytes_.assign(std::istreambuf_iterator<char>(file), {});
    }

    bool valid() const
    {
        return bytes_.size() > sizeof(IMAGE_DOS_HEADER) && dos().e_magic == IMAGE_DOS_SIGNATURE &&
               nt().Signature == IMAGE_NT_SIGNATURE;
    }
    const IMAGE_DOS_HEADER& dos() const { return *reinterpret_cast<const IMAGE_DOS_HEADER*>(bytes_.data()); }
    const IMAGE_NT_HEADERS32& nt() const
    {
        return *reinterpret_cast<const IMAGE_NT_HEADERS32*>(bytes_.data() + dos().e_lfanew);
    }

    template <typename T> const T* At(DWORD rva) const
    {
        const IMAGE_SECTION_HEADER* section = IMAGE_FIRST_SECTION(&nt());
        for (WORD i = 0; i < nt().FileHeader.NumberOfSections; ++i, ++section)
            if (rva >= section->VirtualAddress && rva < section->VirtualAddress + section->SizeOfRawData)
                return reinterpret_cast<const T*>(bytes_.data() + section->PointerToRawData +
                                                  (rva - section->VirtualAddress));
        return nullptr;
    }
    std::string Text(DWORD rva) const { return At<char>(rva); }
    const IMAGE_DATA_DIRECTORY& Directory(int index) const { return nt().OptionalHeader.DataDirectory[index]; }

private:
    std::vector<char> bytes_;
};

class DeliverableTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(file.valid()) << "cannot read " << DeliverablePath(); }
    PeFile file{DeliverablePath()};
};

TEST_F(DeliverableTest, IsA32BitDll)
{
    EXPECT_EQ(file.nt().FileHeader.Machine, IMAGE_FILE_MACHINE_I386);
    EXPECT_TRUE(file.nt().FileHeader.Characteristics & IMAGE_FILE_DLL);
    EXPECT_EQ(file.nt().OptionalHeader.Magic, IMAGE_NT_OPTIONAL_HDR32_MAGIC);
}

TEST_F(DeliverableTest, ExportsTheSixteenCallbacksByNameAndOrdinal)
{
    const auto* exports = file.At<IMAGE_EXPORT_DIRECTORY>(file.Directory(IMAGE_DIRECTORY_ENTRY_EXPORT).VirtualAddress);
    ASSERT_NE(exports, nullptr);
    EXPECT_EQ(file.Text(exports->Name), "Quillmere.dll");
    EXPECT_EQ(exports->NumberOfFunctions, 16u);

    std::map<std::string, DWORD> ordinals;
    const auto* names = file.At<DWORD>(exports->AddressOfNames);
    const auto* indexes = file.At<WORD>(exports->AddressOfNameOrdinals);
    for (DWORD i = 0; i < exports->NumberOfNames; ++i)
        ordinals[file.Text(names[i])] = exports->Base + indexes[i];

    const std::map<std::string, DWORD> expected = {
        {"BKC_OnStart", 1},        {"BKC_OnExit", 2},        {"BKC_OnMenuInit", 3},    {"BKC_OnOpenFolder", 4},
        {"BKC_OnOpenMail", 5},     {"BKC_OnEveryMinute", 6}, {"BKC_OnOpenCompose", 7}, {"BKC_OnOutgoing", 8},
        {"BKC_OnKeyDispatch", 9},  {"BKC_OnRetrieve", 10},   {"BKC_OnSend", 11},       {"BKC_OnFinishRetrieve", 12},
        {"BKC_OnPlugInSetup", 13}, {"BKC_OnPlugInInfo", 14}, {"BKC_OnDragDrop", 15},   {"BKC_OnBeforeFilter2", 16},
    };
    EXPECT_EQ(ordinals, expected);
}

TEST_F(DeliverableTest, ImportsOnlyWindowsSystemDlls)
{
    const std::set<std::string> system = {"kernel32.dll", "user32.dll", "advapi32.dll", "shlwapi.dll", "msvcrt.dll"};
    std::set<std::string> imported;
    const auto* entry = file.At<IMAGE_IMPORT_DESCRIPTOR>(file.Directory(IMAGE_DIRECTORY_ENTRY_IMPORT).VirtualAddress);
    ASSERT_NE(entry, nullptr);
    for (; entry->Name; ++entry) {
        std::string name = file.Text(entry->Name);
        for (char& c : name)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        imported.insert(name);
    }
    for (const std::string& name : imported)
        EXPECT_TRUE(system.count(name)) << name << " is not a Windows system DLL";
    EXPECT_TRUE(imported.count("kernel32.dll"));
}

// The module opened as a data file: its resources, without running any of its code.
class DeliverableResources : public DeliverableTest
{
protected:
    void SetUp() override
    {
        DeliverableTest::SetUp();
        ASSERT_TRUE(module) << "cannot open " << DeliverablePath() << " as data, error " << GetLastError();
    }

    std::string Resource(LPCSTR type, WORD id, WORD language) const
    {
        HRSRC found = FindResourceExA(module.get(), type, MAKEINTRESOURCEA(id), language);
        if (!found)
            return {};
        auto* data = static_cast<const char*>(LockResource(LoadResource(module.get(), found)));
        return std::string(data, SizeofResource(module.get(), found));
    }

    UniqueModule module{LoadLibraryExA(DeliverablePath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE)};
};

constexpr WORD kJapanese = MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT);
constexpr WORD kEnglishUs = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);

TEST_F(DeliverableResources, VersionResourceReadsBackThroughTheVersionApi)
{
    EXPECT_FALSE(Resource(RT_VERSION, 1, kJapanese).empty()) << "version resource 1 in language 1041";

    std::string path = DeliverablePath();
    DWORD size = GetFileVersionInfoSizeA(path.c_str(), nullptr);
    ASSERT_GT(size, 0u);
    std::vector<char> info(size);
    ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, size, info.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010005u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0u);
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00010005u);
    EXPECT_EQ(fixed->dwProductVersionLS, 0u);
    EXPECT_EQ(fixed->dwFileFlagsMask, 0x17u);
    EXPECT_EQ(fixed->dwFileFlags, 0u);
    EXPECT_EQ(fixed->dwFileOS, 4u);
    EXPECT_EQ(fixed->dwFileType, 2u);
    EXPECT_EQ(fixed->dwFileSubtype, 0u);

    WORD* translation = nullptr;
    ASSERT_TRUE(
        VerQueryValueA(info.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation), &length));
    ASSERT_EQ(length, 4u);
    EXPECT_EQ(translation[0], 0x0411);
    EXPECT_EQ(translation[1], 1200);

    const std::pair<const wchar_t*, const wchar_t*> strings[] = {
        {L"CompanyName", L"Velquist"},           {L"FileDescription", L"Becky!ブレンロウプラグイン"},
        {L"FileVersion", L"1, 5, 0, 0"},         {L"InternalName", L"Quillmere"},
        {L"OriginalFilename", L"Quillmere.dll"}, {L"ProductName", L"Becky!ブレンロウプラグイン"},
        {L"ProductVersion", L"1, 5, 0, 0"},
    };
    std::wstring wpath(path.begin(), path.end());
    std::vector<char> wideInfo(GetFileVersionInfoSizeW(wpath.c_str(), nullptr));
    ASSERT_TRUE(GetFileVersionInfoW(wpath.c_str(), 0, static_cast<DWORD>(wideInfo.size()), wideInfo.data()));
    for (const auto& [name, value] : strings) {
        wchar_t* text = nullptr;
        std::wstring query = std::wstring(L"\\StringFileInfo\\041104b0\\") + name;
        ASSERT_TRUE(VerQueryValueW(wideInfo.data(), query.c_str(), reinterpret_cast<void**>(&text), &length))
            << "no string " << std::string(query.begin(), query.end());
        EXPECT_EQ(std::wstring(text), value);
    }
}

TEST_F(DeliverableResources, ManifestIsOneEmptyAssemblyInEnglish)
{
    EXPECT_EQ(Resource(MAKEINTRESOURCEA(24), 2, kEnglishUs),
              "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
              "<assembly xmlns=\"urn:schemas-microsoft-com:asm.v1\" manifestVersion=\"1.0\">\n"
              "</assembly>\n");
}

TEST_F(DeliverableResources, SettingsDialogTemplateIsJapanese)
{
    std::string dialog = Resource(RT_DIALOG, 102, kJapanese);
    ASSERT_GE(dialog.size(), 4u);
    EXPECT_EQ(dialog.substr(0, 4), std::string("\x01\x00\xFF\xFF", 4)); // extended template, version 1
}

} // namespace
