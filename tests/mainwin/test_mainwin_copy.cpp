// Copies through the real main window with the registered libraries: Start pressed by message,
// Cancel with No leaving the record, the continue prompt answered, the report answered; closing
// refused while a copy runs; closing while paused leaves the record once the loop has unwound.
// A click meant for the running copy is posted before Start is pressed: the loop handles it in
// its first pump, after the first block, however fast or slow the machine is.
#include "MainWinTest.h"
#include "dorvex/PromptFrame.h"
#include "services/WindowSubclass.h"
#include <atomic>
#include <commctrl.h>
#include <cstring>
#include <thread>

using namespace mainwintest;
using namespace testsupport;
using salva::FrmCopy;

namespace {

class MainWindowCopy : public RegisteredWindowTest {
protected:
    void SetUp() override {
        CreateWindowWithLibraries();
        if (!f_) return;
        source_ = h_->dir / L"source.dat";
        target_ = h_->dir / L"target.dat";
        bytes_ = Pattern(12 * 1024 * 1024, 5);
        ASSERT_TRUE(WriteBytes(source_, bytes_));
        f_->AddFileListItem(source_);
        f_->SetFileListText(source_);
        ::SetWindowTextW(f_->Control(FrmCopy::IDC_txtFileCopy), target_.c_str());
        // One block at a time, so the copy runs long enough to be paused or cancelled.
        HWND read = f_->Control(FrmCopy::IDC_sldReadBlocks);
        ::SendMessageW(read, TBM_SETPOS, TRUE, 1);
        ::SendMessageW(f_->Control(FrmCopy::IDC_Picture2), WM_HSCROLL, MAKEWPARAM(TB_ENDTRACK, 0),
                       reinterpret_cast<LPARAM>(read));
    }
    HWND Button(int id) const { return f_->Control(id); }
    // Posts `during` (the clicks and messages the running copy is to meet), then presses Start;
    // returns when the click has been handled (the copy finished, stopped or paused).
    void StartWith(const std::function<void()>& during) {
        during();
        ::SendMessageW(Button(FrmCopy::IDC_cmdStartCopy), BM_CLICK, 0, 0);
    }
    void PostClick(int id) const { ::PostMessageW(Button(id), BM_CLICK, 0, 0); }
    // Presses Start with Pause waiting behind it: the copy pauses after its first block.
    void RunStartAndPause() { StartWith([&] { PostClick(FrmCopy::IDC_cmdPauseCopy); }); }
    bool HasRecordAt(const std::vector<uint8_t>& t) const {
        return t.size() > 17 && std::memcmp(t.data() + t.size() - 17, "PDV", 3) == 0;
    }

    HWND main_ = nullptr;
    std::wstring source_, target_;
    std::vector<uint8_t> bytes_;
};

// Boxes that come at the end of a whole copy wait as long as a copy may take on a loaded
// machine.
constexpr int kCopyWaitMs = 120000;

}  // namespace

TEST_F(MainWindowCopy, PopupMenuObjectIsTheRegisteredLibrarysAndHooksTheWindow) {
    _cVelmora* menus = f_->PopupMenus();
    ASSERT_NE(nullptr, menus) << "no cVelmora object";
    BSTR title = nullptr;
    ASSERT_EQ(S_OK, menus->get_VerticalTitleBarTitle(&title));
    salva::unique_bstr t(title);
    EXPECT_EQ("Salvadisk", Narrow(title ? title : L""));
    BSTR face = nullptr;
    ASSERT_EQ(S_OK, menus->get_GetVerticalTitleBarFontName(&face));
    salva::unique_bstr fc(face);
    EXPECT_EQ("Arial", Narrow(face ? face : L""));
    LONG owner = 0;
    ASSERT_EQ(S_OK, menus->get_OwnerhWnd(&owner));
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(f_->Window()), owner);
    short iconWidth = 0;
    ASSERT_EQ(S_OK, menus->get_MenuItemIconWidth(&iconWidth));
    EXPECT_EQ(16, iconWidth);
}

TEST_F(MainWindowCopy, CancelKeepsRecordThenContinueRunsToTheReport) {
    main_ = f_->Window();
    std::wstring deleteQuestion;
    {
        Watcher no(L"提醒！", [&](HWND box) {
            deleteQuestion = ChildTexts(box);
            ::PostMessageW(box, WM_COMMAND, IDNO, 0);
        });
        StartWith([&] { PostClick(FrmCopy::IDC_cmdCancelCopy); });
        no.Join();
        ASSERT_TRUE(no.found()) << "the keep-or-delete question never came";
    }
    EXPECT_NE(std::wstring::npos, deleteQuestion.find(L"是否删除")) << Narrow(deleteQuestion);
    EXPECT_FALSE(::IsWindowEnabled(Button(FrmCopy::IDC_cmdCancelCopy)));
    EXPECT_TRUE(::IsWindowEnabled(Button(FrmCopy::IDC_cmdStartCopy)));
    auto partial = ReadBytes(target_);
    ASSERT_TRUE(HasRecordAt(partial)) << "no resume record, target " << partial.size() << " bytes";
    // Cancel answered within one block: one block of 6,144 bytes plus the overlap byte, then
    // the record over the last byte.
    EXPECT_EQ(6145u + 16u, partial.size());

    // Start again: the prompt for a record; 否 continues the rest, the report is answered.
    const std::wstring report = StartAndContinueToTheReport();
    ASSERT_FALSE(HasFailure());
    EXPECT_NE(std::wstring::npos, report.find(target_)) << Narrow(report);
    const auto full = ReadBytes(target_);
    EXPECT_EQ(bytes_.size(), full.size());
    EXPECT_TRUE(bytes_ == full) << "target differs from the source";
    EXPECT_EQ(Narrow(std::wstring(L"12,582,912字节")), Narrow(TextOf(f_->Control(FrmCopy::IDC_lblYiFuZhi))));
    EXPECT_FALSE(f_->Engine().Running());
    EXPECT_FALSE(::IsWindowEnabled(Button(FrmCopy::IDC_cmdPauseCopy)));
    // The engine's entries reach the log window.
    const std::wstring log = h_->log.CurrentLog();
    EXPECT_NE(std::wstring::npos, log.find(L"取消复制：" + source_)) << Narrow(log);
    EXPECT_NE(std::wstring::npos, log.find(L"续拷文件：" + source_)) << Narrow(log);
    EXPECT_NE(std::wstring::npos, log.find(L"被成功地复制到：")) << Narrow(log);
}

TEST_F(MainWindowCopy, CloseIsRefusedSilentlyWhileACopyRuns) {
    main_ = f_->Window();
    std::wstring question;
    Watcher yes(L"提醒！", [&](HWND box) {
        question = ChildTexts(box);
        ::PostMessageW(box, WM_COMMAND, IDYES, 0);
    });
    // The close request reaches the running loop first, then Cancel.
    StartWith([&] {
        ::PostMessageW(main_, WM_CLOSE, 0, 0);
        PostClick(FrmCopy::IDC_cmdCancelCopy);
    });
    yes.Join();
    EXPECT_TRUE(::IsWindow(main_)) << "the window closed under the copy";
    // The first question was the cancel's, not the exit question.
    EXPECT_NE(std::wstring::npos, question.find(L"是否删除")) << Narrow(question);
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesW(target_.c_str())) << "Yes deletes the partial target";
}

TEST_F(MainWindowCopy, CloseWhilePausedUnwindsTheLoopAndLeavesTheRecord) {
    main_ = f_->Window();
    std::wstring question;
    Watcher yes(L"提醒！", [&](HWND box) {
        question = ChildTexts(box);
        ::PostMessageW(box, WM_COMMAND, IDYES, 0);
    });
    // Pause and close land in one pass of the loop's message pump.
    StartWith([&] {
        PostClick(FrmCopy::IDC_cmdPauseCopy);
        ::PostMessageW(main_, WM_CLOSE, 0, 0);
    });
    Pump(10000, [&] { return !::IsWindow(main_); });
    yes.Join();
    EXPECT_NE(std::wstring::npos, question.find(L"真的要退出Salvadisk吗？")) << Narrow(question);
    EXPECT_FALSE(::IsWindow(main_)) << "the window did not close";
    const auto partial = ReadBytes(target_);
    ASSERT_TRUE(HasRecordAt(partial)) << "no resume record, target " << partial.size() << " bytes";
    ASSERT_EQ(6145u + 16u, partial.size()) << "the pause did not come after the first block";
    const size_t data = partial.size() - 16;
    int32_t haveCopied = 0;
    std::memcpy(&haveCopied, partial.data() + partial.size() - 17 + 7, 4);
    EXPECT_EQ(6145, haveCopied);
    EXPECT_TRUE(std::equal(partial.begin(), partial.begin() + static_cast<ptrdiff_t>(data - 1), bytes_.begin()))
        << "data before the record differs from the source";
    EXPECT_FALSE(h_->log.IsLoaded()) << "the log window closes last";
}

TEST_F(MainWindowCopy, CloseAfterThePauseLeavesTheRecord) {
    main_ = f_->Window();
    HWND pause = Button(FrmCopy::IDC_cmdPauseCopy);
    RunStartAndPause();
    EXPECT_EQ(Narrow(L"继续复制[&P]"), Narrow(TextOf(pause)));
    EXPECT_TRUE(f_->Engine().State().Paused);
    // Paused after the first block, with the display showing it.
    EXPECT_EQ(6145, FileLength(target_));
    EXPECT_EQ(Narrow(L"1字节"), Narrow(TextOf(f_->Control(FrmCopy::IDC_lblYiFuZhi))));

    std::wstring question;
    Watcher yes(L"提醒！", [&](HWND box) {
        question = ChildTexts(box);
        ::PostMessageW(box, WM_COMMAND, IDYES, 0);
    });
    ::SendMessageW(main_, WM_CLOSE, 0, 0);
    yes.Join();
    EXPECT_NE(std::wstring::npos, question.find(L"真的要退出Salvadisk吗？")) << Narrow(question);
    EXPECT_FALSE(::IsWindow(main_));
    const auto partial = ReadBytes(target_);
    ASSERT_TRUE(HasRecordAt(partial)) << "no resume record, target " << partial.size() << " bytes";
    EXPECT_EQ(6145u + 16u, partial.size());
}

TEST_F(MainWindowCopy, SessionEndingWhilePausedInTheLoopsPumpRunsTheShutdownSteps) {
    main_ = f_->Window();
    Watcher yes(L"提醒！", [&](HWND box) { ::PostMessageW(box, WM_COMMAND, IDYES, 0); });
    // Pause, the shutdown question and the end of the session all reach the loop's first pump.
    StartWith([&] {
        PostClick(FrmCopy::IDC_cmdPauseCopy);
        ::PostMessageW(main_, WM_QUERYENDSESSION, 0, 0);
        ::PostMessageW(main_, WM_ENDSESSION, TRUE, 0);
    });
    yes.Join();
    ASSERT_TRUE(yes.found()) << "no shutdown question";
    EXPECT_FALSE(::IsWindow(main_)) << "the window stays once the loop has unwound";
    EXPECT_FALSE(h_->log.IsLoaded()) << "the log window was not closed";
    const auto partial = ReadBytes(target_);
    ASSERT_TRUE(HasRecordAt(partial)) << "no resume record, target " << partial.size() << " bytes";
    EXPECT_EQ(6145u + 16u, partial.size()) << "one record, after the first block";
}

TEST_F(MainWindowCopy, SessionEndingDuringTheReportWritesTheLog) {
    main_ = f_->Window();
    Watcher yes(L"提醒！", [&](HWND box) { ::PostMessageW(box, WM_COMMAND, IDYES, 0); }, nullptr, kCopyWaitMs);
    Watcher report(L"文件复制完成！", [&](HWND box) {
        // The system shuts down while the report is up; the process may end right after.
        if (::SendMessageW(main_, WM_QUERYENDSESSION, 0, 0)) ::SendMessageW(main_, WM_ENDSESSION, TRUE, 0);
        ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    }, nullptr, kCopyWaitMs);
    StartWith([] {});
    report.Join();
    yes.Join();
    ASSERT_TRUE(report.found());
    EXPECT_FALSE(::IsWindow(main_));
    // The log file is UTF-8.
    const auto file = ReadBytes(h_->log.LogFilePath());
    std::wstring text(file.size(), L'\0');
    text.resize(static_cast<size_t>(::MultiByteToWideChar(CP_UTF8, 0, reinterpret_cast<const char*>(file.data()),
                                                          static_cast<int>(file.size()), &text[0],
                                                          static_cast<int>(text.size()))));
    EXPECT_NE(std::wstring::npos, text.find(L"被成功地复制到：")) << "log file: " << Narrow(text);
    EXPECT_TRUE(bytes_ == ReadBytes(target_));
}

TEST_F(MainWindowCopy, DeleteThatFailsShowsItsMessage) {
    main_ = f_->Window();
    ASSERT_TRUE(WriteBytes(target_, Pattern(100, 2)));
    // Another program holds the target: reading and writing allowed, deleting not.
    salva::unique_hfile held(::CreateFileW(target_.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                           OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(held);
    Watcher prompt(L"文件已经存在", [&](HWND box) {
        HWND kill = FindControl(box, dorvex::ids::optKillFile);
        HWND sure = FindControl(box, dorvex::ids::cmbSure);
        if (!kill || !sure) return;
        ::SendMessageW(kill, BM_CLICK, 0, 0);
        ::PostMessageW(sure, BM_CLICK, 0, 0);
    });
    std::wstring told;
    Watcher failed(L"提醒！", [&](HWND box) {
        told = ChildTexts(box);
        ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    });
    StartWith([] {});
    prompt.Join();
    failed.Join();
    ASSERT_TRUE(prompt.found());
    ASSERT_TRUE(failed.found()) << "the failed delete was not told";
    EXPECT_NE(std::wstring::npos, told.find(L"无法删除该文件")) << Narrow(told);
    EXPECT_EQ(100, FileLength(target_));
    EXPECT_TRUE(::IsWindowEnabled(Button(FrmCopy::IDC_cmdStartCopy)));
}

TEST_F(MainWindowCopy, ThePausedCopysFileIsLockedAgainstMenusAndDropsAndOneSliderClickMovesItOnce) {
    main_ = f_->Window();
    RunStartAndPause();
    ASSERT_TRUE(f_->Engine().State().Paused);
    const auto stateOf = [](const std::vector<MenuItem>& items, const wchar_t* caption) {
        for (const MenuItem& m : items)
            if (m.caption == caption) return m.enabled ? 1 : 0;
        return -1;
    };
    const auto open = [&] {
        MenuWatcher watcher;
        f_->ShowPopupMenu(0);
        watcher.Join();
        EXPECT_TRUE(watcher.found());
        return watcher.items;
    };
    const std::vector<MenuItem> paused = open();
    for (const wchar_t* c : {L"删除当前文件(&K)   ", L"移动该文件到(&M)...", L"重命名该文件(&R)", L"复制所有文件到(&A)..."})
        EXPECT_EQ(0, stateOf(paused, c)) << Narrow(c);
    for (const wchar_t* c : {L"打开当前文件(&O)", L"复制该文件到(&C)...", L"从列表中清除(&N)"})
        EXPECT_EQ(1, stateOf(paused, c)) << Narrow(c);
    // The delete command sent all the same leaves the file alone.
    ::SendMessageW(main_, WM_COMMAND, FrmCopy::IDM_mnuDelSeletedItem, 0);
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesW(source_.c_str()));
    // The locked list takes no drop.
    RECT rc{};
    ::GetWindowRect(Button(FrmCopy::IDC_cmbFileCopy), &rc);
    IDataObject* data = NewFileListData({target_});
    DWORD effect = DROPEFFECT_COPY;
    f_->DropTarget()->Drop(data, 0, POINTL{rc.left + 20, (rc.top + rc.bottom) / 2}, &effect);
    data->Release();
    EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_NONE), effect);
    EXPECT_EQ(1, f_->FileListCount());
    // One click in the skip slider's channel, whose track ends on the button's release and again
    // when the capture goes, moves the copy on once.
    const int64_t kept = f_->Engine().State().SourcePos;
    HWND skip = Button(FrmCopy::IDC_sldSkipBlocks);
    ::GetClientRect(skip, &rc);
    ::SendMessageW(skip, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(rc.right * 3 / 4, rc.bottom / 2));
    ::SendMessageW(skip, WM_LBUTTONUP, 0, MAKELPARAM(rc.right * 3 / 4, rc.bottom / 2));
    const int64_t value = ::SendMessageW(skip, TBM_GETPOS, 0, 0);
    EXPECT_EQ(kept + value * f_->Engine().State().BlockBytes, f_->Engine().State().SourcePos) << value;
}

TEST_F(MainWindowCopy, CloseAnsweredNoUnderThePromptLeavesTheWindowHeldByIt) {
    main_ = f_->Window();
    ASSERT_TRUE(WriteBytes(target_, Pattern(100, 2)));
    ::SetActiveWindow(main_);  // the prompt belongs to the active window
    bool heldAfterNo = false;
    Watcher prompt(L"文件已经存在", [&](HWND box) {
        ::PostMessageW(main_, WM_CLOSE, 0, 0);
        HWND question = WaitForWindow(L"提醒！");
        ::PostMessageW(question, WM_COMMAND, IDNO, 0);
        testsupport::WaitUntil("the question to close", 10000, [&] { return !::IsWindow(question); }, 10);
        ::SendMessageW(main_, WM_NULL, 0, 0);  // handled back in the prompt's loop
        heldAfterNo = question && !::IsWindowEnabled(main_);
        ::PostMessageW(FindControl(box, dorvex::ids::cmdCancel), BM_CLICK, 0, 0);
    });
    StartWith([] {});
    prompt.Join();
    EXPECT_TRUE(heldAfterNo) << "否 gave the main window its input back under the prompt";
    EXPECT_TRUE(::IsWindowEnabled(main_) && FileLength(target_) == 100);
}

namespace {

// Posted to the Pause button: a real click on the button in wParam.
constexpr UINT kClickFromTheLoop = WM_APP + 50;

// A click is sent to the window under the pointer when it is made: a box over the button would
// take it, and go.
void AwayFromTheWindow(HWND box) {
    ::SetWindowPos(box, nullptr, 900, 700, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

TEST_F(MainWindowCopy, PromptAnsweredUnderTheCloseQuestionLeavesPauseAndCancelClickable) {
    main_ = f_->Window();
    ASSERT_TRUE(WriteBytes(target_, Pattern(100, 2)));
    ::SetForegroundWindow(main_);
    ::SetActiveWindow(main_);
    HWND pause = Button(FrmCopy::IDC_cmdPauseCopy), cancel = Button(FrmCopy::IDC_cmdCancelCopy);
    std::atomic<bool> heldUnderQuestion{false}, asked{false}, cancelAsked{false};
    // Each real click is made from the copy's own first pump, after the answer that ends a box
    // (posted ahead of it), the box moved off the button first.
    salva::WindowSubclass clicker;
    clicker.Install(pause, [&](HWND w, UINT msg, WPARAM wp, LPARAM lp) -> LRESULT {
        if (msg != kClickFromTheLoop) return clicker.CallPrevious(w, msg, wp, lp);
        MouseClick(reinterpret_cast<HWND>(wp));
        return 0;
    });
    Watcher prompt(L"文件已经存在", [&](HWND box) {
        ::PostMessageW(main_, WM_CLOSE, 0, 0);
        HWND question = WaitForWindow(L"提醒！");
        if (!question) return;
        asked = true;
        ::PostMessageW(FindControl(box, dorvex::ids::cmbSure), BM_CLICK, 0, 0);
        WaitUntil("the prompt to close", 30000, [&] { return !::IsWindow(box); });
        heldUnderQuestion = !::IsWindowEnabled(main_);
        AwayFromTheWindow(question);
        ::PostMessageW(question, WM_COMMAND, IDNO, 0);
        ::PostMessageW(pause, kClickFromTheLoop, reinterpret_cast<WPARAM>(pause), 0);
    });
    // A click that was not taken leaves the copy to run to its report: answered, so the test ends.
    std::atomic<bool> ended{false};
    Watcher report(
        [&] {
            for (HWND box = nullptr; !ended; ::Sleep(20))
                if ((box = ::FindWindowW(L"#32770", L"文件复制完成！"))) return box;
            return HWND{};
        },
        [](HWND box) { ::PostMessageW(box, WM_COMMAND, IDOK, 0); });
    struct EndReport {
        std::atomic<bool>& ended;
        Watcher& report;
        ~EndReport() {
            ended = true;
            report.Join();
        }
    } endReport{ended, report};
    StartWith([] {});
    prompt.Join();
    ASSERT_TRUE(asked) << "no close question under the prompt";
    EXPECT_TRUE(heldUnderQuestion) << "the prompt's end gave the window back under the question";
    ASSERT_TRUE(f_->Engine().State().Paused) << "Pause took no click; caption " << Narrow(TextOf(pause));
    EXPECT_TRUE(::IsWindowEnabled(main_));

    // Continue (append at the kept place), then Cancel, keeping the target with its record.
    Watcher again(L"提醒！", [&](HWND box) {
        AwayFromTheWindow(box);
        ::PostMessageW(box, WM_COMMAND, IDNO, 0);
        ::PostMessageW(pause, kClickFromTheLoop, reinterpret_cast<WPARAM>(cancel), 0);
        if (HWND keep = WaitForBoxSaying(L"提醒！", L"是否删除", 30000)) {
            cancelAsked = true;
            ::PostMessageW(keep, WM_COMMAND, IDNO, 0);
        }
    });
    MouseClick(pause);
    Pump(kCopyWaitMs, [&] { return cancelAsked && !f_->Engine().Running(); });
    again.Join();
    EXPECT_TRUE(cancelAsked) << "Cancel took no click";
    EXPECT_TRUE(HasRecordAt(ReadBytes(target_)));
    EXPECT_TRUE(::IsWindowEnabled(main_));
}
