// The search button opens the search window modally over the main window; Enter typed in the
// pattern field searches, and the found files replace the main window's list.
#include "MainWinTest.h"
#include "windows/frmSearchFile.h"
#include <algorithm>

using namespace mainwintest;
using namespace testsupport;
using salva::FrmCopy;
using salva::frmSearchFile;

namespace {

// The text of a window of the other thread, or "" when it does not answer in time.
std::wstring TextAcrossThreads(HWND w) {
    wchar_t text[512] = {};
    DWORD_PTR got = 0;
    ::SendMessageTimeoutW(w, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text), SMTO_NORMAL,
                          static_cast<UINT>(testsupport::ScaledMs(2000)), &got);
    return text;
}

bool WaitFor(const std::function<bool()>& done) {
    return testsupport::WaitUntil("a condition of the search button test", 10000, done, 10);
}

}  // namespace

TEST(SearchButton, OpensTheSearchWindowModallyAndTheFoundFilesReplaceTheList) {
    Harness h;
    h.Create(SW_SHOW);
    FrmCopy& f = *h.frm;
    TempDir tree;
    ASSERT_TRUE(::CreateDirectoryW((tree / L"sub").c_str(), nullptr));
    for (const wchar_t* name : {L"a.dat", L"sub\\b.DAT", L"c.txt"}) ASSERT_TRUE(WriteBytes(tree / name, Pattern(100)));
    f.AddFileListItem(L"C:\\before.dat");

    bool mainDisabled = false, enterFocused = false;
    UINT keysSent = 0;
    std::wstring result;
    const DWORD uiThread = ::GetCurrentThreadId();
    Watcher w(L"文件搜索", [&](HWND search) {
        mainDisabled = !::IsWindowEnabled(f.Window());
        HWND pattern = FindControl(search, frmSearchFile::IDC_cmbFileSearchChoose);
        HWND edit = ::GetWindow(pattern, GW_CHILD);
        ::SendMessageW(pattern, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"*.dat"));
        ::SendMessageW(FindControl(search, frmSearchFile::IDC_cmbFileSearchWide), WM_SETTEXT, 0,
                       reinterpret_cast<LPARAM>(tree.path().c_str()));
        // The key goes where the keyboard focus is: the pattern field, from the window's opening.
        enterFocused = WaitFor([&] {
            GUITHREADINFO info{sizeof(info)};
            return ::GetGUIThreadInfo(uiThread, &info) && info.hwndFocus == edit && ::GetForegroundWindow() == search;
        });
        INPUT keys[2] = {};
        keys[0].type = keys[1].type = INPUT_KEYBOARD;
        keys[0].ki.wVk = keys[1].ki.wVk = VK_RETURN;
        keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
        keysSent = ::SendInput(2, keys, sizeof(INPUT));
        HWND label = FindControl(search, frmSearchFile::IDC_lblFilePath);
        WaitFor([&] { return TextAcrossThreads(label).rfind(L"找到", 0) == 0; });
        result = TextAcrossThreads(label);
        ::PostMessageW(FindControl(search, frmSearchFile::IDC_cmdExit), BM_CLICK, 0, 0);
    });
    HWND button = f.Control(FrmCopy::IDC_picSearch);
    ::SendMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    ::SendMessageW(button, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
    w.Join();

    ASSERT_TRUE(w.found()) << "no search window";
    EXPECT_TRUE(mainDisabled) << "not modal";
    EXPECT_TRUE(enterFocused);
    EXPECT_EQ(keysSent, 2u);
    EXPECT_EQ(Narrow(result), Narrow(L"找到 2 个文件"));
    std::vector<std::wstring> listed;
    for (int i = 0; i < f.FileListCount(); ++i) listed.push_back(f.FileListItem(i));
    std::sort(listed.begin(), listed.end());
    EXPECT_EQ(listed, (std::vector<std::wstring>{tree / L"a.dat", tree / L"sub\\b.DAT"}));
    EXPECT_TRUE(::IsWindowEnabled(f.Window()));
    EXPECT_EQ(f.ButtonPicture(FrmCopy::IDC_picSearch, false),
              salva::PictureBox::FromWindow(button)->Picture());
    // The window stored its pattern when it closed.
    wchar_t stored[64] = {};
    ::GetPrivateProfileStringW(L"SECTION", L"TYPE0", L"", stored, 64, (h.dir / L"Salvadisksearch.ini").c_str());
    EXPECT_EQ(Narrow(stored), "*.dat");
}
