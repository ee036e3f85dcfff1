#include "services/OpenDialogPane.h"

namespace salva {
namespace {
OpenDialogPane* g_pane = nullptr;
}

OpenDialogPane* CurrentOpenDialogPane() { return g_pane; }
void SetOpenDialogPane(OpenDialogPane* pane) { g_pane = pane; }

}  // namespace salva
