// The file list on the real window: drops through its registered drop target with a data
// object carrying a file list (names the system opens as other files refused), a drag from
// another program, delete with each answer (a locked file stays listed), the
// properties command's choice between the own window and the shell's sheet, choosing an item,
// removing the current one, the keys, the preview toggle, and move and copy to a picked folder.
#include "MainWinTest.h"
#include <atomic>
#include <commctrl.h>

using namespace mainwintest;
using namespace testsupport;
using salva::FrmCopy;

namespace {

class FileListTest : public ::testing::Test {
protected:
    void SetUp() override {
        h_.configure = [this](FrmCopy::Options& o) {
            o.windows.fileProperty = [this](const std::wstring& path) {
                views_.push_back(L"own:" + path);
                return ownShows_;
            };
            o.windows.openPreview = [this](const std::wstring& path) {
                previewed_.push_back(path);
                return true;
            };
            o.osVersionName = [this] { return version_; };
            o.windows.chooseFolderToAdd = [this] { return folderChoice_; };
            o.windows.copyAllFiles = [this] {
                mainEnabledInCopyAll_ = ::IsWindowEnabled(f_->Window()) != FALSE;
                if (inCopyAll_) inCopyAll_();
            };
            o.shellProperties = [this](const std::wstring& path) { views_.push_back(L"shell:" + path); };
        };
        h_.Create();
        f_ = h_.frm.get();
    }

    std::wstring MakeFile(const std::wstring& name, size_t size = 100) {
        const std::wstring path = h_.dir / name;
        EXPECT_TRUE(WriteBytes(path, Pattern(size)));
        return path;
    }
    std::vector<std::wstring> Items() const {
        std::vector<std::wstring> items;
        for (int i = 0; i < f_->FileListCount(); ++i) items.push_back(f_->FileListItem(i));
        return items;
    }
    void SetItems(const std::vector<std::wstring>& items) {
        f_->RefreshWindow();
        for (const std::wstring& p : items) f_->AddFileListItem(p);
        if (!items.empty()) f_->SetFileListText(items[0]);
    }
    POINT CentreOf(int id) const {
        RECT rc{};
        ::GetWindowRect(f_->Control(id), &rc);
        return POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
    }
    // A drop as the system delivers it: enter, over, drop at the centre of control `id`.
    DWORD DropOn(int id, IDataObject* data) {
        const POINT p = CentreOf(id);
        const POINTL pt{p.x, p.y};
        IDropTarget* target = f_->DropTarget();
        DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
        target->DragEnter(data, 0, pt, &effect);
        effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
        target->DragOver(0, pt, &effect);
        const DWORD over = effect;
        effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
        target->Drop(data, 0, pt, &effect);
        data->Release();
        return over;
    }
    void Command(int id) { ::SendMessageW(f_->Window(), WM_COMMAND, MAKEWPARAM(id, 0), 0); }
    // Runs the delete command and answers its question with `answer`.
    std::wstring Delete(int answer) {
        std::wstring question;
        Watcher box(L"提醒！", [&](HWND b) {
            question = ChildTexts(b);
            ::PostMessageW(b, WM_COMMAND, static_cast<WPARAM>(answer), 0);
        });
        Command(FrmCopy::IDM_mnuDelSeletedItem);
        box.Join();
        return question;
    }

    Harness h_;
    FrmCopy* f_ = nullptr;
    std::vector<std::wstring> views_;
    std::vector<std::wstring> previewed_;
    std::wstring version_ = L"Microsoft Windows 2000";
    bool ownShows_ = true;
    FrmCopy::FolderSearch folderChoice_;
    bool mainEnabledInCopyAll_ = true;
    std::function<void()> inCopyAll_;  // what comes in the batch copy's pumps
};

std::vector<std::string> Narrowed(const std::vector<std::wstring>& v) {
    std::vector<std::string> n;
    for (const std::wstring& s : v) n.push_back(Narrow(s));
    return n;
}

}  // namespace

TEST_F(FileListTest, DropAddsOnlyFilesAndMovesAListedOneToTheEnd) {
    const std::wstring a = MakeFile(L"a.dat"), b = MakeFile(L"b.dat"), c = MakeFile(L"c.vob");
    const std::wstring folder = h_.dir / L"sub";
    ASSERT_TRUE(::CreateDirectoryW(folder.c_str(), nullptr));
    SetItems({a, b});
    const DWORD over = DropOn(FrmCopy::IDC_cmbFileCopy, NewFileListData({folder, h_.dir / L"gone.dat", a, c}));
    EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_COPY), over);
    EXPECT_EQ(Narrowed({b, a, c}), Narrowed(Items()));
    EXPECT_EQ(Narrow(b), Narrow(f_->FileListText())) << "the first item becomes current";
    EXPECT_EQ(Narrow(L"文件总数:3个  总计大小:0MB [300字节]"), Narrow(TextOf(f_->Control(FrmCopy::IDC_lblFilesInfo))));

    // A name the system would open as another file ("a.dat." opens "a.dat") is told, not listed.
    const std::wstring dotted = a + L".";
    ASSERT_TRUE(WriteBytes(L"\\\\?\\" + dotted, Pattern(50)));
    std::wstring told;
    Watcher box(L"提醒！", [&](HWND b) {
        told = ChildTexts(b);
        ::PostMessageW(b, WM_COMMAND, IDOK, 0);
    }, nullptr, 3000);
    DropOn(FrmCopy::IDC_cmbFileCopy, NewFileListData({dotted}));
    // The other program is not kept waiting on the box: it comes once the drop has returned.
    EXPECT_FALSE(box.found()) << "told inside the drop";
    Pump(10000, [&] { return box.found(); });
    box.Join();
    ASSERT_TRUE(box.found()) << "nothing told";
    EXPECT_EQ(Narrowed({b, a, c}), Narrowed(Items()));
    EXPECT_NE(std::wstring::npos, told.find(L"“" + dotted + L"”")) << Narrow(told);

    // A label and the settings slider take drops as the list does; the title bar takes none.
    SetItems({});
    DropOn(FrmCopy::IDC_lblYiFuZhi, NewFileListData({a}));
    EXPECT_EQ(Narrowed({a}), Narrowed(Items()));
    ::ShowWindow(f_->Control(FrmCopy::IDC_Picture2), SW_SHOW);
    DropOn(FrmCopy::IDC_sldReadBlocks, NewFileListData({b}));
    EXPECT_EQ(Narrowed({a, b}), Narrowed(Items()));
    EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_NONE), DropOn(FrmCopy::IDC_picHTitleBar, NewFileListData({c})));
    // Text is no file list.
    EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_NONE), DropOn(FrmCopy::IDC_cmbFileCopy, NewTextData(c)));
    EXPECT_EQ(Narrowed({a, b}), Narrowed(Items()));
    // Held disabled under a modal window, the window takes no drops.
    ::EnableWindow(f_->Window(), FALSE);
    EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_NONE), DropOn(FrmCopy::IDC_cmbFileCopy, NewFileListData({c})));
    ::EnableWindow(f_->Window(), TRUE);
    EXPECT_EQ(Narrowed({a, b}), Narrowed(Items()));
}

namespace {

// Runs the drag helper (drag_source.exe beside this test) releasing over `at`, handling this
// thread's messages meanwhile: the helper's drag reaches the window through them. Its exit code,
// or STILL_ACTIVE when its drag had not ended after a minute, scaled (it is then ended).
DWORD DragFromAnotherProgram(POINT at, const std::wstring& path) {
    wchar_t self[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring exe = self;
    exe = exe.substr(0, exe.rfind(L'\\') + 1) + L"drag_source.exe";
    std::wstring commandLine =
        L"\"" + exe + L"\" " + std::to_wstring(at.x) + L" " + std::to_wstring(at.y) + L" \"" + path + L"\"";
    STARTUPINFOW startup{sizeof(startup)};
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &process))
        return 4;
    salva::unique_handle helper(process.hProcess), thread(process.hThread);
    if (!testsupport::PumpUntil("the drag helper to end", 60000,
                                [&] { return ::WaitForSingleObject(helper.get(), 0) == WAIT_OBJECT_0; })) {
        ::TerminateProcess(helper.get(), STILL_ACTIVE);
        ::WaitForSingleObject(helper.get(), 10000);
        return STILL_ACTIVE;
    }
    DWORD code = 4;
    ::GetExitCodeProcess(helper.get(), &code);
    return code;
}

}  // namespace

TEST_F(FileListTest, ADragFromAnotherProgramReleasedOnTheTitleBarEnds) {
    const std::wstring a = MakeFile(L"a.dat");
    HWND main = f_->Window();
    // Clear of the helper's corner, in front.
    ::SetWindowPos(main, HWND_TOP, 160, 160, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    ::SetForegroundWindow(main);
    RECT bar{};
    ::GetWindowRect(f_->TitleBar().Window(), &bar);
    // Where a press on the bar would move the window.
    const POINT onBar{(bar.left + bar.right) / 2, (bar.top + bar.bottom) / 2};
    const DWORD onBarCode = DragFromAnotherProgram(onBar, a);
    ASSERT_NE(STILL_ACTIVE, onBarCode) << "the drag released on the title bar never ended";
    EXPECT_LE(onBarCode, 1u) << "the helper's drag did not run";
    EXPECT_EQ(0, f_->FileListCount()) << "the title bar takes no drops";
    RECT moved{};
    ::GetWindowRect(main, &moved);
    EXPECT_EQ(160, moved.left) << "the drag moved the window";

    // The same drag released on the list is taken: the helper's drags do reach the window.
    ::SetForegroundWindow(main);
    EXPECT_EQ(0u, DragFromAnotherProgram(CentreOf(FrmCopy::IDC_cmbFileCopy), a));
    EXPECT_EQ(Narrowed({a}), Narrowed(Items()));
}

TEST_F(FileListTest, DuplicatesNextToEachOtherAndInOneDropLeaveOneEntry) {
    const std::wstring a = MakeFile(L"a.dat"), b = MakeFile(L"b.dat"), c = MakeFile(L"c.dat");
    SetItems({a, a, b, a});
    DropOn(FrmCopy::IDC_cmbFileCopy, NewFileListData({a}));
    EXPECT_EQ(Narrowed({b, a}), Narrowed(Items()));
    DropOn(FrmCopy::IDC_cmbFileCopy, NewFileListData({c, c, b}));
    EXPECT_EQ(Narrowed({a, c, b}), Narrowed(Items()));
    // Names compare as the file system compares them: another case is the same file, listed
    // once more at the end in the spelling dropped.
    std::wstring upper = a;
    upper.back() = L'T';
    DropOn(FrmCopy::IDC_cmbFileCopy, NewFileListData({upper}));
    EXPECT_EQ(Narrowed({c, b, upper}), Narrowed(Items()));
}

TEST_F(FileListTest, DeleteKeepsALockedFileListedAndRemovesAGoneOne) {
    const std::wstring a = MakeFile(L"a.dat"), b = MakeFile(L"b.dat");
    SetItems({a, b});
    const std::wstring target = h_.dir / L"out\\copy.dat";
    f_->SetTargetText(target);
    {
        salva::unique_hfile lock(::CreateFileW(a.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(lock);
        const std::wstring question = Delete(IDYES);
        EXPECT_NE(std::wstring::npos, question.find(L"真的要删除：" + a + L" 吗？")) << Narrow(question);
        EXPECT_NE(std::wstring::npos, question.find(L"否[N]：删除到回收站")) << Narrow(question);
        EXPECT_NE(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesW(a.c_str()));
        EXPECT_EQ(Narrowed({a, b}), Narrowed(Items())) << "the locked file stays listed";
        EXPECT_EQ(Narrow(a), Narrow(f_->FileListText()));
    }
    h_.order.clear();
    Delete(IDCANCEL);
    EXPECT_EQ(2, f_->FileListCount());
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesW(a.c_str()));
    EXPECT_EQ(std::vector<std::string>{"stopPreview"}, h_.order) << "the preview stops before the question";

    Delete(IDYES);
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesW(a.c_str()));
    EXPECT_EQ(Narrowed({b}), Narrowed(Items()));
    EXPECT_EQ(Narrow(b), Narrow(f_->FileListText()));
    EXPECT_EQ(Narrow(h_.dir / L"out\\b.dat"), Narrow(TextOf(f_->Control(FrmCopy::IDC_txtFileCopy))))
        << "the target follows the new current file";

    // No: to the recycle bin; the last item gone resets the window.
    Delete(IDNO);
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesW(b.c_str()));
    EXPECT_EQ(0, f_->FileListCount());
    EXPECT_EQ("", Narrow(TextOf(f_->Control(FrmCopy::IDC_txtFileCopy))));
}

TEST_F(FileListTest, PropertiesByExtensionAndVersionFallingBackToTheShellSheet) {
    const std::wstring mp3 = MakeFile(L"song.mp3"), exe = MakeFile(L"tool.EXE"), zip = MakeFile(L"pack.Zip"),
                       swf = MakeFile(L"clip.swf"), dll = MakeFile(L"lib.dll"), txt = MakeFile(L"notes.txt");
    SetItems({mp3, exe, zip, swf, dll, txt});
    const auto viewOf = [&](const std::wstring& path) {
        views_.clear();
        f_->SetFileListText(path);
        Command(FrmCopy::IDM_mnuFileroperty);
        return views_.size() == 1 ? Narrow(views_[0]) : std::to_string(views_.size()) + " views";
    };
    for (const std::wstring& own : {exe, zip, swf, dll, mp3}) EXPECT_EQ(Narrow(L"own:" + own), viewOf(own));
    EXPECT_EQ(Narrow(L"shell:" + txt), viewOf(txt));
    version_ = L"Microsoft Windows XP";
    EXPECT_EQ(Narrow(L"shell:" + mp3), viewOf(mp3));
    EXPECT_EQ(Narrow(L"own:" + exe), viewOf(exe));
    // The own window cannot show the file: the shell's sheet comes instead.
    ownShows_ = false;
    views_.clear();
    f_->SetFileListText(zip);
    Command(FrmCopy::IDM_mnuFileroperty);
    EXPECT_EQ(Narrowed({L"own:" + zip, L"shell:" + zip}), Narrowed(views_));
    // A text that names no file, and an empty list: nothing.
    EXPECT_EQ("0 views", viewOf(h_.dir / L"gone.exe"));
    SetItems({});
    EXPECT_EQ("0 views", viewOf(exe));
}

TEST_F(FileListTest, ChoosingAnItemMakesItCurrentAndTheTargetFollows) {
    const std::wstring a = MakeFile(L"a.dat"), b = MakeFile(L"b.dat"), c = MakeFile(L"c.dat");
    SetItems({a, b, c});
    f_->SetTargetText(L"D:\\out\\a.dat");
    // The second item clicked in the opened drop-down list.
    HWND inner = reinterpret_cast<HWND>(
        ::SendMessageW(f_->Control(FrmCopy::IDC_cmbFileCopy), CBEM_GETCOMBOCONTROL, 0, 0));
    COMBOBOXINFO info{sizeof(info)};
    ASSERT_TRUE(::GetComboBoxInfo(inner, &info));
    ::SendMessageW(inner, CB_SHOWDROPDOWN, TRUE, 0);
    RECT item{};
    ::SendMessageW(info.hwndList, LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&item));
    const LPARAM at = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
    ::SendMessageW(info.hwndList, WM_MOUSEMOVE, 0, at);
    ::SendMessageW(info.hwndList, WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::SendMessageW(info.hwndList, WM_LBUTTONUP, 0, at);
    Pump(200);
    EXPECT_EQ(Narrow(b), Narrow(f_->FileListText()));
    EXPECT_EQ("D:\\out\\b.dat", Narrow(TextOf(f_->Control(FrmCopy::IDC_txtFileCopy))));
    EXPECT_EQ(Narrow(L"文件总数:2/3个  总计大小:0MB [300字节]"), Narrow(TextOf(f_->Control(FrmCopy::IDC_lblFilesInfo))));

    // Clearing it from the list: the first file becomes current, the target follows it.
    Command(FrmCopy::IDM_mnuClearSelectedItem);
    EXPECT_EQ(Narrowed({a, c}), Narrowed(Items()));
    EXPECT_EQ(Narrow(a), Narrow(f_->FileListText()));
    EXPECT_EQ("D:\\out\\a.dat", Narrow(TextOf(f_->Control(FrmCopy::IDC_txtFileCopy))));
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesW(b.c_str())) << "the file itself stays";
    Command(FrmCopy::IDM_mnuClearAllListItem);
    EXPECT_EQ(0, f_->FileListCount());
    EXPECT_EQ("", Narrow(TextOf(f_->Control(FrmCopy::IDC_txtFileCopy))));
}

TEST_F(FileListTest, DeleteKeyLeavesTheTextOfAnExistingFile) {
    const std::wstring a = MakeFile(L"a.dat");
    SetItems({a});
    HWND edit = reinterpret_cast<HWND>(::SendMessageW(f_->Control(FrmCopy::IDC_cmbFileCopy), CBEM_GETEDITCONTROL, 0, 0));
    ASSERT_NE(nullptr, edit);
    ::SendMessageW(edit, EM_SETSEL, 0, 0);
    ::SendMessageW(edit, WM_KEYDOWN, VK_DELETE, 0);
    EXPECT_EQ(Narrow(a), Narrow(f_->FileListText()));
    // A text that names no file is edited as usual.
    f_->SetFileListText(L"xgone.dat");
    ::SendMessageW(edit, EM_SETSEL, 0, 0);
    ::SendMessageW(edit, WM_KEYDOWN, VK_DELETE, 0);
    EXPECT_EQ("gone.dat", Narrow(f_->FileListText()));
}

TEST_F(FileListTest, PreviewToggleOpensAndStopsThePreviewOfTheCurrentFile) {
    const std::wstring a = MakeFile(L"a.dat");
    SetItems({a});
    HMENU menu = f_->FileMenu();
    h_.order.clear();
    Command(FrmCopy::IDM_mnuPreview);
    EXPECT_TRUE(::GetMenuState(menu, FrmCopy::IDM_mnuPreview, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_TRUE(f_->PreviewOn);
    EXPECT_TRUE(f_->PreviewLoaded);
    EXPECT_EQ(Narrowed({a}), Narrowed(previewed_));
    EXPECT_EQ(std::vector<std::string>{"stopPreview"}, h_.order) << "stopped before the new preview";
    Command(FrmCopy::IDM_mnuPreview);
    EXPECT_FALSE(::GetMenuState(menu, FrmCopy::IDM_mnuPreview, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_FALSE(f_->PreviewOn);
    EXPECT_FALSE(f_->PreviewLoaded);
    EXPECT_EQ(1u, previewed_.size());
    EXPECT_EQ(2u, h_.order.size());
}

// The text box inside the list, as it shows on the screen: how many of its pixels are dark.
int DarkPixels(HWND box) {
    RECT rc{};
    ::GetClientRect(box, &rc);
    HDC dc = ::GetDC(box);
    int dark = 0;
    for (int y = 0; y < rc.bottom; ++y)
        for (int x = 0; x < rc.right; ++x) {
            const COLORREF c = ::GetPixel(dc, x, y);
            if (c != CLR_INVALID && GetRValue(c) + GetGValue(c) + GetBValue(c) < 200) ++dark;
        }
    ::ReleaseDC(box, dc);
    return dark;
}

TEST_F(FileListTest, TheCurrentFileStaysReadableWhenThePreviewOptionIsToggled) {
    SetItems({MakeFile(L"a long name of a current file.dat")});
    HWND edit = reinterpret_cast<HWND>(
        ::SendMessageW(f_->Control(FrmCopy::IDC_cmbFileCopy), CBEM_GETEDITCONTROL, 0, 0));
    ASSERT_NE(nullptr, edit);
    Pump(300);
    const int shown = DarkPixels(edit);
    ASSERT_GT(shown, 20) << "the text is drawn to begin with";
    for (int i = 0; i < 2; ++i) {
        Command(FrmCopy::IDM_mnuPreview);
        Pump(300);
        EXPECT_EQ(shown, DarkPixels(edit)) << "toggle " << i;
    }
}

TEST_F(FileListTest, MoveToAPickedFolderTakesTheItemOffCopyLeavesIt) {
    const std::wstring a = MakeFile(L"a.dat", 5000), b = MakeFile(L"b.dat");
    std::wstring folder = h_.dir / L"picked";
    ASSERT_TRUE(::CreateDirectoryW(folder.c_str(), nullptr));
    SetItems({a, b});
    const auto pick = [&](int command) {
        bool selected = false;
        Watcher picker([&] { return WaitForOwnedWindow(f_->Window()); },
                       [&](HWND p) {
                           selected = SelectFolderInPicker(p, folder);
                           ::PostMessageW(p, WM_COMMAND, selected ? IDOK : IDCANCEL, 0);
                       });
        Command(command);
        picker.Join();
        return selected;
    };
    ASSERT_TRUE(pick(FrmCopy::IDM_mnuCopyTo));
    EXPECT_EQ(ReadBytes(a), ReadBytes(folder + L"\\a.dat"));
    EXPECT_EQ(Narrowed({a, b}), Narrowed(Items()));
    ::DeleteFileW((folder + L"\\a.dat").c_str());
    ASSERT_TRUE(pick(FrmCopy::IDM_mnuMoveTo));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesW(a.c_str()));
    EXPECT_EQ(5000, FileLength(folder + L"\\a.dat"));
    EXPECT_EQ(Narrowed({b}), Narrowed(Items()));
    // Into its own folder: the file stays where it is, and so does its item.
    folder = h_.dir.path();
    pick(FrmCopy::IDM_mnuMoveTo);
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesW(b.c_str()));
    EXPECT_EQ(Narrowed({b}), Narrowed(Items()));
}

TEST_F(FileListTest, AddAFoldersMatchingFilesCopyAllWithTheWindowDisabledAndExit) {
    const std::wstring sub = h_.dir / L"disc";
    ASSERT_TRUE(::CreateDirectoryW(sub.c_str(), nullptr));
    ASSERT_TRUE(::CreateDirectoryW((sub + L"\\inner").c_str(), nullptr));
    ASSERT_TRUE(WriteBytes(sub + L"\\a.vob", Pattern(10)));
    ASSERT_TRUE(WriteBytes(sub + L"\\b.txt", Pattern(10)));
    ASSERT_TRUE(WriteBytes(sub + L"\\inner\\c.VOB", Pattern(10)));
    // Cancelled in the picker: nothing.
    Command(FrmCopy::IDM_mnuAddFileToListItem);
    EXPECT_EQ(0, f_->FileListCount());
    folderChoice_ = {sub + L"\\", L"*.vob", true};
    Command(FrmCopy::IDM_mnuAddFileToListItem);
    EXPECT_EQ(Narrowed({sub + L"\\a.vob", sub + L"\\inner\\c.VOB"}), Narrowed(Items()));
    EXPECT_EQ(Narrow(sub + L"\\a.vob"), Narrow(f_->FileListText()));
    EXPECT_EQ(Narrow(L"文件总数:2个  总计大小:0MB [20字节]"), Narrow(TextOf(f_->Control(FrmCopy::IDC_lblFilesInfo))));

    Command(FrmCopy::IDM_mnuCopyAllFilesTo);
    EXPECT_FALSE(mainEnabledInCopyAll_) << "the main window is disabled while the batch copy runs";
    EXPECT_TRUE(::IsWindowEnabled(f_->Window()));

    // Exit asks the close question; No keeps the window.
    std::wstring question;
    Watcher no(L"提醒！", [&](HWND box) {
        question = ChildTexts(box);
        ::PostMessageW(box, WM_COMMAND, IDNO, 0);
    });
    Command(FrmCopy::IDM_mnuExit);
    Pump(10000, [&] { return no.found() && !question.empty() && f_->PromptResult() == IDNO; });
    no.Join();
    EXPECT_NE(std::wstring::npos, question.find(L"真的要退出Salvadisk吗？")) << Narrow(question);
    EXPECT_TRUE(::IsWindow(f_->Window()));
}

TEST_F(FileListTest, TypingTheNameOfAFileReopensThePreviewAndDropsAreRegistered) {
    const std::wstring a = MakeFile(L"a.dat");
    SetItems({a});
    Command(FrmCopy::IDM_mnuPreview);
    previewed_.clear();
    HWND edit = reinterpret_cast<HWND>(::SendMessageW(f_->Control(FrmCopy::IDC_cmbFileCopy), CBEM_GETEDITCONTROL, 0, 0));
    ::SetWindowTextW(edit, a.substr(0, a.size() - 1).c_str());
    ::SendMessageW(edit, EM_SETSEL, static_cast<WPARAM>(a.size()), static_cast<LPARAM>(a.size()));
    ::SendMessageW(edit, WM_CHAR, a.back(), 0);
    Pump(200);
    EXPECT_EQ(Narrow(a), Narrow(f_->FileListText()));
    EXPECT_EQ(Narrowed({a}), Narrowed(previewed_)) << "the typed name is previewed";

    // The window's drop target is the system's registered one for it.
    EXPECT_EQ(DRAGDROP_E_ALREADYREGISTERED, ::RegisterDragDrop(f_->Window(), f_->DropTarget()));
}

TEST_F(FileListTest, CloseDuringTheBatchCopyIsRefusedWithoutAQuestion) {
    SetItems({MakeFile(L"a.dat")});
    inCopyAll_ = [this] { ::SendMessageW(f_->Window(), WM_CLOSE, 0, 0); };
    std::atomic<bool> ended{false};
    Watcher yes(
        [&] {
            HWND box = nullptr;
            while (!ended && !(box = ::FindWindowW(L"#32770", L"提醒！"))) ::Sleep(20);
            return box;
        },
        [](HWND box) { ::PostMessageW(box, WM_COMMAND, IDYES, 0); });
    Command(FrmCopy::IDM_mnuCopyAllFilesTo);
    ended = true;
    yes.Join();
    EXPECT_FALSE(yes.found()) << "the close was asked about during the batch";
}
