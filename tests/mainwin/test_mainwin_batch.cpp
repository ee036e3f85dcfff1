// The batch copy over the main window's list, end to end: the real folder picker with its
// same-folder panel, the registered library's replace confirmation answered "no", the copy
// animation over the main window, and a failing file in the operation log.
#include "MainWinTest.h"
#include "copier/frmCopyAllFiles.h"
#include "dorvex/PromptFrame.h"
#include "services/frmChooseDialog.h"
#include <commctrl.h>

using namespace mainwintest;
using namespace testsupport;
using salva::FrmCopy;

TEST(MainWindowBatch, CopiesTheListIntoThePickedFolderAskingAboutAnExistingTarget) {
    RegisteredServer dorvex(L"Dorvex.dll");
    ASSERT_EQ(S_OK, dorvex.result()) << "Dorvex.dll registration";
    Harness h;
    h.Create();
    FrmCopy& f = *h.frm;
    const std::wstring src = h.dir / L"src", out = h.dir / L"out";
    ASSERT_TRUE(::CreateDirectoryW(src.c_str(), nullptr));
    ASSERT_TRUE(::CreateDirectoryW(out.c_str(), nullptr));
    const std::wstring a = src + L"\\a.dat", b = src + L"\\b.dat", c = src + L"\\c.dat";
    ASSERT_TRUE(WriteBytes(a, Pattern(300000, 1)));
    ASSERT_TRUE(WriteBytes(b, Pattern(200000, 2)));
    ASSERT_TRUE(WriteBytes(c, Pattern(1000, 3)));
    const auto kept = Pattern(777, 4);
    ASSERT_TRUE(WriteBytes(out + L"\\a.dat", kept));
    for (const auto& p : {a, b, c}) f.AddFileListItem(p);
    f.SetFileListText(a);
    // Another program holds c.dat: its copy fails and is logged, the batch goes on, and its end
    // box counts the file.
    salva::unique_hfile busy(::CreateFileW(c.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(busy);

    bool ticked = false, selected = false, answered = false, owned = false, animated = false;
    Watcher user([] { return WaitForWindow(nullptr, L"#32770"); },
                 [&](HWND picker) {
                     if (HWND panel = ::FindWindowExW(picker, nullptr, salva::frmChooseDialog::ClassName(), nullptr)) {
                         HWND box = ::GetDlgItem(panel, salva::frmChooseDialog::IDC_chkCopyToSameDir);
                         ::SendMessageW(box, BM_CLICK, 0, 0);
                         ticked = ::SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED;
                     }
                     selected = SelectFolderInPicker(picker, out);
                     ::PostMessageW(picker, WM_COMMAND, selected ? IDOK : IDCANCEL, 0);
                     if (!selected) return;
                     HWND prompt = WaitForWindow(L"确认文件替换");
                     if (!prompt) return;
                     HWND batch = ::FindWindowW(salva::frmCopyAllFiles::ClassName(), nullptr);
                     owned = batch && ::GetWindow(batch, GW_OWNER) == f.Handle();
                     animated = batch && ::IsWindowVisible(batch) &&
                                ::FindWindowExW(::GetDlgItem(batch, salva::frmCopyAllFiles::IDC_picAVIShowWindow),
                                                nullptr, ANIMATE_CLASSW, nullptr) != nullptr;
                     if (HWND no = FindControl(prompt, dorvex::ids::cmdNo)) {
                         ::PostMessageW(no, BM_CLICK, 0, 0);
                         answered = true;
                     }
                     // The end box that counts the failed file (told in the batch's own tests).
                     if (HWND end = WaitForWindow(L"提醒！")) ::PostMessageW(end, WM_COMMAND, IDOK, 0);
                 });
    // The rest as the program has it: the main window's list, the picker, the library.
    salva::frmCopyAllFiles::Options o;
    o.log = [&](const std::wstring& entry) { h.log.GetFileCopyLog(entry); };
    salva::frmCopyAllFiles(std::move(o)).CopyingFiles();
    user.Join();
    busy.reset();

    ASSERT_TRUE(ticked);
    ASSERT_TRUE(selected);
    ASSERT_TRUE(answered) << "replace confirmation or its 否 button not found";
    EXPECT_TRUE(owned) << "the batch window belongs to the main window";
    EXPECT_TRUE(animated) << "the copy animation plays in the batch window";
    EXPECT_EQ(nullptr, ::FindWindowW(salva::frmCopyAllFiles::ClassName(), nullptr));
    EXPECT_EQ(kept, ReadBytes(out + L"\\a.dat"));
    EXPECT_EQ(ReadBytes(a), ReadBytes(out + L"\\N[01]a.dat"));
    EXPECT_EQ(ReadBytes(b), ReadBytes(out + L"\\b.dat"));
    const std::wstring& log = h.log.CurrentLog();
    EXPECT_NE(std::wstring::npos, log.find(L"复制文件“" + c + L"”时遇到错误。")) << Narrow(log);
}
