// The real main window as the benchmark programs drive it: no server registration, its log
// file in the folder they are given.
#pragma once
#include "copier/FrmCopy.h"
#include "windows/frmSystem.h"
#include <string>
#include <utility>

namespace benchsupport {

struct BenchMainWindow {
    explicit BenchMainWindow(const std::wstring& logFolder, salva::FrmCopy::Options options = {})
        : frm(WithLog(log, logFolder, std::move(options))) {}

    salva::frmSystem log;
    salva::FrmCopy frm;

private:
    static salva::FrmCopy::Options WithLog(salva::frmSystem& log, const std::wstring& folder,
                                           salva::FrmCopy::Options options) {
        log.SetLogFilePath(folder + L"\\OperationNotes.log");
        options.registerServers = [] {};
        options.logWindow = &log;
        return options;
    }
};

}  // namespace benchsupport
