#pragma once
// The two questions the outgoing check asks of each of To, Cc and Bcc. Each builds its own
// address list over the header; letter case plays no part in either.

// 1 when an address found in the header equals the boss address as a whole, else 0. A null or
// empty header answers 0.
int IsAddressListed(const char* header, const char* bossAddress);

// 0 when an address found in the header lies outside the company domain, else 1; a null header,
// or one without addresses, answers 1. Inside means that the domain occurs somewhere after the
// address's first at sign.
int AreAllWithinDomain(const char* header, const char* companyDomain);
