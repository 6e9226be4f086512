#include "check/outgoing_check.h"

#include "check/recipient_tests.h"
#include "settings/settings_store.h"
#include "shell/ansi_text.h"
#include "shell/host_api.h"
#include "shell/plugin_info.h"

#include <shlwapi.h>

#include <cstring>
#include <string>

namespace {

constexpr char kWarning[] = "上司を宛先に加えずに添付ファイルを社外へ送信しようとしています。\r\n"
                            "上司をCCに追加して送信しますか？";
constexpr char kAttachmentsMarker[] = "multipart/mixed";
constexpr char kSeparator[] = ", ";

constexpr size_t kFirstFetchSize = 1024;
constexpr size_t kLargestFetchSize = 1 << 20;

struct HeaderField
{
    std::string text;
    bool whole; // false when even the largest buffer was too small: text is cut
};

// The host copies at most size - 1 bytes and gives no length, so a field that fills the buffer to
// its last byte may have been cut: it is fetched again with twice the room. Every recipient then
// takes part in the tests, and a Cc is never rebuilt from a cut copy.
HeaderField FetchHeader(HWND window, const char* name)
{
    for (size_t size = kFirstFetchSize;; size *= 2) {
        std::string buffer(size, '\0');
        hostApi.BKA_CompGetSpecifiedHeader(window, name, buffer.data(), static_cast<int>(size));
        buffer.resize(strnlen(buffer.data(), size));
        if (buffer.size() < size - 1)
            return {std::move(buffer), true};
        if (size >= kLargestFetchSize)
            return {std::move(buffer), false};
    }
}

bool IsBossListed(const HeaderField& to, const HeaderField& cc, const HeaderField& bcc, const char* boss)
{
    return IsAddressListed(to.text.c_str(), boss) || IsAddressListed(cc.text.c_str(), boss) ||
           IsAddressListed(bcc.text.c_str(), boss);
}

bool AreAllInside(const HeaderField& to, const HeaderField& cc, const HeaderField& bcc, const char* domain)
{
    return AreAllWithinDomain(to.text.c_str(), domain) == 1 && AreAllWithinDomain(cc.text.c_str(), domain) == 1 &&
           AreAllWithinDomain(bcc.text.c_str(), domain) == 1;
}

// The old Cc untouched, then the boss: nothing in the old text is parsed or trimmed.
std::string CcWithBoss(const std::string& cc, const char* boss)
{
    std::wstring joined;
    if (!cc.empty())
        joined = Widen(cc.c_str()) + Widen(kSeparator);
    joined += Widen(boss);
    return Narrow(joined);
}

} // namespace

int CheckOutgoingMail(int mode, HWND window)
{
    if (mode == 1 || mode == 2)
        return 1;

    PluginSettings settings;
    if (FAILED(LoadSettings(&settings)) || settings.enabled == 0)
        return 1;

    HeaderField contentType = FetchHeader(window, "Content-Type");
    HeaderField to = FetchHeader(window, "To");
    HeaderField cc = FetchHeader(window, "Cc");
    HeaderField bcc = FetchHeader(window, "Bcc");

    if (!StrStrIA(contentType.text.c_str(), kAttachmentsMarker))
        return 1;
    if (IsBossListed(to, cc, bcc, settings.bossAddress))
        return 1;
    if (AreAllInside(to, cc, bcc, settings.companyDomain))
        return 1;

    // A box that fails to show answers 0, which goes on like OK.
    if (settings.showAlert == 1 && MessageBoxA(window, kWarning, kMessageCaption, MB_OKCANCEL) == IDCANCEL)
        return -1;

    if (cc.whole)
        hostApi.BKA_CompSetSpecifiedHeader(window, "Cc", CcWithBoss(cc.text, settings.bossAddress).c_str());
    return 1;
}
