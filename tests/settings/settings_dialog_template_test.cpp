// The settings dialog's template read back from the built module with the system's resource
// functions, field by field.

#include "support/hosted_plugin.h"

#include "res/resource.h"

#include <cstdlib>
#include <cstring>
#include <optional>

namespace {

constexpr WORD kJapanese = MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT);

// A class or menu in a template: a predefined atom or a name.
struct NameOrOrdinal
{
    WORD ordinal = 0; // 0 for a name, or for nothing when the name is empty
    std::wstring name;
    bool operator==(const NameOrOrdinal& other) const { return ordinal == other.ordinal && name == other.name; }
};

std::ostream& operator<<(std::ostream& out, const NameOrOrdinal& value)
{
    if (value.ordinal)
        return out << "ordinal 0x" << std::hex << value.ordinal << std::dec;
    return out << '"' << Ansi(value.name) << '"';
}

struct TemplateControl
{
    DWORD helpId = 0, exStyle = 0, style = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    DWORD id = 0;
    NameOrOrdinal windowClass;
    NameOrOrdinal text;
    WORD extraBytes = 0;
};

struct DialogTemplate
{
    WORD version = 0, signature = 0;
    DWORD helpId = 0, exStyle = 0, style = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    NameOrOrdinal menu, windowClass;
    std::wstring caption;
    WORD pointSize = 0, weight = 0;
    BYTE italic = 0, charset = 0;
    std::wstring typeface;
    std::vector<TemplateControl> controls;
    size_t unread = 0; // bytes after the last control
};

// Reads the extended template format: a fixed head, then texts and atoms of UTF-16 units, each
// control starting on a 4-byte boundary.
class TemplateReader
{
public:
    explicit TemplateReader(const std::string& bytes) : bytes_(bytes) {}

    std::optional<DialogTemplate> Read()
    {
        DialogTemplate dialog;
        WORD count = 0;
        if (!(Get(dialog.version) && Get(dialog.signature) && Get(dialog.helpId) && Get(dialog.exStyle) &&
              Get(dialog.style) && Get(count) && Get(dialog.x) && Get(dialog.y) && Get(dialog.cx) && Get(dialog.cy) &&
              GetNameOrOrdinal(dialog.menu) && GetNameOrOrdinal(dialog.windowClass) && GetText(dialog.caption)))
            return std::nullopt;
        if ((dialog.style & (DS_SETFONT | DS_SHELLFONT)) &&
            !(Get(dialog.pointSize) && Get(dialog.weight) && Get(dialog.italic) && Get(dialog.charset) &&
              GetText(dialog.typeface)))
            return std::nullopt;
        for (WORD i = 0; i < count; ++i) {
            TemplateControl control;
            offset_ = (offset_ + 3) & ~size_t(3);
            if (!(Get(control.helpId) && Get(control.exStyle) && Get(control.style) && Get(control.x) &&
                  Get(control.y) && Get(control.cx) && Get(control.cy) && Get(control.id) &&
                  GetNameOrOrdinal(control.windowClass) && GetNameOrOrdinal(control.text) && Get(control.extraBytes)))
                return std::nullopt;
            offset_ += control.extraBytes;
            dialog.controls.push_back(control);
        }
        dialog.unread = offset_ < bytes_.size() ? bytes_.size() - offset_ : 0;
        return dialog;
    }

private:
    template <typename T> bool Get(T& value)
    {
        if (offset_ + sizeof value > bytes_.size())
            return false;
        std::memcpy(&value, bytes_.data() + offset_, sizeof value);
        offset_ += sizeof value;
        return true;
    }

    bool GetText(std::wstring& text)
    {
        for (wchar_t unit = 0; Get(unit) && unit;)
            text += unit;
        return offset_ <= bytes_.size();
    }

    bool GetNameOrOrdinal(NameOrOrdinal& value)
    {
        WORD first = 0;
        if (!Get(first))
            return false;
        if (first == 0xFFFF)
            return Get(value.ordinal);
        if (first == 0)
            return true;
        value.name = static_cast<wchar_t>(first);
        return GetText(value.name);
    }

    const std::string& bytes_;
    size_t offset_ = 0;
};

// A callback of the resource services is __stdcall on 32-bit x86, which a lambda cannot be.
BOOL CALLBACK CountLanguage(HMODULE, LPCSTR, LPCSTR, WORD, LONG_PTR count)
{
    ++*reinterpret_cast<int*>(count);
    return TRUE;
}

// The template's bytes in the module, or empty text; also counts the languages it exists in.
std::string DialogResource(const std::string& path, int* languages)
{
    UniqueModule module(LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    if (!module)
        return {};
    *languages = 0;
    EnumResourceLanguagesA(module.get(), RT_DIALOG, MAKEINTRESOURCEA(IDD_SETTINGS), CountLanguage,
                           reinterpret_cast<LONG_PTR>(languages));
    HRSRC found = FindResourceExA(module.get(), RT_DIALOG, MAKEINTRESOURCEA(IDD_SETTINGS), kJapanese);
    if (!found)
        return {};
    auto* data = static_cast<const char*>(LockResource(LoadResource(module.get(), found)));
    return std::string(data, SizeofResource(module.get(), found));
}

constexpr WORD kButton = 0x0080, kEdit = 0x0081, kStatic = 0x0082;

struct ExpectedControl
{
    int id;
    WORD windowClass;
    const wchar_t* text;
    DWORD style;
    short x, y, cx, cy;
};

// The twelve controls in their Tab order. Styles are written as numbers, so that the test does not
// share the resource script's flag names.
const ExpectedControl kControls[] = {
    {IDC_ENABLE, kButton, L"添付ファイルを社外へ送信する際に上司が宛先に入っているか確認する(&V)", 0x50014003, 7, 7,
     223, 10},
    {IDC_DETAIL_GROUP, kButton, L"詳細設定", 0x50000007, 7, 21, 223, 100},
    {IDC_DOMAIN_LABEL, kStatic, L"自社のドメイン(&D)", 0x50020000, 15, 37, 61, 8},
    {IDC_DOMAIN, kEdit, L"", 0x50810080, 86, 33, 135, 12},
    {IDC_DOMAIN_NOTE, kStatic, L"※このドメインを含まない宛先は、社外のアドレスと見なします", 0x50020000, 16, 50, 172,
     8},
    {IDC_BOSS_LABEL, kStatic, L"上司のメールアドレス(&B)", 0x50020000, 15, 71, 69, 8},
    {IDC_BOSS_ADDRESS, kEdit, L"", 0x50810080, 87, 68, 135, 12},
    {IDC_ACTION_LABEL, kStatic, L"上司が宛先に入っていなかったら:", 0x50020000, 15, 92, 104, 8},
    {IDC_SHOW_ALERT, kButton, L"送信前に警告する(&W)", 0x50000009, 111, 90, 87, 10},
    {IDC_AUTO_CC, kButton, L"自動的にCC:に入れて送信する(&A)", 0x50000009, 111, 103, 110, 10},
    {IDOK, kButton, L"OK", 0x50010001, 122, 127, 50, 14},
    {IDCANCEL, kButton, L"キャンセル", 0x50010000, 180, 127, 50, 14},
};

std::string BuiltModule()
{
    return DefaultPluginPath();
}

std::string Deliverable()
{
    const char* path = std::getenv("QUILLMERE_DELIVERABLE");
    return path ? path : "Quillmere.dll";
}

TEST(SettingsDialogTemplate, MatchesTheDesignFieldByField)
{
    int languages = 0;
    std::string bytes = DialogResource(BuiltModule(), &languages);
    ASSERT_FALSE(bytes.empty()) << "no dialog " << IDD_SETTINGS << " in language 0x0411 in " << BuiltModule();
    EXPECT_EQ(languages, 1) << "the template exists in Japanese alone";
    std::optional<DialogTemplate> dialog = TemplateReader(bytes).Read();
    ASSERT_TRUE(dialog) << "the template is cut short";

    EXPECT_EQ(dialog->version, 1);
    EXPECT_EQ(dialog->signature, 0xFFFF);
    EXPECT_EQ(dialog->helpId, 0u);
    EXPECT_EQ(dialog->exStyle, 0x00000100u);
    EXPECT_EQ(dialog->style, 0x80C808C0u);
    EXPECT_EQ(dialog->x, 0);
    EXPECT_EQ(dialog->y, 0);
    EXPECT_EQ(dialog->cx, 237);
    EXPECT_EQ(dialog->cy, 149);
    EXPECT_EQ(dialog->menu, NameOrOrdinal{});
    EXPECT_EQ(dialog->windowClass, NameOrOrdinal{});
    EXPECT_TRUE(dialog->caption == L"ボスの設定");
    EXPECT_EQ(dialog->pointSize, 9);
    EXPECT_EQ(dialog->weight, 400);
    EXPECT_EQ(dialog->italic, 0);
    EXPECT_EQ(dialog->charset, SHIFTJIS_CHARSET);
    EXPECT_TRUE(dialog->typeface == L"MS UI Gothic");

    ASSERT_EQ(dialog->controls.size(), std::size(kControls));
    for (size_t i = 0; i < std::size(kControls); ++i) {
        const ExpectedControl& expected = kControls[i];
        const TemplateControl& control = dialog->controls[i];
        SCOPED_TRACE("control " + std::to_string(i + 1) + ", id " + std::to_string(expected.id));
        EXPECT_EQ(control.id, static_cast<DWORD>(expected.id));
        EXPECT_EQ(control.windowClass, (NameOrOrdinal{expected.windowClass, {}}));
        EXPECT_EQ(control.text, (NameOrOrdinal{0, expected.text}));
        EXPECT_EQ(control.style, expected.style);
        EXPECT_EQ(control.exStyle, 0u);
        EXPECT_EQ(control.helpId, 0u);
        EXPECT_EQ(control.x, expected.x);
        EXPECT_EQ(control.y, expected.y);
        EXPECT_EQ(control.cx, expected.cx);
        EXPECT_EQ(control.cy, expected.cy);
        EXPECT_EQ(control.extraBytes, 0);
    }
    EXPECT_LT(dialog->unread, 4u) << "bytes after the last control";
}

// The shipped 32-bit module carries the very template the tests drive.
TEST(SettingsDialogTemplate, IsTheSameInTheDeliverable)
{
    int languages = 0;
    std::string built = DialogResource(BuiltModule(), &languages);
    std::string delivered = DialogResource(Deliverable(), &languages);
    ASSERT_FALSE(delivered.empty()) << "no dialog " << IDD_SETTINGS << " in language 0x0411 in " << Deliverable();
    EXPECT_TRUE(built == delivered);
}

} // namespace
