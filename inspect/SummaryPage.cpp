#include "inspect/SummaryPage.h"
#include <algorithm>

namespace salva {
namespace {
std::vector<SummaryPageFactory>& Factories() {
    static std::vector<SummaryPageFactory> factories;
    return factories;
}
}  // namespace

void RegisterSummaryPage(SummaryPageFactory factory) {
    auto& list = Factories();
    if (factory && std::find(list.begin(), list.end(), factory) == list.end()) list.push_back(factory);
}

void UnregisterSummaryPage(SummaryPageFactory factory) {
    auto& list = Factories();
    list.erase(std::remove(list.begin(), list.end(), factory), list.end());
}

const std::vector<SummaryPageFactory>& RegisteredSummaryPages() { return Factories(); }

}  // namespace salva
