#pragma once
// The Windows Address Book declarations. mingw's <wab.h> also pulls in
// <wabutil.h>, which includes <mapidefs.h> and redefines what <wabdefs.h>
// defined; the pieces below are all the address-book client needs.

#include <windows.h>

#include <wabdefs.h>
#include <wabcode.h>
#include <wabtags.h>
#include <wabiab.h>
#include <wabapi.h>
