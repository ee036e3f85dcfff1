#include "services/MainWindow.h"

namespace salva {
namespace {
MainWindow* g_mainWindow = nullptr;
}

MainWindow* TheMainWindow() { return g_mainWindow; }

void RegisterMainWindow(MainWindow* window) { g_mainWindow = window; }

void UnregisterMainWindow(MainWindow* window) {
    if (g_mainWindow == window) g_mainWindow = nullptr;
}

}  // namespace salva
