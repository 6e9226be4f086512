#include "address/address_list.h"

#include "address/address_scanner.h"
#include "shell/ansi_text.h"

namespace {

// GetItem's first answer, shared by every list, so that its out-value is never left undefined.
constexpr wchar_t EmptyText[] = L"";

} // namespace

AddressList::AddressList(const char* text) : input_(Widen(text)) {}

HRESULT AddressList::Extract()
{
    for (auto span = FindAddress(input_, 0); span; span = FindAddress(input_, span->offset + span->length))
        items_.push_back(input_.substr(span->offset, span->length));
    return S_OK;
}

HRESULT AddressList::ExtractIfEmpty()
{
    return items_.empty() ? Extract() : S_OK;
}

HRESULT AddressList::GetCount(LONG* count)
{
    if (!count)
        return E_POINTER;
    *count = 0;
    HRESULT result = ExtractIfEmpty();
    if (FAILED(result))
        return result;
    *count = static_cast<LONG>(items_.size());
    return result;
}

HRESULT AddressList::GetItem(LONG index, const wchar_t** text)
{
    if (!text)
        return E_POINTER;
    *text = EmptyText;
    HRESULT result = ExtractIfEmpty();
    if (FAILED(result))
        return result;
    if (static_cast<ULONG>(index) >= items_.size())
        return E_FAIL;
    *text = items_[static_cast<size_t>(index)].c_str();
    return result;
}
