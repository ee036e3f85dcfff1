// The summary text and ZIP list as the Summary tab's page of every file that is no executable.
#pragma once
#include "inspect/SummaryPage.h"

namespace salva {

std::unique_ptr<SummaryPage> MakeDocketSummaryPage();

}  // namespace salva
