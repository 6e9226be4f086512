#include "shell/plugin_info.h"

#include <cstring>

namespace {

constexpr char kName[] = "Becky!ブレンロウプラグイン";
constexpr char kVendor[] = "Velquist";
constexpr char kVersion[] = "1.5";
constexpr char kDescription[] = "添付ファイルを社外へ送信する際に上司が宛先に入っているか確認するプラグインです。";

static_assert(sizeof(kDescription) == 81, "the description fills 81 bytes in code page 932");

template <size_t FieldSize, size_t TextSize> void WriteText(char (&field)[FieldSize], const char (&text)[TextSize])
{
    static_assert(TextSize <= FieldSize, "the text and its terminator fit the field");
    std::memcpy(field, text, TextSize);
}

} // namespace

void FillPlugInInfo(PlugInInfoRecord* info)
{
    if (!info)
        return;
    WriteText(info->name, kName);
    WriteText(info->vendor, kVendor);
    WriteText(info->version, kVersion);
    WriteText(info->description, kDescription);
}
