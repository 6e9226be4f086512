#include "check/outgoing_check.h"

int CheckOutgoingMail(int, HWND)
{
    return 1;
}
