#pragma once
// The mail addresses found in one narrow text, handed out by count and index. Built on the
// caller's stack over one text and destroyed before the caller returns.

#include <windows.h>

#include <string>
#include <vector>

class AddressList
{
public:
    // Widens the text once, through the ANSI code page; a null pointer counts as empty text.
    explicit AddressList(const char* text);
    AddressList(const AddressList&) = delete;
    AddressList& operator=(const AddressList&) = delete;

    // The number of addresses; extracts them first while none has been found.
    HRESULT GetCount(LONG* count);

    // The address at the index, zero-terminated and borrowed from the list, or the empty text with
    // E_FAIL when the index, compared without sign, is out of range. Extracts first like GetCount.
    HRESULT GetItem(LONG index, const wchar_t** text);

    // Appends every address found in the text. Only ever run while the list is empty, so a text
    // without addresses is scanned again at each request, which costs next to nothing. Always
    // succeeds: the scanner stands in for the script engines' regular-expression component, which
    // newer Windows lacks and which fails on a thread without COM, letting every message through
    // unchecked.
    HRESULT Extract();

private:
    HRESULT ExtractIfEmpty();

    std::wstring input_;
    std::vector<std::wstring> items_;
};
