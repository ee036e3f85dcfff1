// The search window over a tree the test makes, with the real main window receiving the
// results: its opening, what a search accepts (sizes, patterns, a sparse 3 GiB file, a link
// loop), Stop as real mouse input in the middle of a walk, closing refused while it runs, and
// the pattern history in its profile file.
#include "../mainwin/MainWinTest.h"
#include "../services/WineHost.h"
#include "services/FileSystem.h"
#include "services/Text.h"
#include "services/WindowSubclass.h"
#include "windows/frmSearchFile.h"
#include <commctrl.h>

using namespace testsupport;
using mainwintest::Harness;
using salva::frmSearchFile;

namespace {

bool MakeSparseFile(const std::wstring& path, uint64_t size) {
    salva::unique_hfile f(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!f) return false;
    LARGE_INTEGER at{};
    at.QuadPart = static_cast<LONGLONG>(size);
    return ::SetFilePointerEx(f.get(), at, nullptr, FILE_BEGIN) && ::SetEndOfFile(f.get());
}

std::wstring Profile(const std::wstring& file, const std::wstring& key) {
    wchar_t value[300] = {};
    ::GetPrivateProfileStringW(L"SECTION", key.c_str(), L"<none>", value, 300, file.c_str());
    return value;
}

std::vector<std::wstring> ComboList(HWND combo) {
    std::vector<std::wstring> items;
    const int n = static_cast<int>(::SendMessageW(combo, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < n; ++i) {
        wchar_t text[300] = {};
        ::SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
        items.push_back(text);
    }
    return items;
}

class SearchWindow : public ::testing::Test {
protected:
    void SetUp() override {
        h.Create();
        search = std::make_unique<frmSearchFile>();
        search->SetHistoryFilePath(history());
    }
    void Open() {
        ASSERT_TRUE(search->Load(h.frm->Window()));
        ::ShowWindow(search->Window(), SW_SHOW);
        ::SetForegroundWindow(search->Window());
        mainwintest::Pump(50);
    }
    // A fresh window over the same history file.
    void Reopen() {
        search = std::make_unique<frmSearchFile>();
        search->SetHistoryFilePath(history());
        Open();
    }
    std::wstring history() const { return h.dir / L"Salvadisksearch.ini"; }
    HWND C(int id) const { return search->Control(id); }
    void Run(const std::wstring& pattern, const std::wstring& scope) {
        ::SetWindowTextW(C(frmSearchFile::IDC_cmbFileSearchChoose), pattern.c_str());
        ::SetWindowTextW(C(frmSearchFile::IDC_cmbFileSearchWide), scope.c_str());
        ::SendMessageW(C(frmSearchFile::IDC_cmdFileSearch), BM_CLICK, 0, 0);
    }
    void Check(int id, bool on) { ::SendMessageW(C(id), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0); }
    bool Checked(int id) const { return ::SendMessageW(C(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
    std::wstring Status() const { return WindowText(C(frmSearchFile::IDC_lblFilePath)); }
    std::vector<std::wstring> Listed() const {
        std::vector<std::wstring> items;
        for (int i = 0; i < h.frm->FileListCount(); ++i) items.push_back(h.frm->FileListItem(i));
        return items;
    }
    std::wstring In(const std::wstring& name) const { return top + L"\\" + name; }

    Harness h;
    TempDir tree;
    // The folder searched: `tree`, or the link loop folder the test command made.
    std::wstring top = tree.path();
    std::unique_ptr<frmSearchFile> search;
};

}  // namespace

TEST_F(SearchWindow, OpensWithItsControlsEveryDriveAndTheStoredPatterns) {
    wchar_t system[MAX_PATH] = {};
    ::GetSystemDirectoryW(system, MAX_PATH);
    EXPECT_EQ(Narrow(frmSearchFile::DefaultHistoryFilePath()), Narrow(std::wstring(system) + L"\\Salvadisksearch.ini"));
    // TYPE2 is missing: the load stops there.
    ASSERT_TRUE(::WritePrivateProfileStringW(L"SECTION", L"TYPE0", L"*.DAT", history().c_str()));
    ASSERT_TRUE(::WritePrivateProfileStringW(L"SECTION", L"TYPE1", L"*.vob", history().c_str()));
    ASSERT_TRUE(::WritePrivateProfileStringW(L"SECTION", L"TYPE3", L"*.mp3", history().c_str()));
    // Enough drives that their roots outgrow 64 characters.
    std::vector<std::unique_ptr<wine_host::MappedDrive>> drives;
    for (wchar_t letter = wine_host::FreeDriveLetter(L'D'); letter && drives.size() < 16;
         letter = wine_host::FreeDriveLetter(letter)) {
        drives.push_back(std::make_unique<wine_host::MappedDrive>(letter, DRIVE_FIXED, wine_host::UnixPath(tree.path())));
        ASSERT_TRUE(drives.back()->ok()) << Narrow(drives.back()->root());
    }
    std::vector<std::wstring> roots;
    const DWORD letters = ::GetLogicalDrives();
    for (int i = 0; i < 26; ++i)
        if (letters & (1u << i)) roots.push_back(std::wstring(1, static_cast<wchar_t>(L'A' + i)) + L":\\");
    ASSERT_GE(roots.size() * 4, 64u) << JoinTexts(roots);
    Open();
    HWND w = search->Window();
    EXPECT_EQ(Narrow(WindowText(w)), Narrow(L"文件搜索"));
    EXPECT_EQ(::GetWindow(w, GW_OWNER), h.frm->Window());
    EXPECT_TRUE(Checked(frmSearchFile::IDC_chkSubFolder));
    for (int id = frmSearchFile::IDC_chkSearchFileSize_1; id <= frmSearchFile::IDC_chkCompressFile; ++id)
        EXPECT_FALSE(Checked(id)) << id;
    EXPECT_TRUE(Status().empty());

    HWND scope = C(frmSearchFile::IDC_cmbFileSearchWide);
    EXPECT_EQ(JoinTexts(ComboList(scope)), JoinTexts(roots));
    EXPECT_EQ(Narrow(WindowText(scope)), Narrow(roots.front()));

    HWND pattern = C(frmSearchFile::IDC_cmbFileSearchChoose);
    EXPECT_EQ(JoinTexts(ComboList(pattern)), "*.DAT; *.vob; ");
    EXPECT_EQ(Narrow(WindowText(pattern)), "*.DAT");

    const std::pair<int, const wchar_t*> tips[] = {
        {frmSearchFile::IDC_cmdFileSearch, L"立即搜索"},
        {frmSearchFile::IDC_cmdFileBrower, L"浏览目录以选择文件搜索范围"},
        {frmSearchFile::IDC_cmdFileStopSearch, L"停止搜索"},
        {frmSearchFile::IDC_cmdExit, L"确定退出"},
    };
    for (const auto& [id, text] : tips) {
        const auto windows = TipWindowsOf(C(id));
        ASSERT_EQ(windows.size(), 1u) << id;
        EXPECT_EQ(Narrow(TipText(windows[0], C(id))), Narrow(text));
    }
}

TEST_F(SearchWindow, AcceptsBySizeAndPatternOverLinksAndHugeFiles) {
    // The folder comes with sub and the link sub\loop back to it.
    top = wine_host::LinkLoopFolder();
    if (top.empty()) GTEST_SKIP() << "no link loop: the test command makes it and names it in SALVA_LINK_LOOP";
    const DWORD loop = ::GetFileAttributesW(In(L"sub\\loop").c_str());
    ASSERT_TRUE(loop != INVALID_FILE_ATTRIBUTES && (loop & FILE_ATTRIBUTE_REPARSE_POINT)) << std::hex << loop;
    ASSERT_TRUE(::CreateDirectoryW(In(L"sub\\deeper").c_str(), nullptr));
    ASSERT_TRUE(WriteBytes(In(L"a.dat"), Pattern(1023)));
    ASSERT_TRUE(WriteBytes(In(L"b.DAT"), Pattern(1024)));
    ASSERT_TRUE(WriteBytes(In(L"c.txt"), {1}));
    ASSERT_TRUE(WriteBytes(In(L"sub\\deeper\\e.dat"), {1}));
    ASSERT_TRUE(MakeSparseFile(In(L"big.dat"), 3ull << 30));
    ASSERT_EQ(FileLength(In(L"big.dat")), int64_t(3) << 30);
    // Its low 32 bits alone would put this one in the third range.
    ASSERT_TRUE(MakeSparseFile(In(L"huge.dat"), (4ull << 30) + 500000000));
    ASSERT_TRUE(MakeSparseFile(In(L"edge.dat"), 1024000000));
    ASSERT_TRUE(MakeSparseFile(In(L"over.dat"), 1024000001));
    ASSERT_TRUE(MakeSparseFile(In(L"sub\\d.dat"), 10240000));
    Open();
    h.frm->AddFileListItem(L"C:\\listed before.dat");

    // The scope without its backslash; the link back to the root is not entered.
    Run(L"*.dat", top);
    const std::vector<std::wstring> allDat{In(L"a.dat"),    In(L"b.DAT"),      In(L"big.dat"),
                                           In(L"huge.dat"), In(L"edge.dat"),   In(L"over.dat"),
                                           In(L"sub\\d.dat"), In(L"sub\\deeper\\e.dat")};
    EXPECT_EQ(JoinTexts(SortedTexts(Listed())), JoinTexts(SortedTexts(allDat)));
    EXPECT_EQ(Narrow(Status()), Narrow(L"找到 8 个文件"));
    EXPECT_EQ(Narrow(h.frm->FileListText()), Narrow(h.frm->FileListItem(0))) << "list information brought up to date";
    EXPECT_EQ(Narrow(WindowText(h.frm->Control(salva::FrmCopy::IDC_lblFilesInfo))).rfind(Narrow(L"文件总数:8个"), 0), 0u)
        << Narrow(WindowText(h.frm->Control(salva::FrmCopy::IDC_lblFilesInfo)));
    EXPECT_TRUE(::IsWindowEnabled(C(frmSearchFile::IDC_cmdFileSearch)));
    EXPECT_TRUE(::IsWindowEnabled(C(frmSearchFile::IDC_cmdFileBrower)));

    Check(frmSearchFile::IDC_chkSubFolder, false);
    Run(L"*.dat", top + L"\\");
    EXPECT_EQ(JoinTexts(SortedTexts(Listed())),
              JoinTexts(SortedTexts({In(L"a.dat"), In(L"b.DAT"), In(L"big.dat"), In(L"huge.dat"), In(L"edge.dat"), In(L"over.dat")})));
    Check(frmSearchFile::IDC_chkSubFolder, true);

    Check(frmSearchFile::IDC_chkSearchFileSize_1, true);
    Run(L"*.dat", top);
    EXPECT_EQ(JoinTexts(SortedTexts(Listed())), JoinTexts(SortedTexts({In(L"b.DAT"), In(L"sub\\d.dat")})));
    // An exact name ignores the size boxes; its case does not count.
    Run(L"A.DAT", top);
    EXPECT_EQ(JoinTexts(Listed()), JoinTexts({In(L"a.dat")}));
    Check(frmSearchFile::IDC_chkSearchFileSize_1, false);

    // The 3 GiB and 4.5 GiB files lie above every range; the files after them are still examined.
    Check(frmSearchFile::IDC_chkSearchFileSize_3, true);
    Run(L"*.dat", top);
    EXPECT_EQ(JoinTexts(Listed()), JoinTexts({In(L"edge.dat")}));
    Check(frmSearchFile::IDC_chkSearchFileSize_3, false);

    Run(L" *.* ", top);
    std::vector<std::wstring> every = allDat;
    every.push_back(In(L"c.txt"));
    EXPECT_EQ(JoinTexts(SortedTexts(Listed())), JoinTexts(SortedTexts(every)));

    Run(L"*", top);
    EXPECT_EQ(h.frm->FileListCount(), 0);
    EXPECT_EQ(Narrow(h.frm->FileListText()), Narrow(L"没有找到所需要的文件"));
    EXPECT_EQ(Narrow(Status()), Narrow(L"找到 0 个文件"));

    // Every search appended its pattern, repeats included.
    EXPECT_EQ(JoinTexts(ComboList(C(frmSearchFile::IDC_cmbFileSearchChoose))),
              "*.dat; *.dat; *.dat; A.DAT; *.dat;  *.* ; *; ");
}

TEST_F(SearchWindow, SizeBoxesGroupUnderTheMouseOnlyAndAttributesNarrow) {
    ASSERT_TRUE(WriteBytes(In(L"small.dat"), Pattern(2048)));
    ASSERT_TRUE(MakeSparseFile(In(L"large.dat"), 500000000));
    ASSERT_TRUE(WriteBytes(In(L"ro.dat"), {1}));
    ASSERT_TRUE(::SetFileAttributesW(In(L"ro.dat").c_str(), FILE_ATTRIBUTE_READONLY));
    Open();
    HWND one = C(frmSearchFile::IDC_chkSearchFileSize_1), two = C(frmSearchFile::IDC_chkSearchFileSize_2),
         three = C(frmSearchFile::IDC_chkSearchFileSize_3);
    ::SendMessageW(one, BM_CLICK, 0, 0);
    ASSERT_TRUE(Checked(frmSearchFile::IDC_chkSearchFileSize_1));
    // Any mouse button pressed on another box clears the group first.
    ::SendMessageW(two, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
    ::SendMessageW(two, WM_RBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_FALSE(Checked(frmSearchFile::IDC_chkSearchFileSize_1));
    EXPECT_FALSE(Checked(frmSearchFile::IDC_chkSearchFileSize_2)) << "a right click does not toggle";
    ::SendMessageW(one, BM_CLICK, 0, 0);
    ::SendMessageW(two, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    ::SendMessageW(two, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_FALSE(Checked(frmSearchFile::IDC_chkSearchFileSize_1));
    EXPECT_TRUE(Checked(frmSearchFile::IDC_chkSearchFileSize_2));
    // The keyboard clears nothing: boxes 2 and 3 both checked, box 2 decides.
    ::SendMessageW(three, WM_KEYDOWN, VK_SPACE, 0);
    ::SendMessageW(three, WM_KEYUP, VK_SPACE, 0xC0000001);
    ASSERT_TRUE(Checked(frmSearchFile::IDC_chkSearchFileSize_2));
    ASSERT_TRUE(Checked(frmSearchFile::IDC_chkSearchFileSize_3));
    Run(L"*.dat", tree.path());
    EXPECT_EQ(JoinTexts(Listed()), JoinTexts({}));
    ::SendMessageW(two, WM_KEYDOWN, VK_SPACE, 0);
    ::SendMessageW(two, WM_KEYUP, VK_SPACE, 0xC0000001);
    ::SendMessageW(one, WM_KEYDOWN, VK_SPACE, 0);
    ::SendMessageW(one, WM_KEYUP, VK_SPACE, 0xC0000001);
    ASSERT_TRUE(Checked(frmSearchFile::IDC_chkSearchFileSize_1));
    ASSERT_TRUE(Checked(frmSearchFile::IDC_chkSearchFileSize_3));
    Run(L"*.dat", tree.path());
    EXPECT_EQ(JoinTexts(Listed()), JoinTexts({In(L"small.dat")}));
    Check(frmSearchFile::IDC_chkSearchFileSize_1, false);
    Run(L"*.dat", tree.path());
    EXPECT_EQ(JoinTexts(Listed()), JoinTexts({In(L"large.dat")}));
    Check(frmSearchFile::IDC_chkSearchFileSize_3, false);

    Check(frmSearchFile::IDC_chkReadOnlyFile, true);
    Run(L"*.dat", tree.path());
    EXPECT_EQ(JoinTexts(Listed()), JoinTexts({In(L"ro.dat")}));
    // An exact name has no attribute condition.
    Run(L"small.dat", tree.path());
    EXPECT_EQ(JoinTexts(Listed()), JoinTexts({In(L"small.dat")}));
}

TEST_F(SearchWindow, StopAsRealInputEndsTheWalkAndLeavesTheListAndTotalsAsFound) {
    for (int f = 0; f < 20; ++f) {
        const std::wstring folder = In(L"f" + std::to_wstring(100 + f));
        ASSERT_TRUE(::CreateDirectoryW(folder.c_str(), nullptr));
        for (int i = 0; i < 5; ++i)
            ASSERT_TRUE(WriteBytes(folder + L"\\x" + std::to_wstring(i) + L".dat", Pattern(static_cast<size_t>(f * 5 + i))));
    }
    Open();
    HWND window = search->Window();
    HWND stop = C(frmSearchFile::IDC_cmdFileStopSearch);
    HWND searchButton = C(frmSearchFile::IDC_cmdFileSearch);
    HWND patternEdit = ::GetWindow(C(frmSearchFile::IDC_cmbFileSearchChoose), GW_CHILD);

    std::vector<std::wstring> labels;
    int paths = 0;
    bool closeRefused = false, nestedRefused = false, stopClicked = false, searchEnabledAtStop = true;
    int listedAtStop = -1;
    size_t labelsAtStop = 0;
    UINT clicksSent = 0;
    salva::WindowSubclass label, stopButton;
    label.Install(C(frmSearchFile::IDC_lblFilePath), [&](HWND hw, UINT msg, WPARAM wp, LPARAM lp) {
        const LRESULT r = label.CallPrevious(hw, msg, wp, lp);
        if (msg != WM_SETTEXT) return r;
        const std::wstring text = reinterpret_cast<const wchar_t*>(lp);
        labels.push_back(text);
        if (text.rfind(tree.path(), 0) != 0) return r;
        // The first examined path shows at once, the later ones paced by the clock.
        if (++paths == 1) {
            // Neither a close nor the Enter key's search may run under the walk.
            const int before = h.frm->FileListCount();
            ::SendMessageW(window, WM_CLOSE, 0, 0);
            ::SendMessageW(C(frmSearchFile::IDC_cmdExit), BM_CLICK, 0, 0);
            closeRefused = ::IsWindow(window) && search->IsSearching();
            ::SendMessageW(patternEdit, WM_KEYDOWN, VK_RETURN, 1);
            nestedRefused = h.frm->FileListCount() >= before;
            clicksSent = testsupport::MouseClick(stop);
        }
        return r;
    });
    stopButton.Install(stop, [&](HWND hw, UINT msg, WPARAM wp, LPARAM lp) {
        const LRESULT r = stopButton.CallPrevious(hw, msg, wp, lp);
        if (msg == WM_LBUTTONUP) {
            stopClicked = true;
            searchEnabledAtStop = ::IsWindowEnabled(searchButton) != FALSE;
            listedAtStop = h.frm->FileListCount();
            labelsAtStop = labels.size();
        }
        return r;
    });

    Run(L"*.dat", tree.path());
    ASSERT_EQ(clicksSent, 2u);
    EXPECT_TRUE(closeRefused);
    EXPECT_TRUE(nestedRefused);
    ASSERT_TRUE(stopClicked) << "the click never reached Stop; " << JoinTexts(labels);
    EXPECT_FALSE(searchEnabledAtStop) << "Search stays disabled until the walk has unwound";
    const int listed = h.frm->FileListCount();
    EXPECT_EQ(listed, listedAtStop) << "files added after Stop";
    EXPECT_LT(listed, 100);
    EXPECT_GE(listed, 1);
    EXPECT_EQ("", mainwintest::ListAgainstDisk(*h.frm));
    // After Stop no entry was examined: the label received the result, and before it at most
    // the path of the last file found, which had not shown yet.
    ASSERT_GE(labels.size(), labelsAtStop + 1) << JoinTexts(labels);
    ASSERT_LE(labels.size(), labelsAtStop + 2) << JoinTexts(labels);
    if (labels.size() == labelsAtStop + 2) {
        EXPECT_EQ(Narrow(labels[labelsAtStop]), Narrow(h.frm->FileListItem(listed - 1))) << JoinTexts(labels);
    }
    EXPECT_EQ(Narrow(labels.back()), Narrow(L"找到 " + std::to_wstring(listed) + L" 个文件"));
    EXPECT_FALSE(search->IsSearching());
    EXPECT_TRUE(::IsWindowEnabled(searchButton));

    label.Remove();
    stopButton.Remove();
    // A new search starts from the beginning again.
    Run(L"*.dat", tree.path());
    EXPECT_EQ(h.frm->FileListCount(), 100);
    ::SendMessageW(C(frmSearchFile::IDC_cmdExit), BM_CLICK, 0, 0);
    EXPECT_FALSE(::IsWindow(window)) << "closes once the search is over";
}

TEST_F(SearchWindow, EmptyPatternOrScopeShowsTheMessageAndLeavesTheList) {
    Open();
    h.frm->AddFileListItem(L"C:\\kept.dat");
    std::vector<std::wstring> labels;
    salva::WindowSubclass label;
    label.Install(C(frmSearchFile::IDC_lblFilePath), [&](HWND hw, UINT msg, WPARAM wp, LPARAM lp) {
        if (msg == WM_SETTEXT) labels.push_back(reinterpret_cast<const wchar_t*>(lp));
        return label.CallPrevious(hw, msg, wp, lp);
    });
    Run(L"", tree.path());
    EXPECT_EQ(JoinTexts(labels), JoinTexts({L"要搜索的文件与文件搜索的范围不能为空.", L""}));
    EXPECT_EQ(JoinTexts(Listed()), "C:\\kept.dat; ");
    EXPECT_TRUE(ComboList(C(frmSearchFile::IDC_cmbFileSearchChoose)).empty());
}

TEST_F(SearchWindow, BrowseSetsTheScopeToThePickedFolderAndCancelLeavesIt) {
    ASSERT_TRUE(::CreateDirectoryW(In(L"picked").c_str(), nullptr));
    Open();
    HWND window = search->Window();
    HWND scope = C(frmSearchFile::IDC_cmbFileSearchWide);
    bool selected = false;
    Watcher pick([window] { return WaitForOwnedWindow(window); },
                 [&](HWND picker) {
                     selected = SelectFolderInPicker(picker, In(L"picked"));
                     ::PostMessageW(picker, WM_COMMAND, selected ? IDOK : IDCANCEL, 0);
                 });
    ::SendMessageW(C(frmSearchFile::IDC_cmdFileBrower), BM_CLICK, 0, 0);
    pick.Join();
    ASSERT_TRUE(pick.found()) << "no folder picker over the window";
    ASSERT_TRUE(selected);
    EXPECT_EQ(Narrow(WindowText(scope)), Narrow(In(L"picked") + L"\\"));

    Watcher cancel([window] { return WaitForOwnedWindow(window); },
                   [](HWND picker) { ::PostMessageW(picker, WM_COMMAND, IDCANCEL, 0); });
    ::SendMessageW(C(frmSearchFile::IDC_cmdFileBrower), BM_CLICK, 0, 0);
    cancel.Join();
    ASSERT_TRUE(cancel.found());
    EXPECT_EQ(Narrow(WindowText(scope)), Narrow(In(L"picked") + L"\\"));
}

TEST_F(SearchWindow, HistoryStoresDistinctPatternsFromTheFirstOn) {
    // Blanks count as text; the scope here is an empty folder.
    Open();
    for (const wchar_t* p : {L"*.dat", L"*.dat", L"*.DAT", L"*.dat"}) Run(p, tree.path());
    ::SendMessageW(search->Window(), WM_CLOSE, 0, 0);
    ASSERT_FALSE(::IsWindow(search->Window()));
    EXPECT_EQ(Narrow(Profile(history(), L"TYPE0")), "*.dat");
    EXPECT_EQ(Narrow(Profile(history(), L"TYPE1")), "*.DAT");
    EXPECT_EQ(Narrow(Profile(history(), L"TYPE2")), "<none>");

    // Seven more make nine: TYPE9 is written empty over what it held, and nine come back.
    ASSERT_TRUE(::WritePrivateProfileStringW(L"SECTION", L"TYPE9", L"stale", history().c_str()));
    Reopen();
    for (int i = 2; i < 9; ++i) Run(L"*.p" + std::to_wstring(i), tree.path());
    search.reset();  // unloading stores the history too
    EXPECT_EQ(Narrow(Profile(history(), L"TYPE8")), "*.p8");
    EXPECT_EQ(Narrow(Profile(history(), L"TYPE9")), "");
    Reopen();
    EXPECT_EQ(ComboList(C(frmSearchFile::IDC_cmbFileSearchChoose)).size(), 9u);

    // The tenth is stored; once ten are stored, a new one is not.
    Run(L"*.tenth", tree.path());
    search.reset();
    EXPECT_EQ(Narrow(Profile(history(), L"TYPE9")), "*.tenth");
    Reopen();
    EXPECT_EQ(ComboList(C(frmSearchFile::IDC_cmbFileSearchChoose)).size(), 10u);
    Run(L"*.eleventh", tree.path());
    search.reset();
    EXPECT_EQ(Narrow(Profile(history(), L"TYPE9")), "*.tenth");
    EXPECT_EQ(Narrow(Profile(history(), L"TYPE10")), "<none>");

    frmSearchFile reader;
    EXPECT_EQ(Narrow(reader.ReadINIfile(history(), L"SECTION", L"MISSING", L"")), "");
    ASSERT_TRUE(reader.WriteINIfile(history(), L"SECTION", L"ABC", L"abc"));
    const std::wstring abc = reader.ReadINIfile(history(), L"SECTION", L"ABC", L"");
    EXPECT_EQ(abc.size(), 3u);
    EXPECT_EQ(Narrow(abc), "abc");
}
