// The resource browser as the Summary tab's page for executables and libraries.
#pragma once
#include "inspect/SummaryPage.h"

namespace salva {

// Paths whose upper-cased last three characters are "EXE" or "DLL": the Summary tab shows
// their resources.
bool ShowsResourceBrowser(const std::wstring& path);
std::unique_ptr<SummaryPage> MakeResourceSummaryPage();

}  // namespace salva
