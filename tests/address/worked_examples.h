#pragma once
// Texts with the addresses a backtracking engine finds in them, shared by the scanner's own tests
// and by the comparison with the script engines' component.

#include <string>
#include <vector>

struct WorkedExample
{
    std::wstring text;
    std::vector<std::wstring> items;
};

inline const std::vector<WorkedExample>& WorkedExamples()
{
    static const std::vector<WorkedExample> examples = {
        // Display names and angle brackets stay outside; items come in text order.
        {L"User <user@example.com>, staff@sub.example.com", {L"user@example.com", L"staff@sub.example.com"}},
        // An address in a display name counts as well as the one in brackets.
        {L"user@example.com <user@example.com>", {L"user@example.com", L"user@example.com"}},
        // The domain needs a full stop.
        {L"a@b", {}},
        // A full stop after the only label leaves one label, too few.
        {L"user@host.", {}},
        // A full stop may end the local part; the one after the domain's last label is left out.
        {L"x.@y.z.", {L"x.@y.z"}},
        // Full stops at the head of the local part are skipped.
        {L"..abc@example.com", {L"abc@example.com"}},
        // A plus sign breaks the local part.
        {L"first.last+tag@example.com", {L"tag@example.com"}},
        // A domain ends before a second at sign, and what follows it holds no address.
        {L"a@b.c@d.e", {L"a@b.c"}},
        // A failed domain starts the search again after its at sign.
        {L"a@b@c.d", {L"b@c.d"}},
        // Two full stops in a row end the chain after a single label.
        {L"a@b..c.d", {}},
        // Two full stops in a row end the chain after two labels.
        {L"a@b.c..d", {L"a@b.c"}},
        // The same address twice is listed twice.
        {L"a@b.c a@b.c", {L"a@b.c", L"a@b.c"}},
        // A Japanese display name.
        {L"営業部 <user@example.com>", {L"user@example.com"}},
        // é is no word character, so the run that holds it does not reach the at sign.
        {L"xé@example.com", {}},
        // The full-width at sign is an ordinary character.
        {L"abc＠example.com", {}},
        // Case is kept.
        {L"USER@EXAMPLE.COM", {L"USER@EXAMPLE.COM"}},
        // Hyphens and low lines are label characters, even alone and at either end.
        {L"-@_.-", {L"-@_.-"}},
        // A domain label ends at a character outside the labels, here a full-width letter.
        {L"a@b.cＡd", {L"a@b.c"}},
        // Nothing but the text's end after the at sign.
        {L"a@", {}},
        // Empty text.
        {L"", {}},
    };
    return examples;
}
