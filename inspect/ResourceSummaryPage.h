// The resource browser as the Summary tab's page for executables and libraries.
#pragma once
#include "inspect/SummaryPage.h"

namespace salva {

// Shown for paths whose upper-cased last three characters are "EXE" or "DLL".
std::unique_ptr<SummaryPage> MakeResourceSummaryPage();

}  // namespace salva
